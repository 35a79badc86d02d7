// codes.dat, which an operator may have edited by hand: any bytes must parse, and the parsed list
// must save and read back as the same list.
#include <cstdlib>

#include "formats/codes_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sentavo;
  const auto names = ParseCodesList({reinterpret_cast<const char*>(data), size});
  if (ParseCodesList(SerializeCodesList(names)) != names) std::abort();
  return 0;
}
