// The cover windows over the monitors that the lock window does not fill (client/monitor_covers.h):
// topmost, never activated, the lock window's black, without controls, and every click, touch or
// pen tap on them ends there.
#pragma once

#include <windows.h>

#include <vector>

#include "client/monitor_covers.h"

namespace sentavo::client {

class MonitorCovers {
 public:
  MonitorCovers() = default;
  MonitorCovers(const MonitorCovers&) = delete;
  MonitorCovers& operator=(const MonitorCovers&) = delete;
  ~MonitorCovers() { Remove(); }

  // Covers every monitor but the one `lockWindow` is on (it fills that one while locked), as the
  // monitors are now; called again when the display changes.
  void Cover(HWND lockWindow);
  // Puts covers on exactly these rectangles, on top of every other window.
  void Place(const std::vector<ScreenRect>& rects);
  void Remove() { Place({}); }
  const std::vector<HWND>& windows() const { return covers_; }

 private:
  std::vector<HWND> covers_;
};

}  // namespace sentavo::client
