#include "formats/code_name.h"

#include <array>
#include <cctype>
#include <string>

namespace sentavo {

bool IsWindowsDeviceName(std::string_view name) {
  // Windows ignores what follows the first point and trailing spaces before it.
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static constexpr std::array<std::string_view, 6> kPlain = {"CON", "PRN",    "AUX",
                                                             "NUL", "CONIN$", "CONOUT$"};
  for (std::string_view device : kPlain) {
    if (base == device) return true;
  }
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
         base[3] >= '1' && base[3] <= '9';
}

bool IsIssuableCodeName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F ||
        std::string_view("\\/:*?\"<>|").find(ch) != std::string_view::npos) {
      return false;
    }
  }
  if (name.back() == ' ' || name.back() == '.') return false;
  return !IsWindowsDeviceName(name);
}

bool IsLookupCodeName(std::string_view name) {
  if (name == "." || name == "..") return false;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || ch == '\\' || ch == '/' || ch == ':') return false;
  }
  return !IsWindowsDeviceName(name);
}

std::string CodeFilePath(std::string_view folder, std::string_view name, FolderJoin join,
                         std::string_view separators) {
  const char separator = separators.empty() ? '\\' : separators.front();
  const bool ends = !folder.empty() && separators.find(folder.back()) != std::string_view::npos;
  std::string path(folder);
  if (join == FolderJoin::AlwaysSeparator || !ends) path += separator;
  path += name;
  path += ".dat";
  return path;
}

bool NamesCodeFileIn(std::string_view folder, std::string_view path) {
  constexpr std::string_view kExtension = ".dat";
  const std::size_t prefix = folder.size() + 1;
  if (path.size() <= prefix + kExtension.size() || !path.starts_with(folder) ||
      path[folder.size()] != '\\' || !path.ends_with(kExtension))
    return false;
  const std::string_view name = path.substr(prefix, path.size() - prefix - kExtension.size());
  return IsLookupCodeName(name) && CodeFilePath(folder, name, FolderJoin::AlwaysSeparator) == path;
}

}  // namespace sentavo
