// SentavoClient: one full-screen lock window, owned by a hidden application window titled
// "Sentavo" that carries the taskbar button and the program's title.
#include <windows.h>

#include <string>

#include "client/lock_screen_texts.h"
#include "client/lock_window_win.h"
#include "ui/application_window_win.h"
#include "ui/binding_win.h"
#include "ui/form_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  namespace ui = sentavo::ui;
  // A window whose thread waits on a slow share must stay the lock window, not become a movable
  // "not responding" ghost.
  DisableProcessWindowsGhosting();
  ui::InitWindowLayer();
  ui::SetErrorPolicy({std::string(sentavo::client::texts::kApplicationTitle), {}, {}});
  ui::ApplicationWindow application;
  ui::ApplicationWindowOptions options;
  options.className = L"SentavoApplication";
  options.title = sentavo::client::texts::kApplicationTitle;
  options.icon = LoadIconW(instance, L"MAINICON");
  options.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!application.Create(options)) return 1;
  sentavo::client::LockWindow window(application.hwnd());
  if (!window.Create()) return 1;
  window.ShowLocked();
  int exitCode = ui::RunMessageLoop();
  if (window.ExitCode() != 0) exitCode = window.ExitCode();
  return exitCode;
}
