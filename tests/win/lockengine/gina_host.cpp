// A small program around the lock engine for the tests that need a process of their own:
//   gina_host load        loads lockgina.dll as the client does, prints the directory it came
//                         from, exit code 0 (1 when no route finds the library)
//   gina_host systemlock  drives TSystemLock as the client does at start and end
//   gina_host crash       blocks the taskbar and the accessibility shortcuts, then dies without
//                         restoring anything
#include <windows.h>

#include <cstdio>
#include <string>

#include "lockengine/lock_core_win.h"
#include "lockengine/systemlock_win.h"

using namespace sentavo::lockengine;

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  if (mode == L"load") {
    LockCore& core = ProcessLockCore();
    core.wlIsGinaInstalled();
    std::printf("directory=%s\n", core.LibraryDirectory().c_str());
    return 0;
  }
  if (mode == L"systemlock") {
    TSystemLock lock(nullptr, "SysLock", DefaultSystemLockPlatform());
    if (!lock.IsGinaInstalled()) lock.InstallGina();
    lock.SetasFrontApp(false);
    lock.SetnoCtrlAltDel(true);
    lock.SetnoAltTab(true);
    lock.SetnoTaskbar(true);
    lock.SetOnKeyUp([](WindowHandle, std::uint16_t, TShiftState) {});
    lock.RestoreAll();
    return 0;
  }
  if (mode == L"crash") {
    TSystemLock lock(nullptr, "SysLock", DefaultSystemLockPlatform());
    lock.SetnoTaskbar(true);
    lock.SetnoAccessibilityShortcuts(true);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), 3);
  }
  return 2;
}
