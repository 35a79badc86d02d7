#include "ui/application_window_win.h"

#include "formats/wide_win.h"

namespace sentavo::ui {

bool ApplicationWindow::Create(const ApplicationWindowSpec& spec) {
  WindowSpec desc;
  desc.className = spec.className;
  desc.title = Widen(spec.title);
  desc.style = spec.style;
  desc.x = spec.centred ? GetSystemMetrics(SM_CXSCREEN) / 2 : 0;
  desc.y = spec.centred ? GetSystemMetrics(SM_CYSCREEN) / 2 : 0;
  desc.width = 0;
  desc.height = 0;
  if (!Window::Create(desc)) return false;
  if (spec.icon) {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(spec.icon));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(spec.icon));
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
