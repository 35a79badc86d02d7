// The base of every window of ours. `this` is bound to the window at WM_NCCREATE; the window
// procedure only routes to the virtual HandleMessage and never lets an exception into USER32.
#pragma once

#include <windows.h>

#include <string>

namespace sentavo::ui {

struct WindowSpec {
  const wchar_t* className = L"SentavoWindow";  // registered on first use
  std::wstring title;
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT;
  int height = CW_USEDEFAULT;
  HWND parent = nullptr;  // HWND_MESSAGE for a message-only window
  UINT_PTR id = 0;        // the control ID of a child window
  UINT classStyle = CS_DBLCLKS;
  HBRUSH background = nullptr;
  HCURSOR cursor = nullptr;  // the arrow when empty
};

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // False when the window could not be created (the cause is in GetLastError).
  bool Create(const WindowSpec& spec);
  void Destroy();
  HWND hwnd() const { return hwnd_; }

 protected:
  // Routes one message; the default passes it to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) {
    return DefWindowProcW(hwnd_, msg, wp, lp);
  }
  // Called after WM_NCDESTROY, when the handle is gone.
  virtual void OnHandleDestroyed() {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;
};

// The module's instance handle, for class registration and resources.
HINSTANCE ModuleInstance();

}  // namespace sentavo::ui
