// The time budget of a code, as typed into its number box.
#pragma once

#include <optional>
#include <string_view>

namespace sentavo::admin {

// The budget that `text` names: a whole number of seconds from 60 to 32767, its digits optionally
// grouped by thousands separators (a space, a no-break space, a narrow no-break space or the
// user's own separator `localeSeparator`, UTF-8). Blanks around the number are ignored. Empty for
// anything else, which leaves the last valid budget in force.
std::optional<int> ParseBudgetText(std::string_view text, std::string_view localeSeparator);

}  // namespace sentavo::admin
