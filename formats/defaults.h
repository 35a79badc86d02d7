// Values both programs and the command-line tool must agree on: a configuration written by one is
// read by the others, and the order page is the same wherever it is offered.
#pragma once

#include <string_view>

namespace sentavo {

// The administrator's password of a configuration that has none saved yet.
inline constexpr std::string_view kDefaultPassword = "vamor";
// Where an operator orders Sentavo.
inline constexpr std::string_view kOrderPage = "https://www.sentavo.example/objednat";

}  // namespace sentavo
