// A change notification of one folder (FindFirstChangeNotificationW), polled without waiting: the
// window's thread looks whether it fired and never blocks on it.
#pragma once

#include <windows.h>

#include <string>

namespace sentavo::ui {

class FolderWatch {
 public:
  FolderWatch() = default;
  ~FolderWatch() { Close(); }
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Watches `folder` (UTF-8) for files created, deleted, renamed or written; false when it cannot
  // be watched (missing, unreachable), and then nothing is watched.
  bool Watch(const std::string& folder);
  void Close();
  bool Active() const { return handle_ != INVALID_HANDLE_VALUE; }
  const std::string& Folder() const { return folder_; }
  // True once for each batch of changes since the last call; re-arms the notification.
  bool Changed();

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::string folder_;
};

}  // namespace sentavo::ui
