#include "ui/gdi_canvas_win.h"

#include <vector>

#include "formats/wide_win.h"

namespace sentavo::ui {
namespace {

std::vector<POINT> ToPoints(std::span<const Point> points) {
  std::vector<POINT> out;
  out.reserve(points.size());
  for (const Point& p : points) out.push_back({p.x, p.y});
  return out;
}

RECT ToRect(const Rect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

COLORREF ToColorRef(TColor color) {
  return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : (color & 0xFFFFFF);
}

FontHandle CreateFontFrom(const FontSpec& desc) {
  LOGFONTW lf{};
  lf.lfHeight = -desc.height;  // the character height, as the forms give it
  lf.lfWeight = desc.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = desc.italic;
  lf.lfUnderline = desc.underline;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  // Where the system lacks the face, the font mapper keeps at least a monospaced one monospaced.
  if (desc.name == "Courier New") lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
  const std::wstring face = Widen(desc.name);
  wcsncpy_s(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return FontHandle(CreateFontIndirectW(&lf));
}

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {
  SetBkMode(dc_, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
  // Puts back the DC's own pen, brush and font before ours are deleted.
  RestoreDC(dc_, saved_);
}

void GdiCanvas::SetPen(TColor color) {
  const COLORREF c = ToColorRef(color);
  if (c == penColor_ && pen_) return;
  Pen pen(CreatePen(PS_SOLID, 1, c));
  SelectObject(dc_, pen.get());
  pen_ = std::move(pen);
  penColor_ = c;
}

void GdiCanvas::SetBrush(TColor color) {
  clearBrush_ = false;
  const COLORREF c = ToColorRef(color);
  if (c != brushColor_ || !brush_) {
    Brush brush(CreateSolidBrush(c));
    SelectObject(dc_, brush.get());
    brush_ = std::move(brush);
    brushColor_ = c;
  } else {
    SelectObject(dc_, brush_.get());
  }
}

void GdiCanvas::SetClearBrush() {
  clearBrush_ = true;
  SelectObject(dc_, GetStockObject(NULL_BRUSH));
}

void GdiCanvas::SetFont(const FontSpec& font) {
  if (fontSet_ && font == fontSpec_) return;
  FontHandle f = CreateFontFrom(font);
  SelectObject(dc_, f.get());
  font_ = std::move(f);
  fontSpec_ = font;
  fontSet_ = true;
}

void GdiCanvas::FillRect(const Rect& r) {
  if (clearBrush_ || !brush_) return;
  const RECT rc = ToRect(r);
  ::FillRect(dc_, &rc, brush_.get());
}

void GdiCanvas::FrameRect(const Rect& r, TColor color) {
  Brush b(CreateSolidBrush(ToColorRef(color)));
  const RECT rc = ToRect(r);
  ::FrameRect(dc_, &rc, b.get());
}

void GdiCanvas::Polygon(std::span<const Point> points) {
  const std::vector<POINT> pts = ToPoints(points);
  ::Polygon(dc_, pts.data(), static_cast<int>(pts.size()));
}

void GdiCanvas::PolyPolygon(std::span<const Point> points, std::span<const int> counts) {
  const std::vector<POINT> pts = ToPoints(points);
  ::PolyPolygon(dc_, pts.data(), counts.data(), static_cast<int>(counts.size()));
}

void GdiCanvas::Ellipse(const Rect& box) {
  ::Ellipse(dc_, box.left, box.top, box.right, box.bottom);
}

void GdiCanvas::Polyline(std::span<const Point> points) {
  const std::vector<POINT> pts = ToPoints(points);
  ::Polyline(dc_, pts.data(), static_cast<int>(pts.size()));
}

Size GdiCanvas::TextExtent(std::string_view text) {
  const std::wstring w = Widen(text);
  RECT rc{0, 0, 0, 0};
  DrawTextW(dc_, w.c_str(), static_cast<int>(w.size()), &rc, DT_CALCRECT | DT_SINGLELINE);
  return {rc.right - rc.left, rc.bottom - rc.top};
}

void GdiCanvas::DrawCaption(const Rect& box, std::string_view text, TColor color) {
  const std::wstring w = Widen(text);
  RECT rc = ToRect(box);
  SetTextColor(dc_, ToColorRef(color));
  SetBkMode(dc_, TRANSPARENT);
  DrawTextW(dc_, w.c_str(), static_cast<int>(w.size()), &rc,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

void GdiCanvas::CopyRect(const Rect& src, Point dest) {
  if (src.Width() <= 0 || src.Height() <= 0) return;
  BitBlt(dc_, dest.x, dest.y, src.Width(), src.Height(), dc_, src.left, src.top, SRCCOPY);
}

void GdiCanvas::DrawImage(const PixelImage& image, const Rect& src, Point dest,
                          std::optional<TColor> transparent) {
  const int w = src.Width(), h = src.Height();
  if (w <= 0 || h <= 0 || image.Empty()) return;
  Dib dib(w, h);
  if (!dib.Valid()) return;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int sx = src.left + x, sy = src.top + y;
      const TColor c =
          (sx >= 0 && sy >= 0 && sx < image.width && sy < image.height) ? image.At(sx, sy) : 0;
      dib.At(x, y) = (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c);
    }
  }
  MemoryDC mem(dc_);
  SelectScope select(mem.get(), dib.get());
  if (transparent) {
    TransparentBlt(dc_, dest.x, dest.y, w, h, mem.get(), 0, 0, w, h, ToColorRef(*transparent));
  } else {
    BitBlt(dc_, dest.x, dest.y, w, h, mem.get(), 0, 0, SRCCOPY);
  }
}

}  // namespace sentavo::ui
