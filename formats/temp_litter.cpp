#include "formats/temp_litter.h"

#include <algorithm>

namespace sentavo {
namespace {

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

bool IsLowerHex(char c) {
  return (c >= '0' && c <= 'f' && (c <= '9' || c >= 'a'));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

}  // namespace

std::string_view ReplacedTarget(std::string_view name) {
  // The unique part is hexadecimal: the process, a counter and a few bits of a timer or random.
  constexpr std::size_t kMaxUnique = 48;
  if (!EndsWith(name, ".tmp")) return {};
  name.remove_suffix(4);
  const std::size_t mark = name.rfind(".~");
  if (mark == std::string_view::npos || mark == 0) return {};
  const std::string_view unique = name.substr(mark + 2);
  if (unique.empty() || unique.size() > kMaxUnique ||
      !std::all_of(unique.begin(), unique.end(), IsLowerHex))
    return {};
  return name.substr(0, mark);
}

bool IsCodeFileTarget(std::string_view target) {
  return target.size() > 4 && EqualsIgnoringCase(target.substr(target.size() - 4), ".dat");
}

bool IsClientFolderTarget(std::string_view target) {
  return EqualsIgnoringCase(target, "Sentavo.cfg") || EqualsIgnoringCase(target, "Sentavo.uid") ||
         EqualsIgnoringCase(target, "Sentavo.run");
}

int SweepReplacementLitter(FileAccess& files, const std::string& folder,
                           bool (*isTarget)(std::string_view)) {
  int removed = 0;
  for (const FolderFile& f : files.ListFiles(folder)) {
    const std::string_view target = ReplacedTarget(f.name);
    if (target.empty() || !isTarget(target) || f.ageSeconds <= kLitterAgeSeconds) continue;
    if (files.Remove(folder + f.name) == io::kOk) ++removed;
  }
  return removed;
}

}  // namespace sentavo
