#include "formats/codes_list.h"

#include <stdexcept>

#include "formats/cp1250.h"

namespace sentavo {

std::vector<std::string> ParseCodesList(std::string_view bytes) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      names.push_back(Cp1250ToUtf8(bytes.substr(start)));
      break;
    }
    names.push_back(Cp1250ToUtf8(bytes.substr(start, end - start)));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return names;
}

std::string SerializeCodesList(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) {
    if (name.find_first_of("\r\n") != std::string::npos) {
      throw std::invalid_argument("a code name cannot hold a line break");
    }
    out += Utf8ToCp1250(name);
    out += "\r\n";
  }
  return out;
}

}  // namespace sentavo
