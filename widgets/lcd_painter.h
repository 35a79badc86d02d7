// The display's shapes for one geometry, kept from repaint to repaint, and the painting of a
// repaint with one fill per colour. A repaint draws the same few dozen shapes every second; what
// costs is the drawing calls and the pen and brush changes between them, not the shapes. The
// painter paints the queued shapes by colour, leaving the order of drawing only where two shapes
// of different colours could touch the same pixel, so the picture is the one that drawing them
// one by one in order would give.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ui/canvas.h"
#include "widgets/lcd_geometry.h"

namespace sentavo::widgets {

class LcdPainter {
 public:
  // The layout for `params` at this size, or nullptr when nothing can be drawn. The shapes are
  // computed again only when the parameters or the size differ from the last call's; whatever is
  // still queued is dropped.
  const LcdLayout* Prepare(const LcdParams& params, int width, int height);

  // Queue shapes, in the order of drawing, for the layout of the last Prepare.
  void AddSegment(int cell, int segment, char c, const LcdColors& colors);
  void AddPoint(int cell, bool lit, const LcdColors& colors);

  // Paints and empties the queue.
  void Flush(ui::Canvas& canvas);

 private:
  struct Piece {
    LcdPiece piece;
    std::vector<ui::Point> hull;  // every pixel it paints lies within half a pixel of it
    std::vector<int> neighbours;  // pieces whose pixels may touch this one's
  };
  struct Queued {
    int piece;
    ui::TColor color;
    int layer = 0;
  };
  // The highest layer a piece has been queued in, in one colour.
  struct Mark {
    ui::TColor color;
    int layer;
  };

  void Build();
  int First(int cell, int segment) const {
    return starts_[static_cast<std::size_t>((cell - 1) * 9 + segment)];
  }

  std::optional<LcdParams> params_;
  int width_ = 0, height_ = 0;
  std::optional<LcdLayout> layout_;
  std::vector<Piece> pieces_;
  std::vector<int> starts_;  // the first piece of each cell's point (0) and segments (1 to 8)
  std::vector<Queued> queue_;
  // Flush's working space, one entry a piece, kept for the next repaint.
  std::vector<std::vector<Mark>> marks_;
  std::vector<int> state_;
};

}  // namespace sentavo::widgets
