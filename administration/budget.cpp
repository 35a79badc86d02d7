#include "administration/budget.h"

#include <array>

#include "formats/issuing.h"

namespace sentavo::admin {
namespace {

// Blanks that may surround the number; all but the tab also group its digits.
constexpr std::array<std::string_view, 4> kBlanks = {" ", "\u00A0", "\u202F", "\t"};

std::size_t BlankAtStart(std::string_view s) {
  for (std::string_view b : kBlanks) {
    if (s.starts_with(b)) return b.size();
  }
  return 0;
}

std::size_t BlankAtEnd(std::string_view s) {
  for (std::string_view b : kBlanks) {
    if (s.ends_with(b)) return b.size();
  }
  return 0;
}

std::size_t SeparatorAtStart(std::string_view s, std::string_view localeSeparator) {
  if (!localeSeparator.empty() && s.starts_with(localeSeparator)) return localeSeparator.size();
  return s.starts_with('\t') ? 0 : BlankAtStart(s);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<int> ParseBudgetText(std::string_view text, std::string_view localeSeparator) {
  while (const std::size_t n = BlankAtStart(text)) text.remove_prefix(n);
  while (const std::size_t n = BlankAtEnd(text)) text.remove_suffix(n);
  if (text.empty() || !IsDigit(text.front())) return std::nullopt;

  int value = 0;
  while (!text.empty()) {
    if (IsDigit(text.front())) {
      value = value * 10 + (text.front() - '0');
      if (value > kMaxBudgetSeconds) return std::nullopt;
      text.remove_prefix(1);
      continue;
    }
    // A separator stands between two digits, never twice in a row.
    const std::size_t sep = SeparatorAtStart(text, localeSeparator);
    if (sep == 0 || sep >= text.size() || !IsDigit(text[sep])) return std::nullopt;
    text.remove_prefix(sep);
  }
  if (value < kMinBudgetSeconds) return std::nullopt;
  return value;
}

}  // namespace sentavo::admin
