// The mouse positioner's cursor on Windows, and a control's geometry from its window.
#pragma once

#include <windows.h>

#include "lockengine/bu_mouse_positionner.h"

namespace sentavo::lockengine {

// The one cursor of the desktop, for every positioner of the process.
CursorDevice& SystemCursor();

class Win32Cursor final : public CursorDevice {
 public:
  Point CursorPos() override;
  void SetCursorPos(Point at) override;
  void Sleep(std::uint32_t milliseconds) override;
};

// A control as the positioner sees it: its window's client area.
class WindowGeometry final : public ControlGeometry {
 public:
  explicit WindowGeometry(HWND window) : window_(window) {}
  Rect ClientRect() const override;
  Point ClientToScreen(Point client) const override;

 private:
  HWND window_;
};

}  // namespace sentavo::lockengine
