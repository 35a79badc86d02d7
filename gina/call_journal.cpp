#include "gina/call_journal.h"

#include <cstdio>

namespace sentavo::gina {

std::string FormatCall(std::string_view name, std::initializer_list<CallArg> args) {
  std::string line(name);
  line += '(';
  bool first = true;
  for (const CallArg& a : args) {
    if (!first) line += ", ";
    first = false;
    if (a.isHandle) {
      char hex[24];
      std::snprintf(hex, sizeof hex, "0x%llx", static_cast<unsigned long long>(a.value));
      line += hex;
    } else {
      line += std::to_string(a.value);
    }
  }
  line += ')';
  return line;
}

}  // namespace sentavo::gina
