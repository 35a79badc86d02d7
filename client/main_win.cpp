// SentavoClient: one full-screen lock window, owned by a hidden application window titled
// "Sentavo" that carries the taskbar button and the program's title.
#include <windows.h>

#include "client/lock_screen_texts.h"
#include "client/lock_window_win.h"
#include "formats/wide_win.h"
#include "ui/form_win.h"

namespace {

HWND CreateApplicationWindow(HINSTANCE instance) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, L"MAINICON");
  wc.lpszClassName = L"SentavoApplication";
  RegisterClassW(&wc);
  const std::wstring title = sentavo::Widen(sentavo::client::texts::kApplicationTitle);
  return CreateWindowExW(0, wc.lpszClassName, title.c_str(),
                         WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                         nullptr, instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // A window whose thread waits on a slow share must stay the lock window, not become a movable
  // "not responding" ghost.
  DisableProcessWindowsGhosting();
  const HWND application = CreateApplicationWindow(instance);
  int exitCode = 0;
  {
    sentavo::client::LockWindow window(application);
    if (!window.Create()) return 1;
    window.ShowLocked();
    exitCode = sentavo::ui::RunMessageLoop();
    if (window.ExitCode() != 0) exitCode = window.ExitCode();
  }
  DestroyWindow(application);
  return exitCode;
}
