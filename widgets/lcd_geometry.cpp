#include "widgets/lcd_geometry.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace sentavo::widgets {
namespace {

constexpr unsigned Segs(std::initializer_list<int> list) {
  unsigned bits = 0;
  for (int s : list) bits |= 1u << s;
  return bits;
}

// Halves go to the even neighbour.
int RoundEven(double v) {
  return static_cast<int>(std::nearbyint(v));
}

bool IsAllowed(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == ' ' || c == '-' || c == '.' ||
         c == ':';
}

enum class Orientation { Horizontal, Vertical };

struct Origin {
  int x, y, thickness;  // signed thickness
  Orientation orientation;
  int length;
};

Origin SegmentOrigin(const LcdLayout& k, int cell, int segment) {
  const int x0 = k.CellLeft(cell);
  const int lowerY = k.dots ? k.m - k.t / 2 : k.m + k.gy;
  switch (segment) {
    case 1: return {x0 + k.gx, 0, k.t, Orientation::Horizontal, k.L};
    case 7: return {x0 + k.gx, k.h, -k.t, Orientation::Horizontal, k.L};
    case 4: return {x0 + k.gx, k.m - k.t / 2, k.t, Orientation::Horizontal, k.L};
    case 2: return {x0, k.gy, k.t, Orientation::Vertical, k.V};
    case 3: return {x0 + k.w, k.gy, -k.t, Orientation::Vertical, k.V};
    case 5: return {x0, lowerY, k.t, Orientation::Vertical, k.V};
    default: return {x0 + k.w, lowerY, -k.t, Orientation::Vertical, k.V};  // 6
  }
}

std::vector<ui::Point> BarPolygon(const LcdLayout& k, int segment, const Origin& o) {
  const int X = o.x, Y = o.y, T = o.thickness, t = k.t, len = o.length;
  if (o.orientation == Orientation::Vertical) {
    const int r = RoundEven(T / 4.0);
    return {{X + r, Y},       {X, Y + t / 2},       {X, Y + len - t / 2},
            {X + r, Y + len}, {X + T, Y + len - t}, {X + T, Y + t},
            {X + r, Y}};
  }
  if (segment == 4) {  // pointed at both ends
    const int r = RoundEven(T / 2.0);
    return {{X, Y + r},           {X + t, Y},     {X + len - t, Y}, {X + len, Y + r},
            {X + len - t, Y + T}, {X + t, Y + T}, {X, Y + r}};
  }
  const int r = RoundEven(T / 4.0);  // outer edge bevelled by half a thickness, inner by a whole
  return {{X, Y + r},       {X + t / 2, Y},       {X + len - t / 2, Y},
          {X + len, Y + r}, {X + len - t, Y + T}, {X + t, Y + T},
          {X, Y + r}};
}

// Which lit neighbours hide an unlit segment's first and last dot.
struct DotSkip {
  unsigned first, last;
};
DotSkip SkipRule(int segment) {
  switch (segment) {
    case 1: return {Segs({2}), Segs({3})};
    case 7: return {Segs({5}), Segs({6})};
    case 4: return {Segs({2, 5}), Segs({3, 6})};
    case 2: return {Segs({1}), Segs({4, 5})};
    case 3: return {Segs({1}), Segs({4, 6})};
    case 5: return {Segs({2, 4}), Segs({7})};
    default: return {Segs({3, 4}), Segs({7})};  // 6
  }
}

}  // namespace

unsigned LitSegments(char c) {
  switch (c) {
    case '0': return Segs({1, 2, 3, 5, 6, 7});
    case '1': return Segs({3, 6});
    case '2': return Segs({1, 3, 4, 5, 7});
    case '3': return Segs({1, 3, 4, 6, 7});
    case '4': return Segs({2, 3, 4, 6});
    case '5': return Segs({1, 2, 4, 6, 7});
    case '6': return Segs({1, 2, 4, 5, 6, 7});
    case '7': return Segs({1, 3, 6});
    case '8': return Segs({1, 2, 3, 4, 5, 6, 7});
    case '9': return Segs({1, 2, 3, 4, 6, 7});
    case '-': return Segs({4});
    case ':': return Segs({8});
    case 'A': return Segs({1, 2, 3, 4, 5, 6});
    case 'B': return Segs({2, 4, 5, 6, 7});
    case 'C': return Segs({1, 2, 5, 7});
    case 'D': return Segs({3, 4, 5, 6, 7});
    case 'E': return Segs({1, 2, 4, 5, 7});
    case 'F': return Segs({1, 2, 4, 5});
    case 'G': return Segs({1, 2, 4, 5, 6, 7});
    case 'H': return Segs({2, 4, 5, 6});
    case 'I': return Segs({3, 6});
    case 'J': return Segs({3, 6, 7});
    case 'K': return Segs({2, 3, 4, 5, 6});
    case 'L': return Segs({2, 5, 7});
    case 'M': return Segs({4, 5, 6});
    case 'N': return Segs({4, 5, 6});
    case 'O': return Segs({4, 5, 6, 7});
    case 'P': return Segs({1, 2, 3, 4, 5});
    case 'Q': return Segs({1, 2, 3, 4, 6});
    case 'R': return Segs({4, 5});
    case 'S': return Segs({1, 2, 4, 6, 7});
    case 'T': return Segs({2, 4, 5});
    case 'U': return Segs({2, 3, 5, 6, 7});
    case 'V': return Segs({2, 3, 5, 6, 7});
    case 'W': return Segs({2, 3, 5, 6, 7});
    case 'X': return Segs({2, 3, 4, 5, 6});
    case 'Y': return Segs({2, 3, 4, 6});
    case 'Z': return Segs({1, 3, 4, 5, 7});
    default: return 0;
  }
}

std::string NormalizeLcdValue(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (!std::all_of(out.begin(), out.end(), IsAllowed)) return {};
  if (!out.empty() && out.back() == '.') out.pop_back();
  return out;
}

LcdCells SplitPoints(std::string_view text) {
  LcdCells out;
  bool lastWasPoint = false;
  for (char c : text) {
    if (c == '.') {
      out.points += '.';
      if (lastWasPoint) {
        out.cells += ' ';  // two points in a row leave a blank cell between them
      } else {
        lastWasPoint = true;
      }
    } else {
      if (lastWasPoint) {
        lastWasPoint = false;
      } else {
        out.points += ' ';
      }
      out.cells += c;
    }
  }
  return out;
}

LcdCells PadCells(LcdCells split, int digitNum) {
  const std::size_t n = digitNum > 0 ? static_cast<std::size_t>(digitNum) : 0;
  auto fit = [n](std::string& s) {
    if (s.size() < n) s.insert(0, n - s.size(), ' ');
    s.resize(n);
  };
  fit(split.cells);
  fit(split.points);
  return split;
}

std::optional<LcdLayout> ComputeLcdLayout(const LcdParams& params, int width, int height) {
  const int N = params.digitNum;
  if (N < 1) return std::nullopt;
  LcdLayout k;
  k.dots = params.dotDisplay;
  k.digitNum = N;
  k.t = params.segmentSize;
  if (k.dots) {
    k.p = k.t + params.dotSpacing;
    if (k.p <= 0) return std::nullopt;
    k.s = params.digitSpacing;
    k.w = (((width - 1) / N - k.s + params.dotSpacing) / k.p) * k.p - params.dotSpacing;
    k.h = (((height - 1 - k.t) / 2) / k.p) * k.p * 2 + k.t;
    k.gx = k.gy = 0;  // every dot on the dot grid
  } else {
    k.s = params.digitSpacing + 1;
    k.w = (width - 1 - k.s - N * k.s) / N;
    k.h = height - 1;
    k.gx = params.gapX;
    k.gy = params.gapY;
  }
  k.m = k.h / 2;
  k.L = k.w - 2 * k.gx;
  k.V = k.m - 2 * k.gy;
  return k;
}

void AppendSegmentPieces(const LcdLayout& k, int cell, int segment, std::vector<LcdPiece>& out) {
  using Kind = LcdShape::Kind;
  if (segment == 8) {
    const int cw = k.L / 3, ch = k.V / 3;
    const int cx = k.CellLeft(cell) + (k.w - cw) / 2;
    out.push_back(
        {{Kind::Ellipse, 0, {}, ui::Rect{cx, k.m - 2 * ch, cx + cw, k.m - ch}.Normalized()}});
    out.push_back(
        {{Kind::Ellipse, 0, {}, ui::Rect{cx, k.m + ch, cx + cw, k.m + 2 * ch}.Normalized()}});
    return;
  }
  const Origin o = SegmentOrigin(k, cell, segment);
  if (!k.dots) {
    out.push_back({{Kind::Polygon, 0, BarPolygon(k, segment, o), {}}});
    return;
  }
  const bool horizontal = o.orientation == Orientation::Horizontal;
  const int start = horizontal ? o.x : o.y;
  const int end = start + o.length;
  for (int pos = start; pos < end; pos += k.p) {
    const ui::Rect box = horizontal ? ui::Rect{pos, o.y, pos + k.t, o.y + o.thickness}
                                    : ui::Rect{o.x, pos, o.x + o.thickness, pos + k.t};
    out.push_back({{Kind::Ellipse, 0, {}, box.Normalized()}, pos == start, pos + k.p >= end});
  }
}

bool IsPieceLeftOut(int segment, char c, const LcdPiece& piece) {
  if (segment < 1 || segment > 7 || (!piece.first && !piece.last)) return false;
  const unsigned lit = LitSegments(c);
  if ((lit >> segment) & 1u) return false;
  const DotSkip skip = SkipRule(segment);
  return (piece.first && (lit & skip.first) != 0) || (piece.last && (lit & skip.last) != 0);
}

void AppendSegmentShapes(const LcdLayout& k, int cell, int segment, char c, const LcdColors& colors,
                         std::vector<LcdShape>& out) {
  const ui::TColor color = IsLit(c, segment) ? colors.on : colors.off;
  std::vector<LcdPiece> pieces;
  AppendSegmentPieces(k, cell, segment, pieces);
  for (LcdPiece& piece : pieces) {
    if (IsPieceLeftOut(segment, c, piece)) continue;
    piece.shape.color = color;
    out.push_back(std::move(piece.shape));
  }
}

LcdShape PointShape(const LcdLayout& k, int cell, bool lit, const LcdColors& colors) {
  const int e = std::min(k.s - 2, k.t);
  const int x = (cell - 1) * (k.s + k.w) + k.s - (k.s + e) / 2;
  return {k.dots ? LcdShape::Kind::Ellipse : LcdShape::Kind::Rect,
          lit ? colors.on : colors.off,
          {},
          ui::Rect{x, k.h - e, x + e, k.h}.Normalized()};
}

void PaintShapes(ui::Canvas& canvas, std::span<const LcdShape> shapes) {
  for (const LcdShape& shape : shapes) {
    canvas.SetBrush(shape.color);
    canvas.SetPen(shape.color);
    switch (shape.kind) {
      case LcdShape::Kind::Polygon: canvas.Polygon(shape.points); break;
      case LcdShape::Kind::Ellipse: canvas.Ellipse(shape.box); break;
      case LcdShape::Kind::Rect: canvas.FillRect(shape.box); break;
    }
  }
}

}  // namespace sentavo::widgets
