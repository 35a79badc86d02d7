// codes.dat, which an operator may have edited by hand: any bytes must parse, the parsed list
// must save and read back as the same list, and taking a name out must leave the others as they
// were.
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/codes_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sentavo;
  const CodeNames names = ParseCodeNames({reinterpret_cast<const char*>(data), size});
  if (ParseCodeNames(SerializeCodesList(names)) != names) std::abort();
  if (names.empty()) return 0;
  const std::size_t index = data[0] % names.size();
  CodeNames fewer = names;
  fewer.erase(index);
  std::vector<std::string> expected = names.ToStrings();
  expected.erase(expected.begin() + static_cast<std::ptrdiff_t>(index));
  if (!(fewer == expected)) std::abort();
  return 0;
}
