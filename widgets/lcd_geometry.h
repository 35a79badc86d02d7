// The seven-segment display as data: the value rules, the splitting of decimal points from cells,
// the layout of a row of cells and the shapes of every segment, dot and point with its colour.
// Painting is a loop over these shapes.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/canvas.h"

namespace sentavo::widgets {

// Segments: 1 top, 2 upper left, 3 upper right, 4 middle, 5 lower left, 6 lower right, 7 bottom,
// 8 the colon.
inline constexpr int kSegmentCount = 8;

// Bit n (1 to 8) set for every segment that `c` lights; 0 for a blank or an unknown character.
unsigned LitSegments(char c);
inline bool IsLit(char c, int segment) {
  return (LitSegments(c) >> segment) & 1u;
}

// The value as stored: ASCII letters upper-cased; anything outside 0-9, A-Z, blank, "-", "." and
// ":" empties the whole text; one final "." is dropped.
std::string NormalizeLcdValue(std::string_view text);

// A text split into cells and the decimal points before them; both strings have equal length.
struct LcdCells {
  std::string cells;
  std::string points;
  bool operator==(const LcdCells&) const = default;
};
LcdCells SplitPoints(std::string_view text);
// Right-aligned in `digitNum` cells: blanks added on the left, cells past `digitNum` cut.
LcdCells PadCells(LcdCells split, int digitNum);

struct LcdParams {
  int digitNum = 4;
  int digitSpacing = 5;
  int segmentSize = 2;
  int gapX = 2;
  int gapY = 2;
  bool dotDisplay = false;
  int dotSpacing = 2;
  bool operator==(const LcdParams&) const = default;
};

struct LcdLayout {
  bool dots = false;
  int digitNum = 0;
  int t = 0;   // segment thickness, dot diameter
  int p = 0;   // dot pitch (dot mode)
  int s = 0;   // space before each cell
  int w = 0;   // cell width
  int h = 0;   // cell height
  int gx = 0;  // horizontal inset
  int gy = 0;  // vertical inset
  int m = 0;   // middle line
  int L = 0;   // horizontal segment length
  int V = 0;   // vertical segment length

  int CellLeft(int cell) const { return (cell - 1) * (s + w) + s; }  // cells count from 1
};

// Empty when nothing can be drawn: fewer than one cell, or a dot pitch of 0 or less in dot mode.
std::optional<LcdLayout> ComputeLcdLayout(const LcdParams& params, int width, int height);

struct LcdShape {
  enum class Kind { Polygon, Ellipse, Rect };
  Kind kind = Kind::Polygon;
  ui::TColor color = 0;
  std::vector<ui::Point> points;  // Polygon
  ui::Rect box;                   // Ellipse, Rect (normalised)
};

struct LcdColors {
  ui::TColor on;
  ui::TColor off;
};

// One shape of a segment whatever the cell shows (its colour unset): the bar, a dot of the colon,
// or a dot of the dot grid, where `first` and `last` mark the segment's end dots.
struct LcdPiece {
  LcdShape shape;
  bool first = false;
  bool last = false;
};
void AppendSegmentPieces(const LcdLayout& layout, int cell, int segment,
                         std::vector<LcdPiece>& out);
// Whether the cell showing `c` leaves out this piece of `segment`: in dot mode an unlit segment
// leaves out the corner dots it shares with a lit neighbour.
bool IsPieceLeftOut(int segment, char c, const LcdPiece& piece);

// The shapes of one segment of cell `cell` (from 1) showing `c`, each in its colour: its pieces
// less those left out.
void AppendSegmentShapes(const LcdLayout& layout, int cell, int segment, char c,
                         const LcdColors& colors, std::vector<LcdShape>& out);
// The decimal point in the space before cell `cell`.
LcdShape PointShape(const LcdLayout& layout, int cell, bool lit, const LcdColors& colors);

// Shape by shape, each with its own brush and pen, in the order given.
void PaintShapes(ui::Canvas& canvas, std::span<const LcdShape> shapes);

}  // namespace sentavo::widgets
