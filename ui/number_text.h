// Whole numbers as a number box shows them: digits grouped in threes with the system's thousands
// separator (for 3600 on a Czech system "3", a no-break space, "600").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sentavo::ui {

std::string FormatGrouped(std::int64_t value, std::string_view separator);
// Accepts an optional sign, digits and separators between groups of digits (also an ordinary
// blank where the separator is a no-break space, as people type it); nothing else. Empty for any
// other text and for values beyond 32 bits.
std::optional<std::int32_t> ParseGrouped(std::string_view text, std::string_view separator);

}  // namespace sentavo::ui
