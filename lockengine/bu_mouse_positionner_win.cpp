#include "lockengine/bu_mouse_positionner_win.h"

namespace sentavo::lockengine {

Point Win32Cursor::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

void Win32Cursor::SetCursorPos(Point at) {
  ::SetCursorPos(at.x, at.y);
}

void Win32Cursor::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

Rect WindowGeometry::ClientRect() const {
  RECT r{};
  GetClientRect(window_, &r);
  return {r.left, r.top, r.right, r.bottom};
}

Point WindowGeometry::ClientToScreen(Point client) const {
  POINT p{client.x, client.y};
  ::ClientToScreen(window_, &p);
  return {p.x, p.y};
}

CursorDevice& SystemCursor() {
  static Win32Cursor cursor;
  return cursor;
}

}  // namespace sentavo::lockengine
