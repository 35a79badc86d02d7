// Canvas on a GDI device context. The DC is borrowed; the pen, brush and font are owned and put
// back when the canvas goes.
#pragma once

#include <windows.h>

#include "ui/canvas.h"
#include "ui/gdi_win.h"

namespace sentavo::ui {

// 0x00BBGGRR for GDI, system colours resolved through GetSysColor.
COLORREF ToColorRef(TColor color);
FontHandle CreateFontFrom(const FontSpec& desc);

class GdiCanvas final : public Canvas {
 public:
  explicit GdiCanvas(HDC dc);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  HDC dc() const { return dc_; }

  TColor Resolve(TColor color) const override { return ToColorRef(color); }
  void SetPen(TColor color) override;
  void SetBrush(TColor color) override;
  void SetClearBrush() override;
  void SetFont(const FontSpec& font) override;
  void FillRect(const Rect& r) override;
  void FrameRect(const Rect& r, TColor color) override;
  void Polygon(std::span<const Point> points) override;
  void PolyPolygon(std::span<const Point> points, std::span<const int> counts) override;
  void Ellipse(const Rect& box) override;
  void Polyline(std::span<const Point> points) override;
  Size TextExtent(std::string_view text) override;
  void DrawCaption(const Rect& box, std::string_view text, TColor color) override;
  void CopyRect(const Rect& src, Point dest) override;
  void DrawImage(const PixelImage& image, const Rect& src, Point dest,
                 std::optional<TColor> transparent) override;

 private:
  HDC dc_;
  int saved_;
  Pen pen_;
  COLORREF penColor_ = CLR_INVALID;
  Brush brush_;
  COLORREF brushColor_ = CLR_INVALID;
  bool clearBrush_ = false;
  FontHandle font_;
  FontSpec fontSpec_;
  bool fontSet_ = false;
};

}  // namespace sentavo::ui
