// Sentavo.run as the guest may have written it: the folder is the first line, the named path the
// rest. Whatever the bytes, a path accepted as a code file must lie directly in the folder, so the
// start-up's release can never reach a file anywhere else.
#include <cstdlib>
#include <string_view>

#include "formats/code_name.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace sentavo;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  const std::string_view folder =
      newline == std::string_view::npos ? "\\\\server\\codes\\" : input.substr(0, newline);
  const std::string_view path =
      newline == std::string_view::npos ? input : input.substr(newline + 1);
  if (!NamesCodeFileIn(folder, path)) return 0;
  if (path.size() < folder.size() + 6 || path.substr(0, folder.size()) != folder ||
      path[folder.size()] != '\\' || !path.ends_with(".dat"))
    std::abort();
  const std::string_view name = path.substr(folder.size() + 1, path.size() - folder.size() - 5);
  if (name.find_first_of("\\/:") != std::string_view::npos || name == "." || name == ".." ||
      IsWindowsDeviceName(name))
    std::abort();
  return 0;
}
