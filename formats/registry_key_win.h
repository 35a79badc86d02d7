// An open registry key, closed when it goes. Header-only, so that lockgina.dll, which links none of
// our libraries, uses the same wrapper as the programs.
#pragma once

#include <windows.h>

#include <utility>

namespace sentavo {

class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
  RegKey& operator=(RegKey&& other) noexcept {
    if (this != &other) {
      Close();
      h_ = std::exchange(other.h_, nullptr);
    }
    return *this;
  }
  ~RegKey() { Close(); }

  // Opens an existing key; the result of RegOpenKeyExW.
  LONG Open(HKEY root, const wchar_t* path, REGSAM access) {
    Close();
    return RegOpenKeyExW(root, path, 0, access, &h_);
  }
  // Opens a key, creating it when missing; the result of RegCreateKeyExW.
  LONG Create(HKEY root, const wchar_t* path, REGSAM access) {
    Close();
    return RegCreateKeyExW(root, path, 0, nullptr, 0, access, nullptr, &h_, nullptr);
  }

  HKEY get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  void Close() {
    if (h_) RegCloseKey(std::exchange(h_, nullptr));
  }
  HKEY h_ = nullptr;
};

}  // namespace sentavo
