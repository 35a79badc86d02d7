// "Hledat:" above the issued-codes list: the rows whose name holds the typed text, in any letter
// case (Czech letters included), kept in the list's order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/codes_list.h"

namespace sentavo::admin {

// UTF-8 in lower case for the letters of Windows-1250 (ASCII, Latin-1 and Latin Extended-A);
// every other character as it is.
std::string FoldCase(std::string_view utf8);

// The names folded once, so that each keystroke only searches.
class NameFilter {
 public:
  explicit NameFilter(const CodeNames& names);
  // The indexes of the names that hold `query`, ascending; every index for an empty query.
  std::vector<std::size_t> Matching(std::string_view query) const;

 private:
  std::string folded_;               // every name folded, each followed by a '\n'
  std::vector<std::size_t> starts_;  // where name i begins in folded_
};

}  // namespace sentavo::admin
