#include "client/services_win.h"

#include <windows.h>

#include <random>

#include "formats/wide_win.h"

namespace sentavo::client {

StationInfo ThisStation(bool guarded) {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &size)) size = 0;
  return StationInfo{Narrow(std::wstring(name, size)), guarded};
}

std::string Win32Environment::ExeDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  return Narrow(path.substr(0, path.find_last_of(L"\\/")));
}

bool Win32Environment::CreateFolder(const std::string& path) {
  return CreateDirectoryW(Widen(path).c_str(), nullptr) != 0;
}

std::optional<std::string> Win32MachineIdentity::MachineGuid() {
  // The 64-bit view: the value lives there whatever the program's own bitness.
  wchar_t buffer[128];
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", L"MachineGuid",
                   RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, buffer,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return Narrow(buffer);
}

std::uint32_t Win32MachineIdentity::DrawRandom() {
  return std::random_device{}();
}

}  // namespace sentavo::client
