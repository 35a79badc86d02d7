// The exported functions of lockgina.dll. Each one either appends itself to the call journal
// (trial mode, switched on in HKLM only: nothing is blocked, nothing is changed, and a function
// that would change something reports 0) or works on the library's one state. No exception leaves
// the library.
#include <mutex>
#include <string>
#include <vector>

#include "gina/call_journal.h"
#include "gina/hooks_win.h"
#include "gina/library_core.h"
#include "gina/lockgina.h"
#include "gina/shell_desktop_win.h"
#include "gina/trial_mode_win.h"

namespace sentavo::gina {
namespace {

constexpr int kInterfaceVersion = (2 << 16) | 12;

// The library's one state per process. Never destroyed: the hook thread may still run while the
// process ends. The hook thread never waits for a caller (see LibraryCore); the hook thread itself
// is started and stopped without the core's mutex held.
class Library final : public HookClient {
 public:
  Library() : core_(desktop_, store_, ModifiersDown), hooks_(*this) {}

  int DisableItem(int item, bool disable) {
    const int result = core_.DisableItem(item, disable);
    UpdateHooks();
    return result;
  }

  int IsItemDisabled(int item) { return core_.IsItemDisabled(item) ? 1 : 0; }

  // Honest: a combination counts as blocked only while the hooks that block it are in place.
  int DisableKey(int key, int mask, bool block) {
    const KeyCombo combo{static_cast<std::uint32_t>(key), static_cast<std::uint32_t>(mask)};
    int result = core_.DisableKey(combo, block);
    const bool hooked = UpdateHooks();
    if (combo != kCtrlAltDel && !hooked) result = 0;
    return result;
  }

  int IsKeyDisabled(int key, int mask) {
    return core_.IsKeyDisabled({static_cast<std::uint32_t>(key), static_cast<std::uint32_t>(mask)})
               ? 1
               : 0;
  }

  int DisabledKey(int index) { return core_.DisabledKey(index); }

  int SetReports(HWND window, UINT press, UINT release, bool send) {
    core_.SetReports({reinterpret_cast<std::uint64_t>(window), press, release, send});
    return UpdateHooks() || !window ? 1 : 0;
  }

  int RestoreAll() {
    core_.RestoreAll();
    if (!core_.NeedsHooks()) hooks_.Stop();
    core_.SetWatched(hooks_.Watching());
    return 1;
  }

  int Exit() {
    core_.Exit();
    hooks_.Stop();
    core_.SetWatched(false);
    return 1;
  }

  void PoliciesChanged() { core_.PoliciesChanged(); }

  bool OnInput(std::uint32_t vk, bool up, bool mouse, POINT cursor) override {
    const InputDecision d = core_.OnInput(vk, up);
    const HWND window = reinterpret_cast<HWND>(d.reports.window);
    const UINT message = up ? d.reports.release : d.reports.press;
    if (window && message) {
      const HWND receiving = mouse ? WindowFromPoint(cursor) : GetForegroundWindow();
      const WPARAM wp = reinterpret_cast<WPARAM>(receiving);
      const LPARAM lp = static_cast<LPARAM>(MAKELONG(vk & 0xFFFF, d.mask));
      // A report must never make the hook wait for the window's thread.
      if (d.reports.send) {
        SendNotifyMessageW(window, message, wp, lp);
      } else {
        PostMessageW(window, message, wp, lp);
      }
    }
    return d.swallow;
  }

  void OnHooksStarted() override { core_.OnHooksStarted(ModifiersDown()); }

  void OnWatch() override { core_.OnWatch(); }

  void OnDesktopChange() override { core_.OnDesktopChange(); }

  Win32Desktop& desktop() { return desktop_; }

 private:
  // The modifiers down as the system has them. From another desktop than the input desktop the
  // answer is "none", which is right: no key reaches this desktop's windows from there.
  static std::vector<std::uint32_t> ModifiersDown() {
    std::vector<std::uint32_t> held;
    for (const std::uint32_t vk :
         {VK_LMENU, VK_RMENU, VK_LCONTROL, VK_RCONTROL, VK_LSHIFT, VK_RSHIFT, VK_LWIN, VK_RWIN})
      if (GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) held.push_back(vk);
    return held;
  }

  // Starts the hook thread when something needs it; true when the hooks are in place. The core
  // learns whether the watchdog keeps what it settles.
  bool UpdateHooks() {
    const bool hooked = core_.NeedsHooks() ? hooks_.Start() : hooks_.Running();
    core_.SetWatched(hooks_.Watching());
    return hooked;
  }

  Win32Desktop desktop_;
  FileJournalStore store_;
  LibraryCore core_;
  HookThread hooks_;
};

Library& Lib() {
  static Library* library = new Library;
  return *library;
}

// Trial mode is asked at every call, and the client asserts its switches every second: the value
// is read again only when the registry has signalled a change of its key since the last read. The
// registry signals a change before the call that makes it returns, so a value set or removed
// still takes effect at the very next call, as when it was read at each; asking costs one look at
// an event instead of opening the key and reading it.
class TrialSwitch {
 public:
  std::wstring JournalPath() {
    const std::lock_guard lock(mutex_);
    if (armed_ && WaitForSingleObject(changed_, 0) == WAIT_TIMEOUT) return path_;
    // Armed before the read: a change made in between is seen by the next call.
    armed_ = Arm();
    path_ = TrialJournalPath();
    return path_;
  }

 private:
  // Watches the machine's software key with everything below it: the trial key itself may be
  // deleted and made again, and a watch on a deleted key is not signalled everywhere (Wine) when
  // the key comes back. False when nothing can be watched: the value is then read at every call.
  bool Arm() {
    watched_ = RegKey();  // a key closed with a watch on it signals; done before the reset
    if (!changed_) changed_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!changed_) return false;
    ResetEvent(changed_);
    if (watched_.Open(HKEY_LOCAL_MACHINE, L"Software", KEY_NOTIFY | KEY_WOW64_64KEY) !=
        ERROR_SUCCESS)
      return false;
    constexpr DWORD kChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
    // Not tied to the calling thread where the system allows it (Windows 8 and later): a watch
    // ends with the thread that set it, and a caller's thread may end at any time.
    return RegNotifyChangeKeyValue(watched_.get(), TRUE, kChanges | REG_NOTIFY_THREAD_AGNOSTIC,
                                   changed_, TRUE) == ERROR_SUCCESS ||
           RegNotifyChangeKeyValue(watched_.get(), TRUE, kChanges, changed_, TRUE) == ERROR_SUCCESS;
  }

  std::mutex mutex_;
  HANDLE changed_ = nullptr;
  RegKey watched_;
  std::wstring path_;
  bool armed_ = false;
};

// Never destroyed, like the library's state.
TrialSwitch& Trial() {
  static TrialSwitch* trial = new TrialSwitch;
  return *trial;
}

// In trial mode appends the call to the journal and returns true.
bool Journaled(std::string_view name, std::initializer_list<CallArg> args) {
  const std::wstring path = Trial().JournalPath();
  if (path.empty()) return false;
  const std::string line = FormatCall(name, args) + "\r\n";
  const HANDLE f = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, 0, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(f);
  }
  return true;
}

template <class F>
int Safely(F&& f) {
  try {
    return f();
  } catch (...) {
    return 0;
  }
}

CallArg H(HWND h) {
  return Handle(reinterpret_cast<std::uint64_t>(h));
}

int WindowsVersionCode() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
  const auto fn = reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (!fn || fn(&v) != 0) return 5;
  if (v.dwPlatformId != VER_PLATFORM_WIN32_NT) return v.dwMinorVersion == 0 ? 1 : 2;
  if (v.dwMajorVersion < 5) return 3;
  if (v.dwMajorVersion == 5 && v.dwMinorVersion == 0) return 4;
  return 5;
}

bool IsAdministrator() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID admins = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0,
                                0, 0, 0, 0, &admins))
    return false;
  BOOL member = FALSE;
  CheckTokenMembership(nullptr, admins, &member);
  FreeSid(admins);
  return member != FALSE;
}

bool EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  const bool ok = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &tp.Privileges[0].Luid) &&
                  AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr) &&
                  GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  return ok;
}

int DesktopIconCount() {
  const HWND list = DesktopIconList();
  DWORD_PTR count = 0;
  if (!list || !SendMessageTimeoutW(list, 0x1004 /* LVM_GETITEMCOUNT */, 0, 0, SMTO_ABORTIFHUNG,
                                    1000, &count))
    return 0;
  return static_cast<int>(count);
}

}  // namespace
}  // namespace sentavo::gina

using namespace sentavo::gina;

extern "C" {

int WINAPI wlVersion(int callerVersion) {
  Journaled("wlVersion", {{callerVersion}});
  return kInterfaceVersion;
}

int WINAPI wlDisableItem(int item, int disable) {
  if (Journaled("wlDisableItem", {{item}, {disable}})) return 0;
  return Safely([&] { return Lib().DisableItem(item, disable != 0); });
}

int WINAPI wlIsItemDisabled(int item) {
  if (Journaled("wlIsItemDisabled", {{item}})) return 0;
  return Safely([&] { return Lib().IsItemDisabled(item); });
}

int WINAPI wlDisableKey(int reserved, int key, int mask, int block) {
  if (Journaled("wlDisableKey", {{reserved}, {key}, {mask}, {block}})) return 0;
  return Safely([&] { return Lib().DisableKey(key, mask, block != 0); });
}

int WINAPI wlIsKeyDisabled(int reserved, int key, int mask) {
  if (Journaled("wlIsKeyDisabled", {{reserved}, {key}, {mask}})) return 0;
  return Safely([&] { return Lib().IsKeyDisabled(key, mask); });
}

int WINAPI wlSetKeySendMessage(HWND window, UINT pressMessage, UINT releaseMessage) {
  if (Journaled("wlSetKeySendMessage", {H(window), {pressMessage}, {releaseMessage}})) return 0;
  return Safely([&] { return Lib().SetReports(window, pressMessage, releaseMessage, true); });
}

int WINAPI wlSetKeyPostMessage(HWND window, UINT pressMessage, UINT releaseMessage) {
  if (Journaled("wlSetKeyPostMessage", {H(window), {pressMessage}, {releaseMessage}})) return 0;
  return Safely([&] { return Lib().SetReports(window, pressMessage, releaseMessage, false); });
}

int WINAPI wlInstallGina(int flags) {
  if (Journaled("wlInstallGina", {{flags}})) return 0;
  return Safely([] {
    const bool installed = Win32Desktop().InstallPolicies();
    Lib().PoliciesChanged();
    return installed ? 1 : 0;
  });
}

int WINAPI wlUninstallGina() {
  if (Journaled("wlUninstallGina", {})) return 0;
  return Safely([] {
    const bool removed = Win32Desktop().RemovePolicies();
    Lib().PoliciesChanged();
    return removed ? 1 : 0;
  });
}

int WINAPI wlIsGinaInstalled() {
  Journaled("wlIsGinaInstalled", {});
  return Safely([] { return Win32Desktop().PoliciesInForce() ? 1 : 0; });
}

int WINAPI wlNeedGinaInstall() {
  Journaled("wlNeedGinaInstall", {});
  return Safely([] { return Win32Desktop().PoliciesInForce() ? 0 : 1; });
}

int WINAPI wlIsNTSystem() {
  Journaled("wlIsNTSystem", {});
  return 1;
}

int WINAPI wlExitWindows(int flags) {
  if (Journaled("wlExitWindows", {{flags}})) return 0;
  EnableShutdownPrivilege();
  return ExitWindowsEx(static_cast<UINT>(flags),
                       SHTDN_REASON_MAJOR_OTHER | SHTDN_REASON_FLAG_PLANNED)
             ? 1
             : 0;
}

int WINAPI wlWinVersion() {
  Journaled("wlWinVersion", {});
  return WindowsVersionCode();
}

int WINAPI wlGetKeyState(int key) {
  Journaled("wlGetKeyState", {{key}});
  return (GetAsyncKeyState(key) & 0x8000) ? 1 : 0;
}

int WINAPI wlSetKeyState(int key, int down) {
  if (Journaled("wlSetKeyState", {{key}, {down}})) return 0;
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = static_cast<WORD>(key);
  in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  return SendInput(1, &in, sizeof in) == 1 ? 1 : 0;
}

// Reports go to windows only; a callback into the program from the hook thread is not offered.
int WINAPI wlSetKeyCallback(void* callback) {
  Journaled("wlSetKeyCallback", {Handle(reinterpret_cast<std::uint64_t>(callback))});
  return 0;
}

int WINAPI wlRestoreAll() {
  if (Journaled("wlRestoreAll", {})) return 1;
  return Safely([] { return Lib().RestoreAll(); });
}

int WINAPI wlGetDisabledKey(int index) {
  if (Journaled("wlGetDisabledKey", {{index}})) return -1;
  return Safely([&] { return Lib().DisabledKey(index); });
}

int WINAPI wlIsAdmin() {
  Journaled("wlIsAdmin", {});
  return IsAdministrator() ? 1 : 0;
}

// Storing a password for automatic logon is not something this library does.
int WINAPI wlEnableAutologin(int enable) {
  Journaled("wlEnableAutologin", {{enable}});
  return 0;
}

// A scan-code map takes a restart and outlives the library; not offered.
int WINAPI wlMapScancode(int fromScancode, int toScancode) {
  Journaled("wlMapScancode", {{fromScancode}, {toScancode}});
  return 0;
}

// Single desktop icons are not hidden; the whole desktop is item 2.
int WINAPI wlDisableDesktopIcon(int index, int disable) {
  Journaled("wlDisableDesktopIcon", {{index}, {disable}});
  return 0;
}

int WINAPI wlRestoreDesktopIcons() {
  Journaled("wlRestoreDesktopIcons", {});
  return 1;
}

int WINAPI wlDesktopIconCount() {
  Journaled("wlDesktopIconCount", {});
  return Safely([] { return DesktopIconCount(); });
}

int WINAPI wlExit() {
  if (Journaled("wlExit", {})) return 1;
  return Safely([] { return Lib().Exit(); });
}

}  // extern "C"
