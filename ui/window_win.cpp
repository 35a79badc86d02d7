#include "ui/window_win.h"

#include <commctrl.h>

#include <set>

#include "formats/wide_win.h"
#include "ui/binding_win.h"

namespace sentavo::ui {
namespace {

constexpr wchar_t kObjectProperty[] = L"Sentavo.Window";

// Every class of ours routes through Window::WindowProc; the first description of a class names its
// style.
void RegisterOnce(const WindowSpec& desc, WNDPROC proc) {
  static std::set<std::wstring> registered;
  if (!registered.insert(desc.className).second) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = desc.classStyle;
  wc.lpfnWndProc = proc;
  wc.hInstance = ModuleInstance();
  wc.hCursor = desc.cursor ? desc.cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = desc.background;
  wc.lpszClassName = desc.className;
  RegisterClassExW(&wc);
}

}  // namespace

WindowSpec WindowSpec::Child(HWND parent, int id, const Bounds& b, DWORD style) {
  WindowSpec desc;
  desc.parent = parent;
  desc.id = static_cast<UINT_PTR>(id);
  desc.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style;
  desc.x = b.left;
  desc.y = b.top;
  desc.width = b.width;
  desc.height = b.height;
  return desc;
}

HINSTANCE ModuleInstance() {
  return GetModuleHandleW(nullptr);
}

std::string WindowTextOf(HWND hwnd) {
  const int n = GetWindowTextLengthW(hwnd);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return Narrow(text);
}

Window::Window(Component* owner, std::string name) : Component(owner, std::move(name)) {}

Window::~Window() {
  if (!hwnd_) return;
  // By now the parts of a derived class are gone: unbind first, so that no message of the
  // teardown reaches them, then destroy. No derived class has to destroy its window itself.
  const HWND hwnd = hwnd_;
  RemovePropW(hwnd, kObjectProperty);
  if (subclassed_) {
    RemoveWindowSubclass(hwnd, SubclassProc, 1);
  } else {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  }
  subclassed_ = false;
  hwnd_ = nullptr;
  DestroyWindow(hwnd);
}

bool Window::Create(const WindowSpec& desc) {
  RegisterOnce(desc, WindowProc);
  const HWND made = CreateWindowExW(desc.exStyle, desc.className, desc.title.c_str(), desc.style,
                                    desc.x, desc.y, desc.width, desc.height, desc.parent,
                                    reinterpret_cast<HMENU>(desc.id), ModuleInstance(), this);
  return made != nullptr;
}

bool Window::CreateControl(const WindowSpec& desc) {
  const HWND made = CreateWindowExW(desc.exStyle, desc.className, desc.title.c_str(), desc.style,
                                    desc.x, desc.y, desc.width, desc.height, desc.parent,
                                    reinterpret_cast<HMENU>(desc.id), ModuleInstance(), nullptr);
  if (!made) return false;
  hwnd_ = made;
  SetPropW(made, kObjectProperty, this);
  subclassed_ = SetWindowSubclass(made, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this)) != 0;
  return true;
}

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
}

int Window::Id() const {
  return hwnd_ ? GetDlgCtrlID(hwnd_) : 0;
}

HWND Window::Parent() const {
  return hwnd_ ? GetParent(hwnd_) : nullptr;
}

void Window::SetBounds(const Bounds& b) {
  if (hwnd_) {
    SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

Bounds Window::GetBounds() const {
  RECT r{};
  if (!hwnd_) return {};
  GetWindowRect(hwnd_, &r);
  if (const HWND parent = GetParent(hwnd_);
      parent && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_CHILD)) {
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  }
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Size Window::ClientSize() const {
  RECT r{};
  if (hwnd_) GetClientRect(hwnd_, &r);
  return {r.right, r.bottom};
}

void Window::SetVisible(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Window::Visible() const {
  return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Window::SetEnabled(bool enabled) {
  if (hwnd_) EnableWindow(hwnd_, enabled);
}

bool Window::Enabled() const {
  return hwnd_ && IsWindowEnabled(hwnd_);
}

void Window::SetText(std::string_view text) {
  if (hwnd_) SetWindowTextW(hwnd_, Widen(text).c_str());
}

std::string Window::Text() const {
  return hwnd_ ? WindowTextOf(hwnd_) : std::string();
}

void Window::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void Window::Focus() {
  if (hwnd_) SetFocus(hwnd_);
}

bool Window::Focused() const {
  return hwnd_ && GetFocus() == hwnd_;
}

void Window::BringToFront() {
  if (hwnd_) SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Window::SendToBack() {
  if (hwnd_) {
    SetWindowPos(hwnd_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

bool Window::DialogChar(char32_t) {
  return false;
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (ReflectToChild(msg, wp, lp, result)) return result;
  return DefaultHandling(msg, wp, lp);
}

LRESULT Window::DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) {
  return subclassed_ ? DefSubclassProc(hwnd_, msg, wp, lp) : DefWindowProcW(hwnd_, msg, wp, lp);
}

bool Window::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) {
  return false;
}

bool Window::ReflectToChild(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_HSCROLL:
    case WM_VSCROLL: child = reinterpret_cast<HWND>(lp); break;
    case WM_NOTIFY: child = reinterpret_cast<NMHDR*>(lp)->hwndFrom; break;
    case WM_DRAWITEM:
      if (wp != 0) child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    default: return false;
  }
  if (!child || child == hwnd_) return false;
  Window* target = FromHandle(child);
  return target && target->HandleReflected(msg, wp, lp, result);
}

LRESULT Window::Route(UINT msg, WPARAM wp, LPARAM lp) {
  try {
    if (msg == WM_NCDESTROY) {
      // Tear down in order: clear the back-pointers first, then let the object know.
      const HWND hwnd = hwnd_;
      RemovePropW(hwnd, kObjectProperty);
      if (!subclassed_) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      const LRESULT r = HandleMessage(msg, wp, lp);
      if (subclassed_) RemoveWindowSubclass(hwnd, SubclassProc, 1);
      subclassed_ = false;
      hwnd_ = nullptr;
      OnHandleDestroyed();
      return r;
    }
    return HandleMessage(msg, wp, lp);
  } catch (...) {
    // Nothing may unwind into USER32: the exception is logged and shown as every program shows
    // one, and the message counts as handled.
    ReportException(CurrentExceptionText());
    return 0;
  }
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetPropW(hwnd, kObjectProperty, self);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  return self->Route(msg, wp, lp);
}

LRESULT CALLBACK Window::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                      DWORD_PTR data) {
  auto* self = reinterpret_cast<Window*>(data);
  if (!self || self->hwnd_ != hwnd) return DefSubclassProc(hwnd, msg, wp, lp);
  return self->Route(msg, wp, lp);
}

}  // namespace sentavo::ui
