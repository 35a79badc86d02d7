// What the lock leaves uncovered on a PC with more than one monitor. The lock window fills one
// monitor; clicks, touch and pen on any other reach whatever the last guest left open there, and
// pulling the pointer back every few milliseconds does not stop them. So every part of the screen
// that the lock window does not fill gets a cover window of its own.
#pragma once

#include <vector>

namespace sentavo::client {

// A rectangle in screen pixels, right and bottom excluded.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const ScreenRect&) const = default;
};

// The rectangles to cover: each monitor less the lock window, in the monitors' order, each piece
// once. A monitor the lock window fills needs none; one it fills in part (a window not yet
// maximised, monitors that overlap) gets up to four bands around it, so that a cover never lies
// over the lock window itself.
std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect>& monitors,
                                   const ScreenRect& lockWindow);

}  // namespace sentavo::client
