// The replacement start button's view of the Windows shell: the taskbar ("Shell_TrayWnd") and its
// start button, found anew each time, the panel laid into the taskbar, and the measuring of a
// popup menu. TSystemLock decides; this only does.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "lockengine/shell_types.h"

namespace sentavo::lockengine {

// A message any program may send to the panel to click the replacement.
inline constexpr std::uint32_t kStartPanelClickMessage = 0x0400 + 193;  // 1217

// tStartPanel: a child window of the taskbar carrying the replacement's control, which it owns.
class StartPanel {
 public:
  virtual ~StartPanel() = default;  // destroys the window together with the control
  virtual WindowHandle Handle() const = 0;
  virtual StartControl& Control() = 0;
};

class StartButtonHost {
 public:
  virtual ~StartButtonHost() = default;
  // The real start button's window rectangle on the screen; empty when the taskbar or its start
  // button cannot be found.
  virtual std::optional<Rect> FindStartButton() = 0;
  virtual void BringTaskbarToForeground() = 0;
  // A picture of the real start button (a straight pixel copy of its window), sized to `button`.
  virtual std::unique_ptr<StartControl> CapturePicture(const Rect& button) = 0;
  // Lays a panel of the button's size into the taskbar's top-left corner and places `control` in
  // it; empty when the taskbar has gone meanwhile.
  virtual std::unique_ptr<StartPanel> CreatePanel(const Rect& button,
                                                  std::unique_ptr<StartControl> control) = 0;
  // MeasureMenuHeight: pops the menu up at `at`, closed at once by a queued Escape, and sums the
  // heights of the item rectangles the system reports.
  virtual std::int32_t MeasureMenuHeight(PopupMenuRef& menu, Point at) = 0;
};

}  // namespace sentavo::lockengine
