// The rights set: fifteen blocking switches in a fixed order shared by the code record, the
// configuration record and the check boxes of both programs.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace sentavo {

inline constexpr std::size_t kRightsCount = 15;
using RightsSet = std::array<bool, kRightsCount>;

struct RightInfo {
  std::string_view checkBox;  // the control name in both programs, e.g. "ctrlaltdel"
  std::string_view property;  // the TSystemLock property it drives, e.g. "noCtrlAltDel"
  std::string_view caption;   // the check box's caption
};

inline constexpr std::array<RightInfo, kRightsCount> kRights = {{
    {"noAccShorts", "noAccessibilityShortcuts", "No accesibility shortcuts"},
    {"altEsc", "noAltEsc", "Zakázat klávesy ALT+ESC"},
    {"altf4", "noAltF4", "Zakázat klávesy ALT+F4"},
    {"altenter", "noAltReturn", "Zakázat klávesy ALT+ENTER"},
    {"alttab", "noAltTab", "Zakázat klávesy ALT+TAB"},
    {"appkeys", "noAppkey", "Zakázat klávesy aplikací"},
    {"ctrlaltdel", "noCtrlAltDel", "Zakázat klávesy CTRL+ALT+DEL"},
    {"ctrlesc", "noCtrlEsc", "Zakázat klávesy CTRL+ESC"},
    {"nodesktop", "noDesktop", "Zakázat plochu"},
    {"noRBut", "noRButton", "Zakázat pravé tlačítko myši"},
    {"nostart", "noStartbutton", "Zakázat tlačítko START"},
    {"notaskbar", "noTaskbar", "Zakázat lištu TRAY"},
    {"notasklinks", "noTaskLinks", "Zakázat zástupce rychlé volby"},
    {"notasktray", "noTaskTray", "Zakázat ikony systray (u hodin)"},
    {"nowinkeys", "noWinkeys", "Zakázat klávesy Windows"},
}};

inline constexpr std::size_t kCtrlAltDelRight = 6;

// The position of a check-box name in the rights set (exact, case-sensitive).
inline std::optional<std::size_t> RightIndex(std::string_view checkBox) {
  for (std::size_t i = 0; i < kRights.size(); ++i) {
    if (kRights[i].checkBox == checkBox) return i;
  }
  return std::nullopt;
}

}  // namespace sentavo
