// The library's machine policies, lifted: tests that expect them not to be in force start from
// that state, whatever an earlier program (a real library run as an administrator, as everything
// runs under Wine) left in the shared Wine prefix.
#pragma once

#include <windows.h>

namespace sentavo::test {

inline void LiftMachinePolicies() {
  for (const wchar_t* name : {L"DisableTaskMgr", L"DisableLockWorkstation",
                              L"DisableChangePassword", L"HideFastUserSwitching"}) {
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE,
                       L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", name);
  }
  RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Microsoft\\Windows\\EdgeUI",
                     L"AllowEdgeSwipe");
}

}  // namespace sentavo::test
