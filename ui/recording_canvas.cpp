#include "ui/recording_canvas.h"

namespace sentavo::ui {

TColor RecordingCanvas::Resolve(TColor color) const {
  return IsSystemColor(color) ? ClassicSystemColor(SystemColorIndex(color)) : color;
}

CanvasOp RecordingCanvas::Op(CanvasOp::Kind kind) const {
  CanvasOp op;
  op.kind = kind;
  op.pen = pen_;
  op.brush = brush_;
  op.clearBrush = clear_;
  op.font = font_;
  return op;
}

void RecordingCanvas::FillRect(const Rect& r) {
  CanvasOp op = Op(CanvasOp::Kind::FillRect);
  op.rect = r;
  ops.push_back(std::move(op));
}

void RecordingCanvas::FrameRect(const Rect& r, TColor color) {
  CanvasOp op = Op(CanvasOp::Kind::FrameRect);
  op.rect = r;
  op.color = Resolve(color);
  ops.push_back(std::move(op));
}

void RecordingCanvas::Polygon(std::span<const Point> points) {
  CanvasOp op = Op(CanvasOp::Kind::Polygon);
  op.points.assign(points.begin(), points.end());
  ops.push_back(std::move(op));
}

void RecordingCanvas::PolyPolygon(std::span<const Point> points, std::span<const int> counts) {
  CanvasOp op = Op(CanvasOp::Kind::PolyPolygon);
  op.points.assign(points.begin(), points.end());
  op.counts.assign(counts.begin(), counts.end());
  ops.push_back(std::move(op));
}

void RecordingCanvas::Ellipse(const Rect& box) {
  CanvasOp op = Op(CanvasOp::Kind::Ellipse);
  op.rect = box;
  ops.push_back(std::move(op));
}

void RecordingCanvas::Polyline(std::span<const Point> points) {
  CanvasOp op = Op(CanvasOp::Kind::Polyline);
  op.points.assign(points.begin(), points.end());
  ops.push_back(std::move(op));
}

Size RecordingCanvas::TextExtent(std::string_view text) {
  int chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;  // the marker takes no room, its letter does
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++chars;  // UTF-8 lead bytes only
  }
  return {chars * 6, font_.height};
}

void RecordingCanvas::DrawCaption(const Rect& box, std::string_view text, TColor color) {
  CanvasOp op = Op(CanvasOp::Kind::Caption);
  op.rect = box;
  op.text = std::string(text);
  op.color = Resolve(color);
  ops.push_back(std::move(op));
}

void RecordingCanvas::CopyRect(const Rect& src, Point dest) {
  CanvasOp op = Op(CanvasOp::Kind::CopyRect);
  op.rect = src;
  op.points = {dest};
  ops.push_back(std::move(op));
}

void RecordingCanvas::DrawImage(const PixelImage&, const Rect& src, Point dest,
                                std::optional<TColor> transparent) {
  CanvasOp op = Op(CanvasOp::Kind::Image);
  op.rect = src;
  op.points = {dest};
  op.color = transparent ? Resolve(*transparent) : 0xFFFFFFFFu;
  ops.push_back(std::move(op));
}

std::vector<CanvasOp> RecordingCanvas::Of(CanvasOp::Kind kind) const {
  std::vector<CanvasOp> out;
  for (const CanvasOp& op : ops) {
    if (op.kind == kind) out.push_back(op);
  }
  return out;
}

std::vector<CanvasOp> RecordingCanvas::Polygons() const {
  std::vector<CanvasOp> out;
  for (const CanvasOp& op : ops) {
    if (op.kind == CanvasOp::Kind::Polygon) out.push_back(op);
    if (op.kind != CanvasOp::Kind::PolyPolygon) continue;
    std::size_t first = 0;
    for (const int count : op.counts) {
      CanvasOp one = op;
      one.kind = CanvasOp::Kind::Polygon;
      one.counts.clear();
      one.points.assign(op.points.begin() + static_cast<std::ptrdiff_t>(first),
                        op.points.begin() + static_cast<std::ptrdiff_t>(first + count));
      first += static_cast<std::size_t>(count);
      out.push_back(std::move(one));
    }
  }
  return out;
}

}  // namespace sentavo::ui
