// The directory and file choosers of the path boxes on Windows: our own classic directory
// dialog (drives, folders, a typed path; honours sdAllowCreate, sdPrompt and sdPerformCreate), the
// shell's folder browser rooted at the start folder, and the common open-file dialog.
#pragma once

#include <windows.h>

#include <functional>

#include "widgets/path_box.h"

namespace sentavo::widgets {

// The window class of the classic dialog and the IDs of its parts, for the programs that drive it.
inline constexpr wchar_t kDirectoryDialogClass[] = L"SentavoDirectoryDialog";
inline constexpr int kDirectoryEditId = 100;
inline constexpr int kDirectoryListId = 101;
inline constexpr int kDriveListId = 102;

// Modal to `owner`; empty when cancelled.
std::optional<std::string> RunClassicDirectoryDialog(HWND owner, const std::string& start,
                                                     const TSelectDirOpts& options,
                                                     int helpContext);

class WinDirectoryDialogs final : public DirectoryDialogs {
 public:
  // `owner` gives the window that owns the dialogs when they open.
  explicit WinDirectoryDialogs(std::function<HWND()> owner) : owner_(std::move(owner)) {}
  std::optional<std::string> Classic(const std::string& start, const TSelectDirOpts& options,
                                     int helpContext) override;
  std::optional<std::string> ShellBrowser(const std::string& title,
                                          const std::string& root) override;

 private:
  std::function<HWND()> owner_;
};

class WinFileDialogs final : public FileDialogs {
 public:
  explicit WinFileDialogs(std::function<HWND()> owner) : owner_(std::move(owner)) {}
  std::optional<OpenFileResult> Open(const OpenFileRequest& request) override;

 private:
  std::function<HWND()> owner_;
};

// The names of a multiple selection as the dialog returns them: the folder, then the names
// (Explorer style: separated by zeros; old style: by blanks). One entry alone is a full path.
std::vector<std::string> SplitSelection(const std::vector<std::string>& parts);

bool DirectoryExists(const std::string& path);

}  // namespace sentavo::widgets
