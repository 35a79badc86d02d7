// The lock screen's outside world, each part behind a small interface: the Win32 program plugs in
// the system-lock component, the mouse and the process; the tests plug in doubles. The registry is
// formats/registry.h's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sentavo::client {

// The sixteen blocking switches of the system-lock component by index: 0 is asFrontApp, 1 to 15
// the rights set in its fixed order. Every assignment acts, whether the value changed or not.
class SystemLockPort {
 public:
  virtual ~SystemLockPort() = default;
  virtual void SetSwitch(std::size_t index, bool value) = 0;
  virtual void RestoreAll() = 0;
  virtual bool IsGinaInstalled() = 0;
  virtual bool InstallGina() = 0;
  // Whether the library runs in trial mode and blocks nothing: the guest must be able to see it.
  virtual bool TrialMode() = 0;
};

struct ScreenPoint {
  int x = 0;
  int y = 0;
  bool operator==(const ScreenPoint&) const = default;
};

// Reading the mouse pointer and moving it, in screen pixels.
class PointerPort {
 public:
  virtual ~PointerPort() = default;
  virtual ScreenPoint CursorPos() = 0;
  // Moves the pointer to `target` in `steps` steps, pausing `delayMs` after each step.
  virtual void ExecuteEx(ScreenPoint target, int steps, int delayMs) = 0;
};

// What the start-up needs to know about the running program and the folders around it.
class ClientEnvironment {
 public:
  virtual ~ClientEnvironment() = default;
  // The executable's own folder, as the system names it (a trailing backslash is added later).
  virtual std::string ExeDirectory() = 0;
  // Creates one folder level; false when that fails.
  virtual bool CreateFolder(const std::string& path) = 0;
};

// The sources of the installation identifier.
class MachineIdentity {
 public:
  virtual ~MachineIdentity() = default;
  // HKLM "SOFTWARE\Microsoft\Cryptography", value "MachineGuid"; empty when it cannot be read.
  virtual std::optional<std::string> MachineGuid() = 0;
  // A fresh random number, used once when the machine has no GUID.
  virtual std::uint32_t DrawRandom() = 0;
};

// Who this station is in the shared folder's status and command files.
struct StationInfo {
  std::string computerName;  // COMPUTERNAME
  // The guard runs the model, out of the guest's reach: only then can a command that gives time
  // be trusted, since on a station without it the guest can write the shared folder.
  bool guarded = false;
};

}  // namespace sentavo::client
