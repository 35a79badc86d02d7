#include "widgets/lcd_display_win.h"

#include <memory>
#include <optional>
#include <random>

#include "formats/wide_win.h"
#include "ui/gdi_canvas_win.h"
#include "ui/gdi_win.h"
#include "ui/messages_win.h"

namespace sentavo::widgets {
namespace {

// A repaint's surroundings on Windows: the target DC, an off-screen bitmap, the tick count, and
// the message pump that keeps the application alive during a reveal's pauses. The bitmap of a
// repaint into the window, and the canvas on it, are the display's own, kept from one repaint to
// the next: making them costs more than painting the display. A repaint into another DC
// (printing) gets a bitmap of its own in that DC's format, for that repaint alone.
class WinLcdHost final : public LcdPaintHost {
 public:
  WinLcdHost(HDC target, std::weak_ptr<const bool> display, std::shared_ptr<KeptBuffer> kept)
      : target_(target), display_(std::move(display)), kept_(std::move(kept)) {}

  ui::Canvas& WindowCanvas() override {
    if (!window_) window_.emplace(target_);
    return *window_;
  }
  ui::Canvas* CreateBuffer(int width, int height) override {
    if (GetObjectType(target_) != OBJ_DC) {
      own_.emplace(target_, width, height);
      if (!own_->Valid()) return nullptr;
      buffer_ = &*own_;
      ownCanvas_.emplace(own_->dc());
      return &*ownCanvas_;
    }
    // The window's own DC, in the screen's format.
    const int depth = GetDeviceCaps(target_, BITSPIXEL) * GetDeviceCaps(target_, PLANES);
    KeptBuffer& kept = *kept_;
    if (!kept.buffer || kept.width != width || kept.height != height || kept.depth != depth) {
      kept.canvas.reset();  // puts the old buffer's DC back as it was before it goes
      kept.buffer.emplace(target_, width, height);
      kept.width = width;
      kept.height = height;
      kept.depth = depth;
      if (kept.buffer->Valid()) kept.canvas.emplace(kept.buffer->dc());
    }
    if (!kept.canvas) return nullptr;
    buffer_ = &*kept.buffer;
    return &*kept.canvas;
  }
  void PresentBuffer() override {
    if (buffer_) buffer_->CopyTo(target_);
    GdiFlush();
  }
  void FreeBuffer() override {
    buffer_ = nullptr;
    ownCanvas_.reset();
    own_.reset();
  }
  std::uint32_t NowMs() override { return GetTickCount(); }
  // Handles what arrives within `ms` and then returns, even while more keeps arriving (other
  // displays revealing their values), so that no reveal is held up for good by the others.
  bool ProcessMessages(std::uint32_t ms) override {
    const DWORD deadline = GetTickCount() + ms;
    const auto remaining = [deadline] {
      const auto left = static_cast<std::int32_t>(deadline - GetTickCount());
      return left > 0 ? static_cast<DWORD>(left) : 0;
    };
    if (quitSeen_) {
      Sleep(ms);  // the program is ending: wait out the pause without handling anything
      return true;
    }
    do {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, remaining(), QS_ALLINPUT);
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
          quitSeen_ = true;
          PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop to see
          return true;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (display_.expired()) return false;
        if (remaining() == 0) return true;
      }
    } while (remaining() > 0);
    return true;
  }
  int RandomBelow(int n) override { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

 private:
  HDC target_;
  std::optional<ui::GdiCanvas> window_;  // only when the repaint draws on the window itself
  std::weak_ptr<const bool> display_;
  std::shared_ptr<KeptBuffer> kept_;  // lives on while this repaint unwinds
  std::optional<ui::OffscreenBuffer> own_;
  std::optional<ui::GdiCanvas> ownCanvas_;
  ui::OffscreenBuffer* buffer_ = nullptr;
  std::minstd_rand random_{GetTickCount()};
  bool quitSeen_ = false;
};

}  // namespace

TLcdDisplay::TLcdDisplay(ui::Component* owner, std::string name)
    : ui::Window(owner, std::move(name)) {}

TLcdDisplay::~TLcdDisplay() {
  lifetime_.reset();  // a reveal paused further up the stack must not come back into us
  Destroy();
}

bool TLcdDisplay::Create(HWND parent, int id, const ui::Bounds& bounds) {
  ui::WindowSpec desc = ui::WindowSpec::Child(parent, id, bounds);
  desc.className = L"SentavoLcdDisplay";
  desc.title = Widen(model_.Value());
  return ui::Window::Create(desc);
}

bool TLcdDisplay::PaintTo(HDC dc) {
  const ui::Size size = ClientSize();
  WinLcdHost host(dc, lifetime_, keptBuffer_);
  return model_.Paint(host, size.cx, size.cy);
}

void TLcdDisplay::RequestRepaint() {
  Invalidate();
}

void TLcdDisplay::ValueStored(const std::string& value) {
  if (hwnd()) SetWindowTextW(hwnd(), Widen(value).c_str());
}

void TLcdDisplay::ShowAbout(const ui::Message& about) {
  ui::ShowMessageBox(hwnd(), about);
}

LRESULT TLcdDisplay::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;  // every pixel is painted: never flicker through the parent
    case WM_PAINT: {
      ui::PaintScope ps(hwnd());
      if (model_.IsPainting()) {
        missedPaint_ = true;  // a reveal is pausing: paint again once it is done
        return 0;
      }
      if (!PaintTo(ps.get())) return 0;  // destroyed meanwhile: `this` is gone
      if (missedPaint_) {
        missedPaint_ = false;
        Invalidate();
      }
      return 0;
    }
    case WM_PRINTCLIENT: (void)PaintTo(reinterpret_cast<HDC>(wp)); return 0;
    case WM_LBUTTONDOWN: pressed_ = true; return 0;
    case WM_LBUTTONUP:
      if (pressed_ && OnClick) OnClick();
      pressed_ = false;
      return 0;
    case WM_LBUTTONDBLCLK:
      if (OnDblClick) OnDblClick();
      return 0;
    default: return ui::Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace sentavo::widgets
