#include "lockengine/start_button_win.h"

#include "lockengine/handles_win.h"
#include "ui/gdi_win.h"
#include "ui/window_win.h"

namespace sentavo::lockengine {
namespace {

// The picture of the real start button: a child window that shows the copied pixels and clicks
// like a button.
class StartPicture final : public StartControl, public ui::Window {
 public:
  StartPicture(HBITMAP bitmap, int width, int height)
      : bitmap_(bitmap), width_(width), height_(height) {}

  void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
  void PlaceIn(WindowHandle panel, std::int32_t width, std::int32_t height) override {
    ui::WindowSpec desc;
    desc.className = L"SentavoStartPicture";
    desc.style = WS_CHILD | WS_VISIBLE;
    desc.x = 0;
    desc.y = 0;
    desc.width = width;
    desc.height = height;
    desc.parent = ToHwnd(panel);
    Create(desc);
  }
  // The handler may remove the replacement, this control included: nothing is touched after it.
  void Click() override {
    const std::function<void()> handler = onClick_;
    if (handler) handler();
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_PAINT: return OnPaint();
      case WM_ERASEBKGND: return 1;
      case WM_LBUTTONDOWN: return OnButtonDown();
      case WM_LBUTTONUP: return OnButtonUp(lp);
      default: return DefaultHandling(msg, wp, lp);
    }
  }

 private:
  LRESULT OnPaint() {
    const ui::PaintScope paint(hwnd());
    const ui::MemoryDC source(paint.get());
    const ui::SelectScope s(source.get(), bitmap_.get());
    BitBlt(paint.get(), 0, 0, width_, height_, source.get(), 0, 0, SRCCOPY);
    return 0;
  }
  LRESULT OnButtonDown() {
    pressed_ = true;
    SetCapture(hwnd());
    return 0;
  }
  LRESULT OnButtonUp(LPARAM lp) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    ReleaseCapture();
    RECT r;
    GetClientRect(hwnd(), &r);
    const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    if (wasPressed && PtInRect(&r, p)) Click();
    return 0;
  }

  ui::BitmapHandle bitmap_;
  int width_;
  int height_;
  bool pressed_ = false;
  std::function<void()> onClick_;
};

// tStartPanel: carries the control inside the taskbar and clicks it on WM_USER + 193.
class TStartPanel final : public StartPanel, public ui::Window {
 public:
  explicit TStartPanel(std::unique_ptr<StartControl> control) : control_(std::move(control)) {}
  // The window (and with it the control's) goes first, then the control object.
  ~TStartPanel() override { Destroy(); }

  WindowHandle Handle() const override { return FromHwnd(hwnd()); }
  StartControl& Control() override { return *control_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == kStartPanelClickMessage) {
      if (control_) control_->Click();
      return 0;
    }
    return DefaultHandling(msg, wp, lp);
  }

 private:
  std::unique_ptr<StartControl> control_;
};

}  // namespace

HWND Win32StartButtonHost::Taskbar() const {
  return FindWindowW(taskbarClass_.c_str(), nullptr);
}

// The first child of class "Button"; Windows 10 calls its start button "Start".
HWND Win32StartButtonHost::RealStartButton(HWND taskbar) const {
  if (!taskbar) return nullptr;
  const HWND button = FindWindowExW(taskbar, nullptr, L"Button", nullptr);
  return button ? button : FindWindowExW(taskbar, nullptr, L"Start", nullptr);
}

std::optional<Rect> Win32StartButtonHost::FindStartButton() {
  const HWND button = RealStartButton(Taskbar());
  RECT r;
  if (!button || !GetWindowRect(button, &r)) return std::nullopt;
  return Rect{r.left, r.top, r.right, r.bottom};
}

void Win32StartButtonHost::BringTaskbarToForeground() {
  if (const HWND taskbar = Taskbar()) SetForegroundWindow(taskbar);
}

std::unique_ptr<StartControl> Win32StartButtonHost::CapturePicture(const Rect& button) {
  const HWND real = RealStartButton(Taskbar());
  const int w = button.Width(), h = button.Height();
  const ui::ClientDC screen = ui::ClientDC::OfWholeWindow(real);
  const ui::MemoryDC memory(screen.get());
  HBITMAP bitmap = CreateCompatibleBitmap(screen.get(), w, h);
  if (bitmap) {
    const ui::SelectScope s(memory.get(), bitmap);
    BitBlt(memory.get(), 0, 0, w, h, screen.get(), 0, 0, SRCCOPY);
  }
  return std::make_unique<StartPicture>(bitmap, w, h);
}

std::unique_ptr<StartPanel> Win32StartButtonHost::CreatePanel(
    const Rect& button, std::unique_ptr<StartControl> control) {
  const HWND taskbar = Taskbar();
  if (!taskbar) return nullptr;
  StartControl* placed = control.get();
  auto panel = std::make_unique<TStartPanel>(std::move(control));
  ui::WindowSpec desc;
  desc.className = L"tStartPanel";
  desc.style = WS_CHILD | WS_CLIPCHILDREN;
  desc.x = 0;
  desc.y = 0;
  desc.width = button.Width();
  desc.height = button.Height();
  desc.parent = taskbar;
  desc.background = GetSysColorBrush(COLOR_BTNFACE);
  if (!panel->Create(desc)) return nullptr;
  placed->PlaceIn(panel->Handle(), button.Width(), button.Height());
  ShowWindow(panel->hwnd(), SW_SHOWNA);
  return panel;
}

// The menu is shown with an Escape already queued, which closes it at once; the item rectangles
// the system still knows then give the height. Where it knows none (Wine) the height is 0.
std::int32_t Win32StartButtonHost::MeasureMenuHeight(PopupMenuRef& menu, Point at) {
  INPUT escape[2] = {};
  for (INPUT& in : escape) {
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = VK_ESCAPE;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(VK_ESCAPE, MAPVK_VK_TO_VSC));
  }
  escape[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, escape, sizeof(INPUT));
  menu.Popup(at.x, at.y);
  const HMENU h = ToHmenu(menu.Handle());
  std::int32_t height = 0;
  const int count = GetMenuItemCount(h);
  for (int i = 0; i < count; ++i) {
    RECT r;
    if (GetMenuItemRect(nullptr, h, static_cast<UINT>(i), &r)) height += r.bottom - r.top;
  }
  return height;
}

}  // namespace sentavo::lockengine
