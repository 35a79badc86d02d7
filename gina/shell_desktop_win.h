// The Windows side of lockgina.dll's state: the shell's windows, the accessibility settings, the
// machine policies, and the journal file under the user's local application data.
#pragma once

#include <windows.h>

#include <string>

#include "gina/lock_state.h"

namespace sentavo::gina {

class Win32Desktop final : public ShellDesktop {
 public:
  std::vector<Window> ItemWindows(int item) override;
  void Hide(std::uint64_t handle) override;
  void ShowIfStill(std::uint64_t handle, const std::string& className) override;
  std::optional<std::uint32_t> ReadAccess(Access kind) override;
  bool WriteAccess(Access kind, std::uint32_t flags) override;
  bool PoliciesInForce() override;
  bool InstallPolicies() override;
  bool RemovePolicies() override;
};

// %LOCALAPPDATA%\lockgina\restore.journal, replaced whole through a temporary file.
class FileJournalStore final : public JournalStore {
 public:
  std::string Read() const override;
  bool Write(const std::string& text) override;
  void Remove() override;
  static std::wstring Path();
};

// The desktop's list of icons (the list view of "SHELLDLL_DefView"); null when there is none.
HWND DesktopIconList();

}  // namespace sentavo::gina
