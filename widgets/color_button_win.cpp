#include "widgets/color_button_win.h"

#include <windowsx.h>

#include "formats/wide_win.h"
#include "ui/gdi_canvas_win.h"
#include "ui/gdi_win.h"

namespace sentavo::widgets {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;

ui::TColor SystemColorOf(ui::TColor c) {
  return ui::IsSystemColor(c) ? GetSysColor(ui::SystemColorIndex(c)) : c;
}

}  // namespace

ui::PixelImage PixelImageFromBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm)) return {};
  ui::PixelImage image;
  image.width = bm.bmWidth;
  image.height = bm.bmHeight;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> argb(static_cast<std::size_t>(bm.bmWidth) * bm.bmHeight);
  const HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), argb.data(), &bi,
                             DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (rows <= 0) return {};
  image.pixels.reserve(argb.size());
  for (std::uint32_t p : argb) {
    image.pixels.push_back(ui::MakeColor((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  }
  return image;
}

ui::PixelImage LoadBitmapResource(const wchar_t* name) {
  ui::BitmapHandle bitmap(static_cast<HBITMAP>(
      LoadImageW(ui::ModuleInstance(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  return PixelImageFromBitmap(bitmap.get());
}

TColorButton::TColorButton(ui::Component* owner, std::string name)
    : ui::Window(owner, std::move(name)), model_(*this, SystemColorOf) {
  model_.OnClick = [this](ColorButtonModel& m) {
    if (OnClick) OnClick(m);
  };
  model_.OnStateChange = [this](ColorButtonModel& m) {
    if (OnStateChange) OnStateChange(m);
  };
  model_.OnMouseDown = [this](ColorButtonModel& m, TMouseButton b, int x, int y) {
    if (OnMouseDown) OnMouseDown(m, b, x, y);
  };
  model_.OnMouseUp = [this](ColorButtonModel& m, TMouseButton b, int x, int y) {
    if (OnMouseUp) OnMouseUp(m, b, x, y);
  };
}

TColorButton::~TColorButton() {
  ui::Window::Destroy();
}

bool TColorButton::Create(HWND parent, int id, const ui::Bounds& bounds,
                          const std::string& caption) {
  model_.SetCaption(caption);
  ui::WindowSpec desc = ui::WindowSpec::Child(parent, id, bounds);
  desc.className = L"SentavoColorButton";
  desc.title = Widen(caption);
  if (!ui::Window::Create(desc)) return false;
  model_.SetSize(bounds.width, bounds.height);
  return true;
}

void TColorButton::SetCaption(const std::string& caption) {
  model_.SetCaption(caption);
  if (hwnd()) {
    settingText_ = true;
    SetWindowTextW(hwnd(), Widen(caption).c_str());
    settingText_ = false;
  }
}

void TColorButton::SetEnabled(bool enabled) {
  if (hwnd()) {
    EnableWindow(hwnd(), enabled);  // WM_ENABLE tells the model
  } else {
    model_.SetEnabled(enabled);
  }
}

void TColorButton::PaintTo(HDC target) {
  const ui::Size size = ClientSize();
  ui::OffscreenBuffer buffer(target, size.cx, size.cy);
  if (buffer.Valid()) {
    {
      ui::GdiCanvas canvas(buffer.dc());
      model_.Paint(canvas);
    }
    buffer.CopyTo(target);
  } else {
    ui::GdiCanvas canvas(target);
    model_.Paint(canvas);
  }
}

void TColorButton::RequestRepaint() {
  Invalidate();
}

void TColorButton::PaintFrameNow(bool moveContent) {
  if (!hwnd() || !IsWindowVisible(hwnd())) {
    Invalidate();
    return;
  }
  ui::ClientDC dc(hwnd());
  ui::GdiCanvas canvas(dc.get());
  model_.DrawFrame(canvas, moveContent);
}

void TColorButton::StartRepeatTimer(std::uint16_t ms) {
  if (hwnd()) SetTimer(hwnd(), kRepeatTimer, ms, nullptr);
}

void TColorButton::StopRepeatTimer() {
  if (hwnd()) KillTimer(hwnd(), kRepeatTimer);
}

bool TColorButton::HasMouseCapture() const {
  return hwnd() && GetCapture() == hwnd();
}

std::vector<ColorButtonModel*> TColorButton::Siblings() {
  std::vector<ColorButtonModel*> out;
  const HWND parent = Parent();
  if (!parent) return out;
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (auto* b = dynamic_cast<TColorButton*>(ui::Window::FromHandle(h))) out.push_back(&b->model_);
  }
  return out;
}

void TColorButton::Press(TMouseButton button, LPARAM lp) {
  if (button == TMouseButton::mbLeft) SetCapture(hwnd());
  model_.MouseDown(button, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
}

void TColorButton::Release(TMouseButton button, LPARAM lp) {
  model_.MouseUp(button, GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
  if (button == TMouseButton::mbLeft && GetCapture() == hwnd()) ReleaseCapture();
}

LRESULT TColorButton::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      ui::PaintScope ps(hwnd());
      PaintTo(ps.get());
      return 0;
    }
    case WM_PRINTCLIENT: PaintTo(reinterpret_cast<HDC>(wp)); return 0;
    case WM_SIZE: model_.SetSize(LOWORD(lp), HIWORD(lp)); return 0;
    case WM_LBUTTONDOWN: Press(TMouseButton::mbLeft, lp); return 0;
    case WM_LBUTTONDBLCLK:
      Press(TMouseButton::mbLeft, lp);
      if (OnDblClick) OnDblClick();
      return 0;
    case WM_LBUTTONUP: Release(TMouseButton::mbLeft, lp); return 0;
    case WM_RBUTTONDOWN: Press(TMouseButton::mbRight, lp); return 0;
    case WM_RBUTTONUP: Release(TMouseButton::mbRight, lp); return 0;
    case WM_MBUTTONDOWN: Press(TMouseButton::mbMiddle, lp); return 0;
    case WM_MBUTTONUP: Release(TMouseButton::mbMiddle, lp); return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lp) != hwnd()) model_.CancelPress();
      return 0;
    case WM_TIMER:
      if (wp == kRepeatTimer) model_.RepeatTimerTick();
      return 0;
    case WM_ENABLE: model_.SetEnabled(wp != 0); return 0;
    case WM_SETTEXT: {
      const LRESULT r = DefaultHandling(msg, wp, lp);
      if (!settingText_ && lp) {
        model_.SetCaption(Narrow(reinterpret_cast<const wchar_t*>(lp)));
      }
      return r;
    }
    case BM_CLICK:  // as a press and release of the left button, for other programs
      Press(TMouseButton::mbLeft, 0);
      Release(TMouseButton::mbLeft, 0);
      return 0;
    default: return ui::Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace sentavo::widgets
