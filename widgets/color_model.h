// The colour arithmetic of the colour button: the HLS model with hue as a fraction of a turn, the
// light and dark edge colours derived from a face colour, and the gradient table.
#pragma once

#include <array>
#include <functional>
#include <stdexcept>
#include <string>

#include "ui/color.h"

namespace sentavo::widgets {

// An input outside [0, 1].
class EColorConv : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct RGBValue {
  double r = 0, g = 0, b = 0;
};
struct HLSValue {
  double h = 0, l = 0, s = 0;
};

// All values from 0 to 1; anything outside raises EColorConv naming the value.
RGBValue HLS2RGB(double h, double l, double s);
HLSValue RGB2HLS(double r, double g, double b);

// Turns a system colour code into the system's current colour; plain colours pass through.
using ColorResolver = std::function<ui::TColor(ui::TColor)>;

struct EdgeColors {
  ui::TColor highlight;
  ui::TColor shadow;
};

// The highlight moves every channel towards white by `highlightFactor` (1 leaves it, 0 makes it
// white); the shadow scales the luminance by `shadowFactor`.
EdgeColors ContrastColors(ui::TColor color, double highlightFactor, double shadowFactor,
                          const ColorResolver& resolve);

enum class TGradDirection { gdDownRight, gdUpLeft };

// 256 colours, entry 0 drawn at the top or left: white through `color` to black for gdDownRight,
// the reverse for gdUpLeft.
std::array<ui::TColor, 256> BuildGradient(ui::TColor color, TGradDirection direction,
                                          const ColorResolver& resolve);

}  // namespace sentavo::widgets
