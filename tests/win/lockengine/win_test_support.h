// Helpers for the Wine tests that start a program of their own and answer its dialogs.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "gina/trial_mode_win.h"
#include "tests/support/machine_policies_win.h"
#include "tests/support/pump_win.h"

namespace sentavo::test {

inline std::wstring ExeDirectory() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

// A fresh folder under the temporary folder (with its trailing backslash), removed afterwards.
class WinTempDir {
 public:
  WinTempDir() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"sentavo-" + std::to_wstring(std::random_device{}()) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~WinTempDir() {
    WIN32_FIND_DATAW fd;
    const HANDLE h = FindFirstFileW((path_ + L"*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..") DeleteFileW((path_ + name).c_str());
      } while (FindNextFileW(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryW(path_.c_str());
  }
  WinTempDir(const WinTempDir&) = delete;
  WinTempDir& operator=(const WinTempDir&) = delete;
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

inline std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

inline std::string ReadFileText(const std::wstring& path) {
  const HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buf[4096];
  DWORD got = 0;
  while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got) text.append(buf, got);
  CloseHandle(f);
  return text;
}

inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
    start = end + 1;
  }
  return out;
}

inline void Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

// lockgina.dll's trial mode is the machine's "Journal" value. A test that switches it on switches
// it off again; a test that expects the real library clears whatever an earlier program left there.
inline void SetTrialJournal(const std::wstring& path) {
  RegSetKeyValueW(HKEY_LOCAL_MACHINE, gina::kTrialKey, gina::kTrialValue, REG_SZ, path.c_str(),
                  static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}
inline void ClearTrialJournal() {
  RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, gina::kTrialKey, gina::kTrialValue);
}

// The machine's edge-swipe policy value; empty when it is not set.
inline std::optional<DWORD> EdgeSwipe() {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Microsoft\\Windows\\EdgeUI",
                   L"AllowEdgeSwipe", RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

}  // namespace sentavo::test
