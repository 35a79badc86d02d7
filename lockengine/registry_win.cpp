#include "lockengine/registry_win.h"

#include <windows.h>

#include "formats/wide_win.h"
#include "lockengine/handles_win.h"

namespace sentavo::lockengine {
namespace {

// Reading plus setting values, nothing more: what the run-once entry needs (0x2001B).
constexpr REGSAM kReadAndSet = KEY_READ | KEY_SET_VALUE;

class KeyHandle {
 public:
  KeyHandle() = default;
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() {
    if (h_) RegCloseKey(h_);
  }
  HKEY* out() { return &h_; }
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::wstring KeyPath(const std::string& key) {
  std::wstring path = Widen(key);
  while (!path.empty() && path.front() == L'\\') path.erase(path.begin());
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

}  // namespace

std::wstring ApplicationTitle() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n = 0;
  while ((n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size())
    path.resize(path.size() * 2);
  path.resize(n);
  std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
  const std::size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

RegistryString Win32Registry::ReadString(RegistryRoot root, const std::string& key,
                                         const std::string& name) {
  KeyHandle k;
  if (RegOpenKeyExW(RootKey(root), KeyPath(key).c_str(), 0, KEY_READ, k.out()) != ERROR_SUCCESS)
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
  KeyHandle k;
  const std::wstring path = KeyPath(key);
  const LONG opened = createKey
                          ? RegCreateKeyExW(RootKey(root), path.c_str(), 0, nullptr, 0, kReadAndSet,
                                            nullptr, k.out(), nullptr)
                          : RegOpenKeyExW(RootKey(root), path.c_str(), 0, kReadAndSet, k.out());
  if (opened != ERROR_SUCCESS) return false;
  const std::wstring text = Widen(value);
  return RegSetValueExW(k.get(), Widen(name).c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& key,
                                const std::string& name) {
  KeyHandle k;
  if (RegOpenKeyExW(RootKey(root), KeyPath(key).c_str(), 0, kReadAndSet, k.out()) != ERROR_SUCCESS)
    return false;
  return RegDeleteValueW(k.get(), Widen(name).c_str()) == ERROR_SUCCESS;
}

Registry& ProcessRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace sentavo::lockengine
