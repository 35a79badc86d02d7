#include "client/services_win.h"

#include <windows.h>

#include <random>

#include "formats/wide_win.h"

namespace sentavo::client {
namespace {

// Owns an open registry key.
class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}
  ~Win32RegistryKey() override { RegCloseKey(key_); }
  Win32RegistryKey(const Win32RegistryKey&) = delete;
  Win32RegistryKey& operator=(const Win32RegistryKey&) = delete;

  bool SetDword(std::string_view name, std::uint32_t value) override {
    const DWORD data = value;
    return RegSetValueExW(key_, Widen(name).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
  }

 private:
  HKEY key_;
};

// Registry paths are written with a leading backslash; the registry functions want none.
std::wstring SubKey(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  return Widen(path);
}

}  // namespace

std::unique_ptr<RegistryKey> Win32PolicyRegistry::OpenOrCreateCurrentUserKey(
    std::string_view path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, SubKey(path).c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(key);
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
