// A tiny program for testing the test driver itself: an edit (100) and a button (101); the button
// shows the edit's text in an information box, and answering the box ends the program with 7.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == 101) {
    wchar_t text[256];
    GetDlgItemTextW(hwnd, 100, text, 256);
    MessageBoxW(hwnd, text, L"Information", MB_OK | MB_ICONINFORMATION);
    PostQuitMessage(7);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"DriverFixture";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
  HWND top = CreateWindowW(L"DriverFixture", L"Driver fixture", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           10, 10, 300, 150, nullptr, nullptr, instance, nullptr);
  CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24, top,
                reinterpret_cast<HMENU>(100), instance, nullptr);
  CreateWindowW(L"BUTTON", L"Show", WS_CHILD | WS_VISIBLE, 10, 50, 80, 30, top,
                reinterpret_cast<HMENU>(101), instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
