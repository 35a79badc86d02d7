// Trial mode of lockgina.dll: every call is journalled and nothing is blocked. It is switched on
// only by the machine, through a value that an administrator alone can write; a switch the guest
// can reach (an environment variable, a user's registry) would let a guest unlock every later
// start of the client. Header-only, so that the library and the client read it by the same rule.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "formats/registry_key_win.h"

namespace sentavo::gina {

inline constexpr wchar_t kTrialKey[] = L"Software\\Brenholt\\SystemLock\\Gina";
inline constexpr wchar_t kTrialValue[] = L"Journal";

// The journal file's full path from HKLM; empty when the library is not in trial mode.
inline std::wstring TrialJournalPath() {
  RegKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, kTrialKey, KEY_QUERY_VALUE | KEY_WOW64_64KEY) != ERROR_SUCCESS)
    return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.get(), kTrialValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size < sizeof(wchar_t) || size > 32768 * sizeof(wchar_t))
    return {};
  std::wstring path(size / sizeof(wchar_t), L'\0');
  if (RegQueryValueExW(key.get(), kTrialValue, nullptr, &type, reinterpret_cast<BYTE*>(path.data()),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return {};
  path.resize(std::min<std::size_t>(path.size(), size / sizeof(wchar_t)));
  path.resize(wcsnlen(path.c_str(), path.size()));
  return path;
}

}  // namespace sentavo::gina
