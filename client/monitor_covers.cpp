#include "client/monitor_covers.h"

#include <algorithm>

namespace sentavo::client {
namespace {

// `area` less `hole`: the bands above and below the hole across the whole width, then the bands
// left and right of it at the hole's height.
std::vector<ScreenRect> Subtract(const ScreenRect& area, const ScreenRect& hole) {
  const ScreenRect cut{std::max(area.left, hole.left), std::max(area.top, hole.top),
                       std::min(area.right, hole.right), std::min(area.bottom, hole.bottom)};
  if (cut.Empty()) return {area};
  const ScreenRect pieces[] = {
      {area.left, area.top, area.right, cut.top},
      {area.left, cut.bottom, area.right, area.bottom},
      {area.left, cut.top, cut.left, cut.bottom},
      {cut.right, cut.top, area.right, cut.bottom},
  };
  std::vector<ScreenRect> out;
  for (const ScreenRect& p : pieces)
    if (!p.Empty()) out.push_back(p);
  return out;
}

}  // namespace

std::vector<ScreenRect> CoverRects(const std::vector<ScreenRect>& monitors,
                                   const ScreenRect& lockWindow) {
  std::vector<ScreenRect> covers;
  for (const ScreenRect& monitor : monitors) {
    if (monitor.Empty()) continue;
    // A mirrored monitor is listed again with the same rectangle: one cover is enough.
    for (const ScreenRect& piece : Subtract(monitor, lockWindow))
      if (std::find(covers.begin(), covers.end(), piece) == covers.end()) covers.push_back(piece);
  }
  return covers;
}

}  // namespace sentavo::client
