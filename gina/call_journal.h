// The call journal of lockgina.dll's trial mode: one line per call, name and arguments, in the
// form the calls are written in code: "wlDisableKey(0, 27, 1, 1)". Window handles are written in
// hexadecimal ("wlSetKeyPostMessage(0x10a2c, 1468, 0)").
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace sentavo::gina {

struct CallArg {
  std::int64_t value = 0;
  bool isHandle = false;
};
inline CallArg Handle(std::uint64_t h) {
  return {static_cast<std::int64_t>(h), true};
}

std::string FormatCall(std::string_view name, std::initializer_list<CallArg> args);

}  // namespace sentavo::gina
