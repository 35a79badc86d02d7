// SentavoClient: one full-screen lock window, owned by a hidden application window titled
// "Sentavo" that carries the taskbar button and the program's title. Where the guard service runs
// (its pipe exists), the lock screen's model runs in the guard and this window only shows it;
// elsewhere the window runs the model itself.
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "client/lock_screen_texts.h"
#include "client/lock_window_win.h"
#include "guard/pipe_link_win.h"
#include "guard/remote_lock_screen.h"
#include "ui/application_window_win.h"
#include "ui/binding_win.h"
#include "ui/form_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
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
  namespace client = sentavo::client;
  namespace guard = sentavo::guard;
  // Started by the guard ("/guard"): its pipe may be a moment late, and this window is no lock of
  // its own without it.
  const bool startedByGuard =
      std::wstring_view(commandLine).find(L"/guard") != std::wstring_view::npos;
  const std::unique_ptr<guard::PipeLink> link =
      guard::PipeLink::Connect(startedByGuard ? 10000 : 0);
  if (startedByGuard && !link) return 0;
  client::ModelFactory factory;
  if (link) {
    factory = [&link](const client::LockScreenServices& s) {
      return std::make_unique<guard::RemoteLockScreen>(*link, s.sysLock, s.pointer);
    };
  }
  client::LockWindow window(application.hwnd(), std::move(factory));
  if (!window.Create()) return 1;
  if (link) link->Wake(window.hwnd(), client::LockWindow::kWakeMessage);
  window.ShowLocked();
  int exitCode = ui::RunMessageLoop();
  if (window.ExitCode() != 0) exitCode = window.ExitCode();
  return exitCode;
}
