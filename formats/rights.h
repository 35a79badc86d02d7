// The rights set: fifteen blocking switches in a fixed order shared by the code record, the
// configuration record and the check boxes of both programs. `Right` names them; every index into
// a rights set, a switch set or a record goes through RightIndex or SwitchIndex below.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sentavo {

// In the order of the records' bytes; the names are the check boxes' names in both programs.
enum class Right : std::uint8_t {
  noAccShorts,
  altEsc,
  altf4,
  altenter,
  alttab,
  appkeys,
  ctrlaltdel,
  ctrlesc,
  nodesktop,
  noRBut,
  nostart,
  notaskbar,
  notasklinks,
  notasktray,
  nowinkeys,
};

inline constexpr std::size_t kRightsCount = 15;
using RightsSet = std::array<bool, kRightsCount>;

// The position of a right in a rights set and among the records' rights bytes.
constexpr std::size_t RightIndex(Right r) {
  return static_cast<std::size_t>(r);
}
constexpr Right RightAt(std::size_t index) {
  return static_cast<Right>(index);
}

inline constexpr std::array<Right, kRightsCount> kAllRights = [] {
  std::array<Right, kRightsCount> all{};
  for (std::size_t i = 0; i < kRightsCount; ++i) all[i] = RightAt(i);
  return all;
}();
static_assert(RightIndex(Right::nowinkeys) + 1 == kRightsCount);

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

constexpr const RightInfo& InfoOf(Right r) {
  return kRights[RightIndex(r)];
}
static_assert(InfoOf(Right::ctrlaltdel).checkBox == "ctrlaltdel");
static_assert(InfoOf(Right::noRBut).checkBox == "noRBut");

// The right a person named by its check box (exact, case-sensitive), for names read from input.
constexpr std::optional<Right> RightNamed(std::string_view checkBox) {
  for (const Right r : kAllRights) {
    if (InfoOf(r).checkBox == checkBox) return r;
  }
  return std::nullopt;
}

// The client's sixteen switches, as its check boxes and the configuration record's first sixteen
// bytes hold them: asFrontApp first, then the rights set in order.
inline constexpr std::size_t kSwitchCount = 1 + kRightsCount;
using SwitchSet = std::array<bool, kSwitchCount>;
inline constexpr std::size_t kAsFrontAppSwitch = 0;
constexpr std::size_t SwitchIndex(Right r) {
  return 1 + RightIndex(r);
}
// The right behind a switch; empty for asFrontApp.
constexpr std::optional<Right> RightOfSwitch(std::size_t switchIndex) {
  if (switchIndex == kAsFrontAppSwitch) return std::nullopt;
  return RightAt(switchIndex - 1);
}

inline constexpr std::string_view kAsFrontAppCaption = "Aplikace Sentavo na popředí";
// The caption of a switch's check box in both programs.
constexpr std::string_view SwitchCaption(std::size_t switchIndex) {
  const std::optional<Right> right = RightOfSwitch(switchIndex);
  return right ? InfoOf(*right).caption : kAsFrontAppCaption;
}

constexpr SwitchSet SwitchesOf(bool asFrontApp, const RightsSet& rights) {
  SwitchSet s{};
  s[kAsFrontAppSwitch] = asFrontApp;
  for (const Right r : kAllRights) s[SwitchIndex(r)] = rights[RightIndex(r)];
  return s;
}
constexpr RightsSet RightsOf(const SwitchSet& switches) {
  RightsSet rights{};
  for (const Right r : kAllRights) rights[RightIndex(r)] = switches[SwitchIndex(r)];
  return rights;
}

// What both programs start with: of the rights only ctrlaltdel; of the switches asFrontApp too.
inline constexpr RightsSet kDefaultRights = [] {
  RightsSet rights{};
  rights[RightIndex(Right::ctrlaltdel)] = true;
  return rights;
}();
inline constexpr SwitchSet kDefaultSwitches = SwitchesOf(/*asFrontApp=*/true, kDefaultRights);

}  // namespace sentavo
