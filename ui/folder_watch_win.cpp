#include "ui/folder_watch_win.h"

#include "formats/wide_win.h"

namespace sentavo::ui {

bool FolderWatch::Watch(const std::string& folder) {
  Close();
  folder_ = folder;
  handle_ = FindFirstChangeNotificationW(
      Widen(folder).c_str(), FALSE,
      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
  return Active();
}

void FolderWatch::Close() {
  if (Active()) FindCloseChangeNotification(handle_);
  handle_ = INVALID_HANDLE_VALUE;
}

bool FolderWatch::Changed() {
  if (!Active() || WaitForSingleObject(handle_, 0) != WAIT_OBJECT_0) return false;
  // A folder that went away (the share dropped) cannot be re-armed: watched again later.
  if (!FindNextChangeNotification(handle_)) Close();
  return true;
}

}  // namespace sentavo::ui
