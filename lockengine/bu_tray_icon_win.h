// TBUTrayIcon on Windows: the tray window, Shell_NotifyIcon, the icon copy, the animation timer
// and the application window.
#pragma once

// clang-format off
#include <windows.h>  // before every other system header
#include <shellapi.h>
// clang-format on

#include <memory>

#include "lockengine/bu_tray_icon.h"

namespace sentavo::lockengine {

// The shell's notification record in its first form: NOTIFYICONDATAW_V1_SIZE bytes (168 on
// x86-64), the tip cut to 63 characters.
NOTIFYICONDATAW MakeNotifyIconData(const TrayRecord& record);

// The backend of a tray icon owned by `owner`.
std::unique_ptr<TrayBackend> MakeWin32TrayBackend(ui::Component* owner);

class Win32TrayBackend : public TrayBackend {
 public:
  // `owner` is the component's owner; when it is a form, its window's owner is taken for the
  // application window.
  explicit Win32TrayBackend(ui::Component* owner);
  ~Win32TrayBackend() override;

  void Attach(Handlers handlers) override;
  WindowHandle Window() const override;
  void Notify(TrayCommand command, const TrayRecord& record) override;
  IconHandle ApplicationIcon() override;
  IconHandle TakeIcon(IconHandle icon) override;
  void SetTimer(bool running, std::uint32_t interval) override;
  Point CursorPos() override;
  void ShowApplicationWindow(bool visible) override;
  bool CanRegisterServiceProcess() const override { return registerServiceProcess_ != nullptr; }
  void RegisterServiceProcess(bool hideFromTaskList) override;
  void ReportError(const std::string& text) override;

 private:
  class TrayWindow;
  ui::Component* owner_;
  std::unique_ptr<TrayWindow> window_;
  HICON icon_ = nullptr;
  HMODULE kernel32_ = nullptr;
  DWORD(WINAPI* registerServiceProcess_)(DWORD, DWORD) = nullptr;
};

}  // namespace sentavo::lockengine
