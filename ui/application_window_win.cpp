#include "ui/application_window_win.h"

#include "formats/wide_win.h"

namespace sentavo::ui {

bool ApplicationWindow::Create(const ApplicationWindowOptions& options) {
  WindowSpec desc;
  desc.className = options.className;
  desc.title = Widen(options.title);
  desc.style = options.style;
  desc.x = options.centred ? GetSystemMetrics(SM_CXSCREEN) / 2 : 0;
  desc.y = options.centred ? GetSystemMetrics(SM_CYSCREEN) / 2 : 0;
  desc.width = 0;
  desc.height = 0;
  if (!Window::Create(desc)) return false;
  if (options.icon) {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(options.icon));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(options.icon));
  }
  return true;
}

void ApplicationWindow::Own(HWND form) {
  SetWindowLongPtrW(form, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd()));
}

LRESULT ApplicationWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_SETFOCUS && front_ && IsWindowVisible(front_)) {
    SetForegroundWindow(front_);
    return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace sentavo::ui
