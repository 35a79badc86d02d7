#include "administration/name_filter.h"

#include <algorithm>

namespace sentavo::admin {

std::string FoldCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c + 32);
    } else if ((c == 0xC3 || c == 0xC4 || c == 0xC5) && i + 1 < s.size()) {
      unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
      if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) {
        cp += 0x20;  // Latin-1: À..Þ, not ×
      } else if (cp >= 0x100 && cp <= 0x17F && cp != 0x130 && cp != 0x138 && cp != 0x149 &&
                 cp != 0x17F) {
        // Latin Extended-A pairs its capitals and small letters: even-odd, but odd-even in the
        // two runs Ĺ..Ň and Ź..Ž.
        const bool oddRun = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
        if (oddRun ? cp % 2 == 1 : cp % 2 == 0) ++cp;
      }
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

NameFilter::NameFilter(const CodeNames& names) {
  starts_.reserve(names.size());
  for (const std::string_view name : names) {
    starts_.push_back(folded_.size());
    folded_ += FoldCase(name);
    folded_ += '\n';  // no name holds one, so no match runs across two names
  }
}

std::vector<std::size_t> NameFilter::Matching(std::string_view query) const {
  std::vector<std::size_t> rows;
  if (query.empty()) {
    rows.resize(starts_.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = i;
    return rows;
  }
  const std::string needle = FoldCase(query);
  if (needle.find('\n') != std::string::npos) return rows;
  // One search over all the names; each hit names its row, and the search goes on after it.
  std::size_t at = folded_.find(needle);
  while (at != std::string::npos) {
    const auto row = static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), at) -
                                              starts_.begin() - 1);
    rows.push_back(row);
    const std::size_t next = row + 1 < starts_.size() ? starts_[row + 1] : folded_.size();
    at = folded_.find(needle, next);
  }
  return rows;
}

}  // namespace sentavo::admin
