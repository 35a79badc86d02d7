#include "ui/window_win.h"

#include <set>

namespace sentavo::ui {
namespace {

// Every class of ours routes through Window::WindowProc; the first spec of a class names its style.
void RegisterOnce(const WindowSpec& spec, WNDPROC proc) {
  static std::set<std::wstring> registered;
  if (!registered.insert(spec.className).second) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = spec.classStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = spec.cursor ? spec.cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = spec.background;
  wc.lpszClassName = spec.className;
  RegisterClassExW(&wc);
}

}  // namespace

HINSTANCE ModuleInstance() {
  return GetModuleHandleW(nullptr);
}

Window::~Window() {
  Destroy();
}

bool Window::Create(const WindowSpec& spec) {
  RegisterOnce(spec, WindowProc);
  const HWND made = CreateWindowExW(spec.exStyle, spec.className, spec.title.c_str(), spec.style,
                                    spec.x, spec.y, spec.width, spec.height, spec.parent,
                                    reinterpret_cast<HMENU>(spec.id), ModuleInstance(), this);
  return made != nullptr;
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefaultHandling(msg, wp, lp);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    if (msg == WM_NCDESTROY) {
      // Tear down in order: clear the back-pointer first, then let the object know.
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      const LRESULT r = self->HandleMessage(msg, wp, lp);
      self->hwnd_ = nullptr;
      self->OnHandleDestroyed();
      return r;
    }
    return self->HandleMessage(msg, wp, lp);
  } catch (...) {
    // Nothing may unwind into USER32; the message counts as handled by default.
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace sentavo::ui
