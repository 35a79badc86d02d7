#include "widgets/lcd_painter.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace sentavo::widgets {
namespace {

using ui::Point;

// Convex hull, counter-clockwise without collinear points; one or two points for a degenerate set.
std::vector<Point> Hull(std::vector<Point> pts) {
  std::sort(pts.begin(), pts.end(),
            [](const Point& a, const Point& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
  pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
  if (pts.size() < 3) return pts;
  const auto cross = [](const Point& o, const Point& a, const Point& b) {
    return static_cast<long long>(a.x - o.x) * (b.y - o.y) -
           static_cast<long long>(a.y - o.y) * (b.x - o.x);
  };
  std::vector<Point> hull(2 * pts.size());
  std::size_t k = 0;
  for (const Point& p : pts) {
    while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (std::size_t i = pts.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0) --k;
    hull[k++] = pts[i];
  }
  hull.resize(k - 1);
  return hull;
}

// Every pixel a shape paints lies within half a pixel (in x and in y) of its hull: a filled pixel
// has its corner or centre inside, an outline pixel is the nearest to the line it follows. Two
// shapes whose hulls lie two pixels apart or more can therefore share no pixel.
constexpr long long kApart = 2;

void Project(const std::vector<Point>& hull, long long nx, long long ny, long long& lo,
             long long& hi) {
  lo = hi = nx * hull[0].x + ny * hull[0].y;
  for (const Point& p : hull) {
    const long long v = nx * p.x + ny * p.y;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
}

// True when some axis keeps the two hulls at least kApart apart (measured as the largest of the
// distances in x and in y). Looking only at the edges' normals and the two axes is exact for
// convex shapes; for a degenerate hull it may answer "near" too often, never too rarely.
bool FarApart(const std::vector<Point>& a, const std::vector<Point>& b) {
  const auto separates = [&](long long nx, long long ny) {
    long long aLo, aHi, bLo, bHi;
    Project(a, nx, ny, aLo, aHi);
    Project(b, nx, ny, bLo, bHi);
    return std::max(bLo - aHi, aLo - bHi) >= kApart * (std::llabs(nx) + std::llabs(ny));
  };
  if (separates(1, 0) || separates(0, 1)) return true;
  for (const std::vector<Point>* hull : {&a, &b}) {
    const std::vector<Point>& h = *hull;
    if (h.size() < 2) continue;
    for (std::size_t i = 0; i < h.size(); ++i) {
      const Point& p = h[i];
      const Point& q = h[(i + 1) % h.size()];
      if (separates(q.y - p.y, p.x - q.x)) return true;
    }
  }
  return false;
}

std::vector<Point> HullOf(const LcdShape& shape) {
  if (shape.kind == LcdShape::Kind::Polygon) return Hull(shape.points);
  // Ellipses and rectangles paint inside their box; its right and bottom edge are room to spare.
  const ui::Rect& r = shape.box;
  return Hull({{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}});
}

}  // namespace

const LcdLayout* LcdPainter::Prepare(const LcdParams& params, int width, int height) {
  queue_.clear();
  if (!params_ || !(*params_ == params) || width != width_ || height != height_) {
    params_ = params;
    width_ = width;
    height_ = height;
    Build();
  }
  return layout_ ? &*layout_ : nullptr;
}

void LcdPainter::Build() {
  pieces_.clear();
  starts_.clear();
  layout_ = ComputeLcdLayout(*params_, width_, height_);
  if (!layout_) return;
  const LcdLayout& k = *layout_;
  std::vector<LcdPiece> pieces;
  for (int cell = 1; cell <= k.digitNum; ++cell) {
    for (int segment = 0; segment <= 8; ++segment) {
      starts_.push_back(static_cast<int>(pieces.size()));
      if (segment == 0) {
        pieces.push_back({PointShape(k, cell, false, {0, 0})});
      } else {
        AppendSegmentPieces(k, cell, segment, pieces);
      }
    }
  }
  starts_.push_back(static_cast<int>(pieces.size()));
  for (LcdPiece& p : pieces) {
    std::vector<Point> hull = HullOf(p.shape);
    pieces_.push_back({std::move(p), std::move(hull), {}});
  }
  // Which pieces are near one another: a sweep from left to right, since cells stand in a row.
  struct Span {
    int left, right, top, bottom;
  };
  std::vector<Span> spans;
  for (const Piece& p : pieces_) {
    Span s{p.hull[0].x, p.hull[0].x, p.hull[0].y, p.hull[0].y};
    for (const Point& q : p.hull) {
      s.left = std::min(s.left, q.x);
      s.right = std::max(s.right, q.x);
      s.top = std::min(s.top, q.y);
      s.bottom = std::max(s.bottom, q.y);
    }
    spans.push_back(s);
  }
  std::vector<int> order(pieces_.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&](int a, int b) { return spans[a].left < spans[b].left; });
  for (std::size_t i = 0; i < order.size(); ++i) {
    const Span& a = spans[order[i]];
    for (std::size_t j = i + 1; j < order.size(); ++j) {
      const Span& b = spans[order[j]];
      if (b.left - a.right >= kApart) break;
      if (b.top - a.bottom >= kApart || a.top - b.bottom >= kApart) continue;
      if (FarApart(pieces_[order[i]].hull, pieces_[order[j]].hull)) continue;
      pieces_[order[i]].neighbours.push_back(order[j]);
      pieces_[order[j]].neighbours.push_back(order[i]);
    }
  }
}

void LcdPainter::AddSegment(int cell, int segment, char c, const LcdColors& colors) {
  const ui::TColor color = IsLit(c, segment) ? colors.on : colors.off;
  for (int i = First(cell, segment), end = First(cell, segment + 1); i < end; ++i) {
    if (!IsPieceLeftOut(segment, c, pieces_[static_cast<std::size_t>(i)].piece))
      queue_.push_back({i, color});
  }
}

void LcdPainter::AddPoint(int cell, bool lit, const LcdColors& colors) {
  queue_.push_back({First(cell, 0), lit ? colors.on : colors.off});
}

void LcdPainter::Flush(ui::Canvas& canvas) {
  if (queue_.empty()) return;
  // Layers: a shape goes above every earlier one of another colour that may share a pixel with
  // it. Within a layer no two shapes of different colours touch, so the layer may be painted
  // colour by colour.
  marks_.resize(pieces_.size());
  for (Queued& q : queue_) {
    int layer = 0;
    const auto above = [&](int other) {
      for (const Mark& m : marks_[static_cast<std::size_t>(other)]) {
        if (m.color != q.color) layer = std::max(layer, m.layer + 1);
      }
    };
    const Piece& piece = pieces_[static_cast<std::size_t>(q.piece)];
    above(q.piece);
    for (const int other : piece.neighbours) above(other);
    q.layer = layer;
    std::vector<Mark>& own = marks_[static_cast<std::size_t>(q.piece)];
    const auto same =
        std::find_if(own.begin(), own.end(), [&](const Mark& m) { return m.color == q.color; });
    if (same == own.end()) {
      own.push_back({q.color, layer});
    } else {
      same->layer = std::max(same->layer, layer);
    }
  }
  for (const Queued& q : queue_) marks_[static_cast<std::size_t>(q.piece)].clear();
  std::stable_sort(queue_.begin(), queue_.end(),
                   [](const Queued& a, const Queued& b) { return a.layer < b.layer; });

  // The polygons of one fill must not overlap, so near ones go into separate fills; a piece
  // queued twice in one colour and layer is painted once.
  constexpr int kNotYet = -1, kDrawn = -2;  // or the polygon's fill
  state_.assign(pieces_.size(), kNotYet);
  std::vector<Point> points;
  std::vector<int> counts;
  std::optional<ui::TColor> lastColor;
  for (std::size_t begin = 0; begin < queue_.size();) {
    std::size_t end = begin;
    while (end < queue_.size() && queue_[end].layer == queue_[begin].layer) ++end;
    std::vector<ui::TColor> colors;
    for (std::size_t i = begin; i < end; ++i) {
      if (std::find(colors.begin(), colors.end(), queue_[i].color) == colors.end())
        colors.push_back(queue_[i].color);
    }
    // The colour the last layer ended with goes on: one change of pen and brush fewer.
    const auto current = std::find(colors.begin(), colors.end(), lastColor);
    if (current != colors.end()) std::rotate(colors.begin(), current, current + 1);
    for (const ui::TColor color : colors) {
      canvas.SetBrush(color);
      canvas.SetPen(color);
      lastColor = color;
      std::vector<std::vector<int>> fills;
      std::vector<int> painted;
      for (std::size_t i = begin; i < end; ++i) {
        const auto index = static_cast<std::size_t>(queue_[i].piece);
        if (queue_[i].color != color || state_[index] != kNotYet) continue;
        const Piece& piece = pieces_[index];
        const LcdShape& shape = piece.piece.shape;
        painted.push_back(queue_[i].piece);
        if (shape.kind != LcdShape::Kind::Polygon) {
          state_[index] = kDrawn;
          if (shape.kind == LcdShape::Kind::Ellipse) {
            canvas.Ellipse(shape.box);
          } else {
            canvas.FillRect(shape.box);
          }
          continue;
        }
        int fill = 0;
        while (std::any_of(piece.neighbours.begin(), piece.neighbours.end(), [&](int other) {
          return state_[static_cast<std::size_t>(other)] == fill;
        }))
          ++fill;
        if (fill == static_cast<int>(fills.size())) fills.emplace_back();
        fills[static_cast<std::size_t>(fill)].push_back(queue_[i].piece);
        state_[index] = fill;
      }
      for (const std::vector<int>& fill : fills) {
        if (fill.size() == 1) {
          canvas.Polygon(pieces_[static_cast<std::size_t>(fill[0])].piece.shape.points);
          continue;
        }
        points.clear();
        counts.clear();
        for (const int index : fill) {
          const auto& p = pieces_[static_cast<std::size_t>(index)].piece.shape.points;
          points.insert(points.end(), p.begin(), p.end());
          counts.push_back(static_cast<int>(p.size()));
        }
        canvas.PolyPolygon(points, counts);
      }
      for (const int index : painted) state_[static_cast<std::size_t>(index)] = kNotYet;
    }
    begin = end;
  }
  queue_.clear();
}

}  // namespace sentavo::widgets
