// Plain geometry shared by the portable models and the Win32 windows.
#pragma once

#include <ostream>

namespace sentavo::ui {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  bool operator==(const Size&) const = default;
};

// Right and bottom are excluded, as everywhere in GDI.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  Rect Inflated(int d) const { return {left - d, top - d, right + d, bottom + d}; }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  // The same box with left <= right and top <= bottom.
  Rect Normalized() const {
    return {left < right ? left : right, top < bottom ? top : bottom, left < right ? right : left,
            top < bottom ? bottom : top};
  }
  bool operator==(const Rect&) const = default;
};

// A place on a form as the forms give it: left, top, width, height.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;

  Rect ToRect() const { return {left, top, left + width, top + height}; }
  bool operator==(const Bounds&) const = default;
};

// Readable values in test failures.
inline std::ostream& operator<<(std::ostream& os, const Point& p) {
  return os << "(" << p.x << ", " << p.y << ")";
}
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

}  // namespace sentavo::ui
