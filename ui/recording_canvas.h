// The test double of Canvas: keeps every drawing call with the pen, brush and font in force.
#pragma once

#include <string>
#include <vector>

#include "ui/canvas.h"

namespace sentavo::ui {

struct CanvasOp {
  enum class Kind {
    FillRect,
    FrameRect,
    Polygon,
    PolyPolygon,
    Ellipse,
    Polyline,
    Caption,
    CopyRect,
    Image
  };
  Kind kind = Kind::FillRect;
  TColor pen = 0;    // resolved
  TColor brush = 0;  // resolved; meaningless when `clearBrush`
  bool clearBrush = false;
  Rect rect;  // FillRect, FrameRect, Ellipse, Caption box, CopyRect source, Image source
  std::vector<Point> points;  // Polygon, PolyPolygon, Polyline; CopyRect and Image: the destination
  std::vector<int> counts;    // PolyPolygon: the points of each polygon
  std::string text;           // Caption
  TColor color = 0;           // Caption and FrameRect colour, Image transparent colour (resolved)
  FontSpec font;              // Caption
};

class RecordingCanvas final : public Canvas {
 public:
  std::vector<CanvasOp> ops;

  TColor Resolve(TColor color) const override;
  void SetPen(TColor color) override { pen_ = Resolve(color); }
  void SetBrush(TColor color) override {
    brush_ = Resolve(color);
    clear_ = false;
  }
  void SetClearBrush() override { clear_ = true; }
  void SetFont(const FontSpec& font) override { font_ = font; }
  void FillRect(const Rect& r) override;
  void FrameRect(const Rect& r, TColor color) override;
  void Polygon(std::span<const Point> points) override;
  void PolyPolygon(std::span<const Point> points, std::span<const int> counts) override;
  void Ellipse(const Rect& box) override;
  void Polyline(std::span<const Point> points) override;
  // Every character is 6 pixels wide and the font's height high; "&" before a letter counts 0.
  Size TextExtent(std::string_view text) override;
  void DrawCaption(const Rect& box, std::string_view text, TColor color) override;
  void CopyRect(const Rect& src, Point dest) override;
  void DrawImage(const PixelImage& image, const Rect& src, Point dest,
                 std::optional<TColor> transparent) override;

  // The calls of one kind, in order.
  std::vector<CanvasOp> Of(CanvasOp::Kind kind) const;
  // Every polygon drawn, alone or among the polygons of one call, in order: each as a Polygon op
  // with the pen and brush of its call.
  std::vector<CanvasOp> Polygons() const;

 private:
  CanvasOp Op(CanvasOp::Kind kind) const;
  TColor pen_ = 0;
  TColor brush_ = 0xFFFFFF;
  bool clear_ = false;
  FontSpec font_;
};

}  // namespace sentavo::ui
