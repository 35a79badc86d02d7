#include "formats/registry_win.h"

#include <windows.h>

#include "formats/registry_key_win.h"
#include "formats/wide_win.h"

namespace sentavo {
namespace {

// Reading plus setting values, nothing more: what the run-once entry needs (0x2001B).
constexpr REGSAM kReadAndSet = KEY_READ | KEY_SET_VALUE;

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(RegKey key) : key_(std::move(key)) {}
  bool SetDword(std::string_view name, std::uint32_t value) override {
    const DWORD data = value;
    return RegSetValueExW(key_.get(), Widen(name).c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
  }
  std::optional<std::uint32_t> ReadDword(std::string_view name) override {
    DWORD type = 0, data = 0, size = sizeof data;
    if (RegQueryValueExW(key_.get(), Widen(name).c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
      return std::nullopt;
    return data;
  }

 private:
  RegKey key_;
};

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::Users: return HKEY_USERS;
    case RegistryRoot::LocalMachine: break;
  }
  return HKEY_LOCAL_MACHINE;
}

std::wstring KeyPath(std::string_view key) {
  std::wstring path = Widen(key);
  while (!path.empty() && path.front() == L'\\') path.erase(path.begin());
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

}  // namespace

RegistryString Win32Registry::ReadString(RegistryRoot root, const std::string& key,
                                         const std::string& name) {
  RegKey k;
  if (k.Open(RootKey(root), KeyPath(key).c_str(), KEY_READ) != ERROR_SUCCESS)
    return {ReadStatus::NoKey, {}};
  const std::wstring valueName = Widen(name);
  DWORD type = 0, size = 0;
  const LONG r = RegQueryValueExW(k.get(), valueName.c_str(), nullptr, &type, nullptr, &size);
  if (r == ERROR_FILE_NOT_FOUND) return {ReadStatus::NoValue, {}};
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
    return {ReadStatus::NotString, {}};
  std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
  DWORD bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(k.get(), valueName.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(text.data()), &bytes) != ERROR_SUCCESS)
    return {ReadStatus::NotString, {}};
  text.resize(bytes / sizeof(wchar_t));
  text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
  return {ReadStatus::Ok, Narrow(text)};
}

bool Win32Registry::WriteString(RegistryRoot root, const std::string& key, const std::string& name,
                                const std::string& value, bool createKey) {
  RegKey k;
  const std::wstring path = KeyPath(key);
  const LONG opened = createKey ? k.Create(RootKey(root), path.c_str(), kReadAndSet)
                                : k.Open(RootKey(root), path.c_str(), kReadAndSet);
  if (opened != ERROR_SUCCESS) return false;
  const std::wstring text = Widen(value);
  return RegSetValueExW(k.get(), Widen(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& key,
                                const std::string& name) {
  RegKey k;
  if (k.Open(RootKey(root), KeyPath(key).c_str(), kReadAndSet) != ERROR_SUCCESS) return false;
  return RegDeleteValueW(k.get(), Widen(name).c_str()) == ERROR_SUCCESS;
}

std::unique_ptr<RegistryKey> Win32Registry::OpenOrCreateKey(RegistryRoot root,
                                                            std::string_view key) {
  RegKey k;
  if (k.Create(RootKey(root), KeyPath(key).c_str(), KEY_QUERY_VALUE | KEY_SET_VALUE) !=
      ERROR_SUCCESS)
    return nullptr;
  return std::make_unique<Win32RegistryKey>(std::move(k));
}

Registry& ProcessRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace sentavo
