#include "lockengine/bu_mouse_positionner.h"

#include <cmath>
#include <utility>

namespace sentavo::lockengine {
namespace {

// One step: 1/n of what is left between `from` and `to`.
Point StepTowards(Point from, Point to, std::int32_t n) {
  const double dx = (static_cast<double>(to.x) - from.x) / n;
  const double dy = (static_cast<double>(to.y) - from.y) / n;
  return {RoundHalfEven(from.x + dx), RoundHalfEven(from.y + dy)};
}

}  // namespace

std::int32_t RoundHalfEven(double value) {
  const double whole = std::floor(value);
  const double fraction = value - whole;
  double result = whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) result += 1.0;
  return static_cast<std::int32_t>(result);
}

TBUMousePositionner::TBUMousePositionner(ui::Component* owner, std::string name,
                                         CursorDevice& device)
    : ui::Component(owner, std::move(name)), device_(device) {}

Point TBUMousePositionner::ControlCentre() const {
  const Rect client = Control->ClientRect();
  return Control->ClientToScreen(
      {client.left + client.Width() / 2, client.top + client.Height() / 2});
}

void TBUMousePositionner::Execute(std::int32_t steps, std::uint32_t delay) {
  if (!Control) return;
  for (std::int32_t n = steps; n >= 1; --n) {
    const Point c = device_.CursorPos();
    device_.SetCursorPos(StepTowards(c, ControlCentre(), n));
    device_.Sleep(delay);
  }
}

void TBUMousePositionner::ExecuteEx(const Point& point, std::int32_t steps, std::uint32_t delay) {
  for (std::int32_t n = steps; n >= 1; --n) {
    const Point c = device_.CursorPos();
    const double dx = (static_cast<double>(point.x) - c.x) / n;
    const double dy = (static_cast<double>(point.y) - c.y) / n;
    if (RoundHalfEven(dx) == 0 && RoundHalfEven(dy) == 0) continue;
    device_.SetCursorPos({RoundHalfEven(c.x + dx), RoundHalfEven(c.y + dy)});
    device_.Sleep(delay);
  }
}

}  // namespace sentavo::lockengine
