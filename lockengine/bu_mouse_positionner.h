// TBUMousePositionner: moves the mouse cursor to a point, or to the centre of a control, in a
// number of steps; each step covers its share of the distance still left, so the last one lands
// exactly even when the user moves the mouse in between.
#pragma once

#include <cstdint>
#include <string>

#include "lockengine/shell_types.h"
#include "ui/component.h"

namespace sentavo::lockengine {

class CursorDevice {
 public:
  virtual ~CursorDevice() = default;
  virtual Point CursorPos() = 0;
  virtual void SetCursorPos(Point at) = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

// Rounds to the nearest integer, halves to the even neighbour (1.5 -> 2, 2.5 -> 2, -0.5 -> 0).
std::int32_t RoundHalfEven(double value);

class TBUMousePositionner : public ui::Component {
 public:
  TBUMousePositionner(ui::Component* owner, std::string name, CursorDevice& device);

  // The target of Execute; a plain field, not watched for destruction.
  const ControlGeometry* Control = nullptr;

  // To the centre of Control's client area, recomputed at every step.
  void Execute(std::int32_t steps, std::uint32_t delay);
  // To `point` (screen coordinates). A step whose share rounds to nothing on both axes is
  // skipped, sleep and all; the last step always lands on the point.
  void ExecuteEx(const Point& point, std::int32_t steps, std::uint32_t delay);

 private:
  Point ControlCentre() const;
  CursorDevice& device_;
};

}  // namespace sentavo::lockengine
