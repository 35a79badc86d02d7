// Plain types shared by the lock engine's components and the small interfaces through which they
// reach the controls, menus and forms of the window layer. Handles are opaque integers here; only
// the _win files turn them back into HWND, HMENU or HICON.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "ui/component.h"

namespace sentavo::lockengine {

using WindowHandle = std::uintptr_t;  // HWND
using MenuHandle = std::uintptr_t;    // HMENU
using IconHandle = std::uintptr_t;    // HICON

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// The set of Shift, Alt and Ctrl held with a key or a click.
struct TShiftState {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;
  bool operator==(const TShiftState&) const = default;
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TNotifyEvent = std::function<void(ui::Component& sender)>;

// A form: the component that owns the others and has a top-level window. Components bring their
// owner to the foreground when it is one.
class FormWindow {
 public:
  virtual ~FormWindow() = default;
  virtual WindowHandle FormHandle() const = 0;
};

// A popup menu of the window layer. `Popup` shows it at a screen position and returns when it has
// closed (the chosen item's handler has run by then).
class PopupMenuRef : public ui::Component {
 public:
  using ui::Component::Component;
  virtual MenuHandle Handle() const = 0;
  virtual void Popup(std::int32_t x, std::int32_t y) = 0;
};

// The frames of an animated tray icon. The list keeps owning the icons it hands out.
class ImageListRef {
 public:
  virtual ~ImageListRef() = default;
  virtual int Count() const = 0;
  virtual IconHandle IconAt(int index) const = 0;
};

// What the mouse positioner needs of a control: its client rectangle and the mapping of client
// coordinates to the screen.
class ControlGeometry {
 public:
  virtual ~ControlGeometry() = default;
  virtual Rect ClientRect() const = 0;
  virtual Point ClientToScreen(Point client) const = 0;
};

// The control shown by the replacement start button: a copy of a speed button or a picture of the
// real start button.
class StartControl {
 public:
  virtual ~StartControl() = default;
  // Replaces the click handler, whatever it was.
  virtual void SetOnClick(std::function<void()> handler) = 0;
  // Makes the control a child of `panel` at (0, 0, width, height) and shows it.
  virtual void PlaceIn(WindowHandle panel, std::int32_t width, std::int32_t height) = 0;
  // Exactly what a mouse click does.
  virtual void Click() = 0;
};

// A speed button that the replacement start button can copy: a new instance of the same class,
// without owner, with every stored property of this one (name aside).
class CopyableButton : public ui::Component, public StartControl {
 public:
  using ui::Component::Component;
  virtual std::unique_ptr<CopyableButton> CopyStoredProperties() const = 0;
};

}  // namespace sentavo::lockengine
