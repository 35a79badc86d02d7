// lockgina.dll as the system-lock component sees it: the 26 exported functions in the order they
// are resolved, and the calls the component makes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "lockengine/shell_types.h"

namespace sentavo::lockengine {

// The interface version "2.12": 2 in the high word, 12 in the low word.
inline constexpr std::int32_t kGinaInterfaceVersion = (2 << 16) | 12;  // 131084

// The reports the library posts to the key message window: a press and a release.
inline constexpr std::uint32_t kKeyPressMessage = 0x0400 + 444;    // 1468
inline constexpr std::uint32_t kKeyReleaseMessage = 0x0400 + 445;  // 1469

enum class GinaFunction : std::size_t {
  wlVersion,
  wlDisableItem,
  wlIsItemDisabled,
  wlDisableKey,
  wlIsKeyDisabled,
  wlSetKeySendMessage,
  wlSetKeyPostMessage,
  wlInstallGina,
  wlUninstallGina,
  wlIsGinaInstalled,
  wlNeedGinaInstall,
  wlIsNTSystem,
  wlExitWindows,
  wlWinVersion,
  wlGetKeyState,
  wlSetKeyState,
  wlSetKeyCallback,
  wlRestoreAll,
  wlGetDisabledKey,
  wlIsAdmin,
  wlEnableAutologin,
  wlMapScancode,
  wlDisableDesktopIcon,
  wlRestoreDesktopIcons,
  wlDesktopIconCount,
  wlExit,
};

inline constexpr std::size_t kGinaFunctionCount = 26;

// Exported names, in the order of resolution (the order of GinaFunction).
inline constexpr std::array<std::string_view, kGinaFunctionCount> kGinaFunctionNames = {
    "wlVersion",
    "wlDisableItem",
    "wlIsItemDisabled",
    "wlDisableKey",
    "wlIsKeyDisabled",
    "wlSetKeySendMessage",
    "wlSetKeyPostMessage",
    "wlInstallGina",
    "wlUninstallGina",
    "wlIsGinaInstalled",
    "wlNeedGinaInstall",
    "wlIsNTSystem",
    "wlExitWindows",
    "wlWinVersion",
    "wlGetKeyState",
    "wlSetKeyState",
    "wlSetKeyCallback",
    "wlRestoreAll",
    "wlGetDisabledKey",
    "wlIsAdmin",
    "wlEnableAutologin",
    "wlMapScancode",
    "wlDisableDesktopIcon",
    "wlRestoreDesktopIcons",
    "wlDesktopIconCount",
    "wlExit",
};

inline constexpr std::string_view GinaFunctionName(GinaFunction f) {
  return kGinaFunctionNames[static_cast<std::size_t>(f)];
}

// A library that was found but lacks a function ("error: method not found:wlExit").
class GinaError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The calls the component makes. Each loads the library first when that has not happened yet, and
// throws GinaError when the library lacks a function.
class GinaLibrary {
 public:
  virtual ~GinaLibrary() = default;
  virtual std::int32_t wlDisableItem(std::int32_t item, std::int32_t disable) = 0;
  virtual std::int32_t wlDisableKey(std::int32_t reserved, std::int32_t key, std::int32_t mask,
                                    std::int32_t block) = 0;
  virtual std::int32_t wlSetKeyPostMessage(WindowHandle window, std::uint32_t pressMessage,
                                           std::uint32_t releaseMessage) = 0;
  virtual std::int32_t wlInstallGina(std::int32_t flags) = 0;
  virtual std::int32_t wlIsGinaInstalled() = 0;
  virtual std::int32_t wlWinVersion() = 0;
  virtual std::int32_t wlRestoreAll() = 0;
};

}  // namespace sentavo::lockengine
