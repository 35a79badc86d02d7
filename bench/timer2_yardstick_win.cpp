// The yardstick for the client's idle CPU: the least program that polls the pointer as the lock
// window's Timer2 does, a window timer of 1 ms (the system makes it its shortest interval) on a
// message-only window. With "cursor" each tick reads the pointer once (GetCursorPos), with "timer"
// a tick does nothing. Shows a small window titled "Sentavo timer yardstick" and waits.
#include <windows.h>

#include <cwchar>

namespace {

bool gReadCursor = false;

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) {
    if (gReadCursor) {
      POINT p{};
      GetCursorPos(&p);
    }
    return 0;
  }
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command, int) {
  gReadCursor = std::wcscmp(command, L"cursor") == 0;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"SentavoTimerYardstick";
  RegisterClassW(&wc);
  CreateWindowW(wc.lpszClassName, L"Sentavo timer yardstick", WS_POPUP | WS_VISIBLE, 0, 0, 64, 64,
                nullptr, nullptr, instance, nullptr);
  const HWND ticks =
      CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
  SetTimer(ticks, 1, 1, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
