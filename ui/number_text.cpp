#include "ui/number_text.h"

#include <cctype>

namespace sentavo::ui {

std::string FormatGrouped(std::int64_t value, std::string_view separator) {
  const bool negative = value < 0;
  std::uint64_t magnitude =
      negative ? static_cast<std::uint64_t>(-(value + 1)) + 1 : static_cast<std::uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return negative ? "-" + out : out;
}

std::optional<std::int32_t> ParseGrouped(std::string_view text, std::string_view separator) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  static constexpr std::string_view kNoBreakSpace = "\xC2\xA0";
  std::int64_t value = 0;
  bool digitSeen = false, lastWasDigit = false;
  while (!text.empty()) {
    const char c = text.front();
    if (std::isdigit(static_cast<unsigned char>(c))) {
      value = value * 10 + (c - '0');
      if (value > 2147483648LL) return std::nullopt;
      digitSeen = lastWasDigit = true;
      text.remove_prefix(1);
      continue;
    }
    std::size_t sep = 0;
    if (!separator.empty() && text.starts_with(separator)) {
      sep = separator.size();
    } else if (separator == kNoBreakSpace && c == ' ') {
      sep = 1;
    }
    if (sep == 0 || !lastWasDigit) return std::nullopt;  // a separator only between digits
    lastWasDigit = false;
    text.remove_prefix(sep);
  }
  if (!digitSeen || !lastWasDigit) return std::nullopt;
  if (negative) value = -value;
  if (value > 2147483647LL || value < -2147483648LL) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace sentavo::ui
