#include "widgets/link_label_win.h"

#include <shellapi.h>

#include "formats/wide_win.h"
#include "ui/gdi_canvas_win.h"

namespace sentavo::widgets {
namespace {

ui::FontSpec LinkFont() {
  ui::FontSpec f = ui::VerdanaBold(13, ui::MakeColor(0, 102, 255));
  f.underline = true;
  return f;
}

// `a` moved `percent` of the way towards `b`.
COLORREF Mix(COLORREF a, COLORREF b, int percent) {
  auto ch = [&](int shift) {
    const int x = (a >> shift) & 0xFF, y = (b >> shift) & 0xFF;
    return static_cast<COLORREF>(x + (y - x) * percent / 100) << shift;
  };
  return ch(0) | ch(8) | ch(16);
}

}  // namespace

TLinkLabel::TLinkLabel(ui::Component* owner, std::string name)
    : ui::Window(owner, std::move(name)), font_(LinkFont()) {}

bool TLinkLabel::Create(HWND parent, int id, const ui::Bounds& bounds, const std::string& caption,
                        const std::string& address) {
  address_ = address;
  ui::WindowSpec desc = ui::WindowSpec::Child(parent, id, bounds);
  desc.className = L"SentavoLinkLabel";
  desc.title = Widen(caption);
  desc.cursor = LoadCursorW(nullptr, IDC_HAND);
  return ui::Window::Create(desc);
}

void TLinkLabel::SetFont(const ui::FontSpec& font) {
  font_ = ui::Font(font);
  Invalidate();
}

void TLinkLabel::SetColor(ui::TColor background) {
  color_ = background;
  transparent_ = false;
  Invalidate();
}

void TLinkLabel::SetTransparent(bool transparent) {
  transparent_ = transparent;
  Invalidate();
}

void TLinkLabel::SetReflection(bool reflection) {
  reflection_ = reflection;
  Invalidate();
}

bool TLinkLabel::OpenWithSystem(const std::string& address) {
  const auto r = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", Widen(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return r > 32;
}

void TLinkLabel::Open() {
  lastOpen_ = opener_ && opener_(address_);
  if (OnClick) OnClick();
}

void TLinkLabel::PaintTo(HDC target) {
  const ui::Size size = ClientSize();
  ui::OffscreenBuffer buffer(target, size.cx, size.cy);
  const HDC dc = buffer.Valid() ? buffer.dc() : target;
  RECT all{0, 0, size.cx, size.cy};
  if (transparent_) {
    ui::PaintBehind(hwnd(), dc);
  } else {
    ui::Brush back(CreateSolidBrush(ui::ToColorRef(color_)));
    FillRect(dc, &all, back.get());
  }
  const std::wstring text = Widen(Text());
  ui::SelectScope font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  RECT measure{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const int th = measure.bottom;
  const COLORREF ink = ui::ToColorRef(font_.Description().color);
  if (reflection_ && th > 0 && size.cy > th) {
    // The text once more, upside down below the line and faded into the background.
    ui::OffscreenBuffer mirror(dc, size.cx, th);
    if (mirror.Valid()) {
      BitBlt(mirror.dc(), 0, 0, size.cx, th, dc, 0, th, SRCCOPY);
      ui::SelectScope mirrorFont(mirror.dc(), font_.get());
      SetBkMode(mirror.dc(), TRANSPARENT);
      COLORREF back = GetPixel(dc, 0, th);
      if (back == CLR_INVALID) back = ui::ToColorRef(color_);
      ::SetTextColor(mirror.dc(), Mix(ink, back, 70));
      RECT line{0, 0, size.cx, th};
      DrawTextW(mirror.dc(), text.c_str(), -1, &line, DT_SINGLELINE | DT_NOPREFIX);
      const int h = std::min(th, size.cy - th);
      StretchBlt(dc, 0, th + h - 1, size.cx, -h, mirror.dc(), 0, th - h, size.cx, h, SRCCOPY);
    }
  }
  ::SetTextColor(dc, ink);
  RECT line{0, 0, size.cx, th};
  DrawTextW(dc, text.c_str(), -1, &line, DT_SINGLELINE | DT_NOPREFIX);
  if (buffer.Valid()) buffer.CopyTo(target);
}

LRESULT TLinkLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      ui::PaintScope ps(hwnd());
      PaintTo(ps.get());
      return 0;
    }
    case WM_PRINTCLIENT:
    case ui::kPaintForSibling: PaintTo(reinterpret_cast<HDC>(wp)); return 0;
    case WM_SETTEXT: {
      const LRESULT r = DefaultHandling(msg, wp, lp);
      Invalidate();
      return r;
    }
    case WM_LBUTTONDOWN: Open(); return 0;
    default: return ui::Window::HandleMessage(msg, wp, lp);
  }
}

}  // namespace sentavo::widgets
