// The colour model: the worked examples, the inverse, the error messages and the gradient table.
#include "widgets/color_model.h"

#include <gtest/gtest.h>

#include <functional>

namespace sentavo::widgets {
namespace {

using ui::MakeColor;

ui::TColor Classic(ui::TColor c) {
  return ui::ClassicSystemColor(ui::SystemColorIndex(c));
}

TEST(ColorModel, WorkedExamplesWithTheInitialContrasts) {
  struct Case {
    ui::TColor color, highlight, shadow;
  };
  for (const Case& c :
       {Case{MakeColor(255, 0, 0), MakeColor(255, 127, 127), MakeColor(102, 0, 0)},
        Case{MakeColor(192, 192, 192), MakeColor(223, 223, 223), MakeColor(77, 77, 77)},
        Case{MakeColor(0, 64, 0), MakeColor(127, 159, 127), MakeColor(0, 26, 0)}}) {
    const EdgeColors e = ContrastColors(c.color, 0.5, 0.4, Classic);
    EXPECT_EQ(e.highlight, c.highlight) << std::hex << c.color;
    EXPECT_EQ(e.shadow, c.shadow) << std::hex << c.color;
  }
}

TEST(ColorModel, FullHighlightWrapsZeroToWhiteAndTakesOneFromTheRest) {
  const EdgeColors e = ContrastColors(MakeColor(0, 1, 200), 1.0, 1.0, Classic);
  EXPECT_EQ(e.highlight, MakeColor(255, 0, 199));
}

TEST(ColorModel, SystemColoursAreResolvedFirst) {
  const EdgeColors sys = ContrastColors(ui::clBtnFace, 0.5, 0.4, Classic);
  const EdgeColors plain = ContrastColors(Classic(ui::clBtnFace), 0.5, 0.4, Classic);
  EXPECT_EQ(sys.highlight, plain.highlight);
  EXPECT_EQ(sys.shadow, plain.shadow);
}

TEST(ColorModel, HlsOfThePrimariesAndGreys) {
  const HLSValue red = RGB2HLS(1, 0, 0);
  EXPECT_DOUBLE_EQ(red.h, 0);
  EXPECT_DOUBLE_EQ(red.l, 0.5);
  EXPECT_DOUBLE_EQ(red.s, 1);
  EXPECT_NEAR(RGB2HLS(1, 1, 0).h, 1.0 / 6, 1e-12);
  EXPECT_NEAR(RGB2HLS(0, 1, 0).h, 1.0 / 3, 1e-12);
  EXPECT_NEAR(RGB2HLS(0, 1, 1).h, 0.5, 1e-12);
  EXPECT_NEAR(RGB2HLS(0, 0, 1).h, 2.0 / 3, 1e-12);
  EXPECT_NEAR(RGB2HLS(1, 0, 1).h, 5.0 / 6, 1e-12);
  const HLSValue grey = RGB2HLS(0.3, 0.3, 0.3);
  EXPECT_EQ(grey.h, 0);
  EXPECT_EQ(grey.s, 0);
  EXPECT_DOUBLE_EQ(grey.l, 0.3);
  const RGBValue blue = HLS2RGB(2.0 / 3, 0.5, 1);
  EXPECT_NEAR(blue.r, 0, 1e-12);
  EXPECT_NEAR(blue.g, 0, 1e-12);
  EXPECT_NEAR(blue.b, 1, 1e-12);
  EXPECT_NEAR(HLS2RGB(1.0, 0.5, 1).r, 1, 1e-12);  // a full turn is red again
}

TEST(ColorModel, HlsIsTheInverseOfRgb) {
  for (int r = 0; r <= 255; r += 15) {
    for (int g = 0; g <= 255; g += 17) {
      for (int b = 0; b <= 255; b += 51) {
        const HLSValue hls = RGB2HLS(r / 255.0, g / 255.0, b / 255.0);
        const RGBValue rgb = HLS2RGB(hls.h, hls.l, hls.s);
        ASSERT_NEAR(rgb.r * 255, r, 1e-6) << r << "," << g << "," << b;
        ASSERT_NEAR(rgb.g * 255, g, 1e-6) << r << "," << g << "," << b;
        ASSERT_NEAR(rgb.b * 255, b, 1e-6) << r << "," << g << "," << b;
      }
    }
  }
}

void ExpectMessage(const std::function<void()>& f, const std::string& message) {
  try {
    f();
    ADD_FAILURE() << "no EColorConv for " << message;
  } catch (const EColorConv& e) {
    EXPECT_EQ(e.what(), message);
  }
}

TEST(ColorModel, OutOfRangeInputsNameTheValue) {
  ExpectMessage([] { HLS2RGB(1.5, 0, 0); }, "HLS2RGB: 0 <= Hue value <= 1 required");
  ExpectMessage([] { HLS2RGB(0, -0.1, 0); }, "HLS2RGB: 0 <= Luminance value <= 1 required");
  ExpectMessage([] { HLS2RGB(0, 0, 2); }, "HLS2RGB: 0 <= Saturation value <= 1 required");
  ExpectMessage([] { RGB2HLS(-1, 0, 0); }, "RGB2HLS: 0 <= Red value <= 1 required");
  ExpectMessage([] { RGB2HLS(0, 1.01, 0); }, "RGB2HLS: 0 <= Green value <= 1 required");
  ExpectMessage([] { RGB2HLS(0, 0, 7); }, "RGB2HLS: 0 <= Blue value <= 1 required");
  EXPECT_NO_THROW(HLS2RGB(0, 1, 1));
  EXPECT_NO_THROW(RGB2HLS(1, 1, 1));
}

TEST(ColorModel, GradientRunsFromWhiteThroughTheFaceToBlack) {
  const ui::TColor red = MakeColor(255, 0, 0);
  const auto down = BuildGradient(red, TGradDirection::gdDownRight, Classic);
  EXPECT_EQ(down[0], ui::clWhite);
  EXPECT_EQ(down[127], red);
  EXPECT_EQ(down[255], ui::clBlack);
  EXPECT_EQ(down[64], MakeColor(255, 127, 127));  // highlight with x = 0.5
  const auto up = BuildGradient(red, TGradDirection::gdUpLeft, Classic);
  EXPECT_EQ(up[0], ui::clBlack);
  EXPECT_EQ(up[128], MakeColor(254, 1, 1));  // the light side stops just short of the face
  EXPECT_EQ(up[255], ui::clWhite);
  // The green channel never falls and then rises again: the table is one smooth run.
  for (int i = 1; i < 256; ++i) EXPECT_LE(ui::GreenOf(down[i]), ui::GreenOf(down[i - 1])) << i;
}

}  // namespace
}  // namespace sentavo::widgets
