#include "widgets/color_model.h"

#include <algorithm>
#include <cmath>

namespace sentavo::widgets {
namespace {

void Require(bool inRange, const char* function, const char* what) {
  if (!inRange) {
    throw EColorConv(std::string(function) + ": 0 <= " + what + " value <= 1 required");
  }
}

bool Unit(double v) {
  return v >= 0.0 && v <= 1.0;
}

// Halves go to the even neighbour, as the edge colours have always been rounded.
int RoundEven(double v) {
  return static_cast<int>(std::nearbyint(v));
}

ui::TColor ResolveWith(const ColorResolver& resolve, ui::TColor c) {
  return ui::IsSystemColor(c) && resolve ? resolve(c) : c;
}

ui::TColor Highlight(ui::TColor rgb, double f) {
  auto channel = [f](int c) { return 255 - (RoundEven((256 - c) * f) % 256); };
  return ui::MakeColor(channel(ui::RedOf(rgb)), channel(ui::GreenOf(rgb)),
                       channel(ui::BlueOf(rgb)));
}

ui::TColor Shadow(ui::TColor rgb, double f) {
  HLSValue hls = RGB2HLS(ui::RedOf(rgb) / 255.0, ui::GreenOf(rgb) / 255.0, ui::BlueOf(rgb) / 255.0);
  const RGBValue out = HLS2RGB(hls.h, std::clamp(hls.l * f, 0.0, 1.0), hls.s);
  return ui::MakeColor(RoundEven(out.r * 255), RoundEven(out.g * 255), RoundEven(out.b * 255));
}

}  // namespace

RGBValue HLS2RGB(double h, double l, double s) {
  Require(Unit(h), "HLS2RGB", "Hue");
  Require(Unit(l), "HLS2RGB", "Luminance");
  Require(Unit(s), "HLS2RGB", "Saturation");
  // Red, yellow, green, cyan, blue, magenta; the hue walks straight lines between them.
  static constexpr double kCorners[6][3] = {{1, -1, -1}, {1, 1, -1},  {-1, 1, -1},
                                            {-1, 1, 1},  {-1, -1, 1}, {1, -1, 1}};
  const double h6 = 6.0 * h;
  const int i = static_cast<int>(h6) % 6;
  const int j = (i + 1) % 6;
  const double f = h6 - std::floor(h6);
  double out[3];
  for (int c = 0; c < 3; ++c) {
    const double v = (kCorners[i][c] + f * (kCorners[j][c] - kCorners[i][c])) * s;
    const double ch = l > 0.5 ? l + (1.0 - l) * v : l * (v + 1.0);
    out[c] = std::clamp(ch, 0.0, 1.0);
  }
  return {out[0], out[1], out[2]};
}

HLSValue RGB2HLS(double r, double g, double b) {
  Require(Unit(r), "RGB2HLS", "Red");
  Require(Unit(g), "RGB2HLS", "Green");
  Require(Unit(b), "RGB2HLS", "Blue");
  const double mx = std::max({r, g, b});
  const double mn = std::min({r, g, b});
  HLSValue out;
  out.l = (mx + mn) / 2.0;
  const double d = mx - mn;
  if (d <= 0.0) return out;  // a grey: no hue, no saturation
  out.s = out.l > 0.5 ? d / (2.0 - mx - mn) : d / (mx + mn);
  double h;
  if (mx == r) {
    h = (g - b) / d;
  } else if (mx == g) {
    h = 2.0 + (b - r) / d;
  } else {
    h = 4.0 + (r - g) / d;
  }
  h /= 6.0;
  if (h < 0) h += 1.0;
  out.h = std::clamp(h, 0.0, 1.0);
  out.s = std::clamp(out.s, 0.0, 1.0);
  return out;
}

EdgeColors ContrastColors(ui::TColor color, double highlightFactor, double shadowFactor,
                          const ColorResolver& resolve) {
  const ui::TColor rgb = ResolveWith(resolve, color) & 0xFFFFFF;
  return {Highlight(rgb, highlightFactor), Shadow(rgb, shadowFactor)};
}

std::array<ui::TColor, 256> BuildGradient(ui::TColor color, TGradDirection direction,
                                          const ColorResolver& resolve) {
  const ui::TColor rgb = ResolveWith(resolve, color) & 0xFFFFFF;
  std::array<ui::TColor, 256> table{};
  for (int i = 0; i < 256; ++i) {
    if (direction == TGradDirection::gdDownRight) {
      table[i] = i < 127 ? Highlight(rgb, i / 128.0) : Shadow(rgb, (255 - i) / 128.0);
    } else {
      table[i] = i < 128 ? Shadow(rgb, i / 128.0) : Highlight(rgb, (255 - i) / 128.0);
    }
  }
  return table;
}

}  // namespace sentavo::widgets
