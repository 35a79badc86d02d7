// TSystemLock's services on Windows: the process's lockgina.dll, the registry, a message-only
// window for the library's key reports, the cursor and the real taskbar.
#pragma once

#include <string>

#include "lockengine/start_button_win.h"
#include "lockengine/systemlock.h"

namespace sentavo::lockengine {

class Win32SystemLockPlatform final : public SystemLockPlatform {
 public:
  // `gina` is normally the process's loader; `taskbarClass` names the taskbar to lay the
  // replacement start button into.
  explicit Win32SystemLockPlatform(GinaLibrary& gina, std::wstring taskbarClass = L"Shell_TrayWnd");

  GinaLibrary& Gina() override { return gina_; }
  Registry& SystemRegistry() override;
  std::string ProgramPath() override;
  std::unique_ptr<KeyMessageWindow> CreateKeyMessageWindow(KeyMessageHandler handler) override;
  Point CursorPos() override;
  void BringToForeground(WindowHandle form) override;
  StartButtonHost& StartButtons() override { return startButtons_; }

 private:
  GinaLibrary& gina_;
  Win32StartButtonHost startButtons_;
};

// The platform of every TSystemLock made without one: the process's library and the real shell.
SystemLockPlatform& DefaultSystemLockPlatform();

}  // namespace sentavo::lockengine
