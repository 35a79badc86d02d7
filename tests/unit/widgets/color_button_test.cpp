// The colour button's setter rules, its event sequences and what it paints.
#include "widgets/color_button.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "ui/recording_canvas.h"

namespace sentavo::widgets {
namespace {

using ui::CanvasOp;
using ui::MakeColor;
using ui::Point;
constexpr auto L = TMouseButton::mbLeft;

// The window's side of a button, logging what the button asks of it.
class RecordingButtonHost : public ColorButtonHost {
 public:
  std::vector<ColorButtonModel*> siblings;
  int invalidated = 0, frameMoves = 0;
  bool timerRunning = false;
  std::vector<int> timerIntervals;
  bool capture = true;

  void RequestRepaint() override { ++invalidated; }
  void PaintFrameNow(bool move) override { frameMoves += move; }
  void StartRepeatTimer(std::uint16_t ms) override {
    timerRunning = true;
    timerIntervals.push_back(ms);
  }
  void StopRepeatTimer() override { timerRunning = false; }
  bool HasMouseCapture() const override { return capture; }
  std::vector<ColorButtonModel*> Siblings() override { return siblings; }
};

// The test double is both the host and the button it hosts, so that the cases read as the
// component's use; its events are logged with its name.
class Button : public RecordingButtonHost, public ColorButtonModel {
 public:
  explicit Button(std::vector<std::string>* log, std::string name)
      : ColorButtonModel(static_cast<ColorButtonHost&>(*this)), log_(log), name_(std::move(name)) {
    OnClick = [this](ColorButtonModel&) { log_->push_back(name_ + " click"); };
    OnStateChange = [this](ColorButtonModel& b) {
      log_->push_back(name_ + (b.Down() ? " down" : " up"));
    };
  }

 private:
  std::vector<std::string>* log_;
  std::string name_;
};

using Log = std::vector<std::string>;

TEST(ColorButton, InitialValues) {
  Log log;
  Button b(&log, "b");
  EXPECT_EQ(b.Color(), ui::clBtnFace);
  EXPECT_EQ(b.ContrastHighlight(), 5);
  EXPECT_EQ(b.ContrastShadow(), 6);
  EXPECT_EQ(b.BevelWidth(), 1);
  EXPECT_EQ(b.BorderStyle(), TBorderStyle::bsNormal);
  EXPECT_EQ(b.BorderColor(), ui::clBlack);
  EXPECT_EQ(b.GradientStyle(), TGradientStyle::gsNone);
  EXPECT_EQ(b.GradientDirection(), TGradDirection::gdDownRight);
  EXPECT_EQ(b.TimerDelay(), 400);
  EXPECT_EQ(b.TimerInterval(), 100);
  EXPECT_EQ(b.NumGlyphs(), 0);
  EXPECT_EQ(b.Layout(), TButtonLayout::blGlyphLeft);
  EXPECT_EQ(b.Margin(), 1);
  EXPECT_EQ(b.Spacing(), 1);
  EXPECT_EQ(b.Width(), 75);
  EXPECT_EQ(b.Height(), 25);
  EXPECT_EQ(static_cast<int>(TButtonLayout::blGlyphBottom), 0);
  // Highlight and shadow of the classic button face with the initial contrasts.
  const EdgeColors e = ContrastColors(MakeColor(212, 208, 200), 0.5, 0.4, {});
  EXPECT_EQ(b.HighlightColor(), e.highlight);
  EXPECT_EQ(b.ShadowColor(), e.shadow);
  // Built for black before the colour was set.
  EXPECT_EQ(b.GradientTable()[0], ui::clWhite);
  EXPECT_EQ(b.GradientTable()[127], ui::clBlack);
}

TEST(ColorButton, BevelWidthMustStayBelowHalfTheSides) {
  Log log;
  Button b(&log, "b");
  b.SetBevelWidth(12);  // 12 is not less than 25 / 2
  EXPECT_EQ(b.BevelWidth(), 1);
  EXPECT_EQ(b.invalidated, 0);
  b.SetBevelWidth(11);
  EXPECT_EQ(b.BevelWidth(), 11);
  EXPECT_EQ(b.invalidated, 1);
  b.SetBevelWidth(-1);
  b.SetBevelWidth(11);
  EXPECT_EQ(b.invalidated, 1);
  b.SetSize(20, 100);  // now the width limits: 10 is not less than 20 / 2
  b.SetBevelWidth(10);
  EXPECT_EQ(b.BevelWidth(), 11);
  b.SetBevelWidth(9);
  EXPECT_EQ(b.BevelWidth(), 9);
  b.SetBevelWidth(0);
  EXPECT_EQ(b.BevelWidth(), 0);
}

TEST(ColorButton, ContrastsTakeZeroToNineAndRecomputeTheEdges) {
  Log log;
  Button b(&log, "b");
  b.SetColor(MakeColor(255, 0, 0));
  EXPECT_EQ(b.HighlightColor(), MakeColor(255, 127, 127));
  EXPECT_EQ(b.ShadowColor(), MakeColor(102, 0, 0));
  const int before = b.invalidated;
  b.SetContrastHighlight(10);
  b.SetContrastShadow(-1);
  EXPECT_EQ(b.ContrastHighlight(), 5);
  EXPECT_EQ(b.ContrastShadow(), 6);
  EXPECT_EQ(b.invalidated, before);
  b.SetContrastHighlight(0);  // factor 1: channel 0 wraps to white, the rest lose one
  EXPECT_EQ(b.HighlightColor(), MakeColor(254, 255, 255));
  b.SetContrastShadow(9);  // factor 0.1
  EXPECT_EQ(b.ShadowColor(), MakeColor(26, 0, 0));
  EXPECT_EQ(b.invalidated, before + 2);
}

TEST(ColorButton, GradientFollowsTheColourWhenSwitchedOnLater) {
  Log log;
  Button b(&log, "b");
  b.SetColor(MakeColor(0, 0, 255));
  b.SetGradientStyle(TGradientStyle::gsVertical);
  EXPECT_EQ(b.GradientTable()[127], MakeColor(0, 0, 255));
  b.SetGradientDirection(TGradDirection::gdUpLeft);
  EXPECT_EQ(b.GradientTable()[0], ui::clBlack);
  b.SetColor(MakeColor(0, 255, 0));  // with a gradient on, a new colour rebuilds the table
  EXPECT_EQ(b.GradientTable()[0], ui::clBlack);
  EXPECT_EQ(b.GradientTable()[255], ui::clWhite);
  EXPECT_EQ(ui::GreenOf(b.GradientTable()[127]), 253);
}

TEST(ColorButton, PressAndReleaseClickOnceAndChangeStateTwice) {
  Log log;
  Button b(&log, "b");
  b.MouseDown(L, 10, 10);
  EXPECT_TRUE(b.Down());
  EXPECT_EQ(b.frameMoves, 1);  // the content moves once per change
  b.MouseUp(L, -50, 300);      // released away from the button: still a click
  EXPECT_FALSE(b.Down());
  EXPECT_EQ(b.frameMoves, 2);
  EXPECT_EQ(log, (Log{"b down", "b up", "b click"}));
}

TEST(ColorButton, OtherButtonsAndStrayReleasesDoNothing) {
  Log log;
  Button b(&log, "b");
  int mouseEvents = 0;
  b.OnMouseDown = b.OnMouseUp = [&](ColorButtonModel&, TMouseButton, int, int) { ++mouseEvents; };
  b.MouseDown(TMouseButton::mbRight, 1, 1);
  b.MouseUp(TMouseButton::mbRight, 1, 1);
  b.MouseUp(L, 1, 1);  // a release without a press on this button
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(mouseEvents, 3);  // the plain mouse events still fire
}

TEST(ColorButton, GroupedSiblingsLatchAndReleaseEachOther) {
  Log log;
  Button a(&log, "a"), b(&log, "b"), other(&log, "other");
  for (Button* x : {&a, &b, &other}) {
    x->SetGrouped(true);
    x->SetGroupIndex(1);
  }
  other.SetGroupIndex(2);
  a.siblings = b.siblings = other.siblings = {&a, &b, &other};
  other.MouseDown(L, 0, 0);
  other.MouseUp(L, 0, 0);
  log.clear();

  a.MouseDown(L, 0, 0);
  a.MouseUp(L, 0, 0);
  EXPECT_TRUE(a.Down());
  EXPECT_EQ(log, (Log{"a down", "a click"}));
  log.clear();
  b.MouseDown(L, 0, 0);
  b.MouseUp(L, 0, 0);
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(a.Down());
  EXPECT_TRUE(other.Down());  // another group
  EXPECT_EQ(log, (Log{"b down", "a up", "b click"}));
  log.clear();
  b.MouseDown(L, 0, 0);
  b.MouseUp(L, 0, 0);
  EXPECT_TRUE(b.Down());  // stays down without AllowAllUp
  EXPECT_EQ(log, (Log{"b click"}));
  log.clear();
  b.SetAllowAllUp(true);
  b.MouseDown(L, 0, 0);
  b.MouseUp(L, 0, 0);
  EXPECT_FALSE(b.Down());
  EXPECT_EQ(log, (Log{"b up", "b click"}));
}

TEST(ColorButton, DisablingBringsAnUngroupedButtonUp) {
  Log log;
  Button b(&log, "b"), g(&log, "g");
  b.SetDown(true);
  g.SetGrouped(true);
  g.SetDown(true);
  log.clear();
  b.SetEnabled(false);
  g.SetEnabled(false);
  EXPECT_FALSE(b.Down());
  EXPECT_TRUE(g.Down());
  EXPECT_EQ(log, (Log{"b up"}));
  b.MouseDown(L, 0, 0);
  b.MouseUp(L, 0, 0);
  EXPECT_EQ(log, (Log{"b up"}));  // a disabled button does not react
}

TEST(ColorButton, DisablingDuringAPressEndsIt) {
  Log log;
  Button b(&log, "b");
  b.SetAllowTimer(true);
  b.MouseDown(L, 0, 0);
  EXPECT_TRUE(b.timerRunning);
  b.SetEnabled(false);
  EXPECT_FALSE(b.timerRunning);
  EXPECT_FALSE(b.Down());
  b.SetEnabled(true);
  b.MouseUp(L, 0, 0);
  EXPECT_EQ(log, (Log{"b down", "b up"}));
}

TEST(ColorButton, LostMouseRestoresTheStateWithoutAClick) {
  Log log;
  Button b(&log, "b");
  b.MouseDown(L, 0, 0);
  b.CancelPress();
  b.MouseUp(L, 0, 0);
  EXPECT_FALSE(b.Down());
  EXPECT_EQ(log, (Log{"b down", "b up"}));
}

TEST(ColorButton, AcceleratorClicksAndIsSwallowedWhenDisabled) {
  Log log;
  Button b(&log, "b");
  b.SetCaption("&Konec");
  EXPECT_TRUE(b.DialogChar(U'k'));
  EXPECT_TRUE(b.DialogChar(U'K'));
  EXPECT_FALSE(b.DialogChar(U'o'));
  EXPECT_EQ(log, (Log{"b click", "b click"}));
  b.SetEnabled(false);
  EXPECT_TRUE(b.DialogChar(U'k'));
  EXPECT_EQ(log.size(), 2u);
  b.SetCaption("Zkontrolovat");
  EXPECT_FALSE(b.DialogChar(U'z'));
  b.SetEnabled(true);
  b.SetCaption("Uložit &ž a &u");  // only the first "&" counts; non-ASCII compared as is
  EXPECT_TRUE(b.DialogChar(U'ž'));
  EXPECT_FALSE(b.DialogChar(U'Ž'));
  EXPECT_FALSE(b.DialogChar(U'u'));
  b.SetCaption("End&");
  EXPECT_FALSE(b.DialogChar(U'&'));
}

TEST(ColorButton, RepeatTimerClicksWhileHeld) {
  Log log;
  Button b(&log, "b");
  b.SetAllowTimer(true);
  b.MouseDown(L, 0, 0);
  EXPECT_EQ(b.timerIntervals, (std::vector<int>{400}));
  b.RepeatTimerTick();
  b.RepeatTimerTick();
  EXPECT_EQ(b.timerIntervals, (std::vector<int>{400, 100, 100}));
  b.capture = false;  // the mouse went elsewhere: no click, the timer keeps running
  b.RepeatTimerTick();
  b.capture = true;
  b.MouseUp(L, 0, 0);
  EXPECT_FALSE(b.timerRunning);
  EXPECT_EQ(log, (Log{"b down", "b click", "b click", "b up", "b click"}));
}

TEST(ColorButton, FailingRepeatedClickStopsTheTimer) {
  Log log;
  Button b(&log, "b");
  b.SetAllowTimer(true);
  b.MouseDown(L, 0, 0);
  b.OnClick = [](ColorButtonModel&) { throw std::runtime_error("handler"); };
  EXPECT_THROW(b.RepeatTimerTick(), std::runtime_error);
  EXPECT_FALSE(b.timerRunning);
}

std::vector<std::vector<Point>> Lines(const ui::RecordingCanvas& c, ui::TColor pen) {
  std::vector<std::vector<Point>> out;
  for (const CanvasOp& op : c.Of(CanvasOp::Kind::Polyline)) {
    if (op.pen == pen) out.push_back(op.points);
  }
  return out;
}

TEST(ColorButton, NormalFrameAndBevelUpAndDown) {
  Log log;
  Button b(&log, "b");
  b.SetColor(MakeColor(255, 0, 0));
  ui::RecordingCanvas up;
  b.DrawFrame(up, false);
  using Ls = std::vector<std::vector<Point>>;
  const ui::TColor hi = MakeColor(255, 127, 127), sh = MakeColor(102, 0, 0);
  EXPECT_EQ(Lines(up, hi), (Ls{{{0, 24}, {0, 0}, {74, 0}}, {{73, 1}, {1, 1}, {1, 23}}}));
  EXPECT_EQ(Lines(up, ui::clBlack), (Ls{{{0, 24}, {74, 24}, {74, 0}}}));
  EXPECT_EQ(Lines(up, sh), (Ls{{{73, 1}, {73, 23}, {1, 23}}}));
  EXPECT_TRUE(up.Of(CanvasOp::Kind::CopyRect).empty());

  b.SetDown(true);
  ui::RecordingCanvas down;
  b.DrawFrame(down, true);
  EXPECT_EQ(Lines(down, ui::clBlack), (Ls{{{0, 24}, {0, 0}, {74, 0}}}));
  EXPECT_EQ(Lines(down, sh), (Ls{{{73, 1}, {1, 1}, {1, 23}}}));
  EXPECT_EQ(Lines(down, hi), (Ls{{{0, 24}, {74, 24}, {74, 0}}, {{73, 1}, {73, 23}, {1, 23}}}));
  const auto copies = down.Of(CanvasOp::Kind::CopyRect);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].rect, (ui::Rect{2, 2, 72, 22}));
  EXPECT_EQ(copies[0].points[0], (Point{3, 3}));
  b.SetDown(false);
  ui::RecordingCanvas back;
  b.DrawFrame(back, true);
  EXPECT_EQ(back.Of(CanvasOp::Kind::CopyRect)[0].rect, (ui::Rect{3, 3, 73, 23}));
  EXPECT_EQ(back.Of(CanvasOp::Kind::CopyRect)[0].points[0], (Point{2, 2}));
}

TEST(ColorButton, SingleFrameWithAWideBevel) {
  Log log;
  Button b(&log, "b");
  b.SetBorderStyle(TBorderStyle::bsSingle);
  b.SetBorderColor(ui::clSilver);
  b.SetBevelWidth(2);
  ui::RecordingCanvas c;
  b.Paint(c);
  const auto frames = c.Of(CanvasOp::Kind::FrameRect);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].rect, (ui::Rect{0, 0, 75, 25}));
  EXPECT_EQ(frames[0].color, ui::clSilver);
  const auto hi = Lines(c, b.HighlightColor());
  ASSERT_EQ(hi.size(), 2u);
  EXPECT_EQ(hi[1], (std::vector<Point>{{72, 2}, {2, 2}, {2, 22}}));
  // The face fills the content inside the frame and both bevel lines.
  EXPECT_EQ(c.Of(CanvasOp::Kind::FillRect)[0].rect, (ui::Rect{3, 3, 72, 22}));
}

TEST(ColorButton, CaptionIsCentredMovesOneDownWhenDownAndGreysWhenDisabled) {
  Log log;
  Button b(&log, "b");
  b.SetCaption("Konec");  // 30 x 11 in the recording canvas
  ui::RecordingCanvas up;
  b.Paint(up);
  const auto caption = up.Of(CanvasOp::Kind::Caption);
  ASSERT_EQ(caption.size(), 1u);
  EXPECT_EQ(caption[0].rect, (ui::Rect{(73 - 30) / 2, (2 + 23 - 11) / 2, 51, 18}));
  EXPECT_EQ(caption[0].color, ui::ClassicSystemColor(18));
  b.SetDown(true);
  ui::RecordingCanvas down;
  b.Paint(down);
  EXPECT_EQ(down.Of(CanvasOp::Kind::Caption)[0].rect, caption[0].rect.Offset(0, 1));
  b.SetDown(false);
  b.SetEnabled(false);
  ui::RecordingCanvas off;
  b.Paint(off);
  EXPECT_EQ(off.Of(CanvasOp::Kind::Caption)[0].color, ui::ClassicSystemColor(17));
}

TEST(ColorButton, LongCaptionsAreDrawnWhole) {
  Log log;
  Button b(&log, "b");
  const std::string caption(100, 'x');
  b.SetCaption(caption);
  ui::RecordingCanvas c;
  b.Paint(c);
  EXPECT_EQ(c.Of(CanvasOp::Kind::Caption)[0].text, caption);
}

ui::PixelImage Strip(int images) {
  ui::PixelImage img{16 * images, 16, std::vector<ui::TColor>(16u * 16u * images, 0x123456)};
  return img;
}

TEST(ColorButton, GlyphIsDrawnOnlyWithNumGlyphsAndPicksItsImage) {
  Log log;
  Button b(&log, "b");
  b.SetGlyph(Strip(3));
  ui::RecordingCanvas none;
  b.Paint(none);
  EXPECT_TRUE(none.Of(CanvasOp::Kind::Image).empty());
  b.SetNumGlyphs(3);
  b.SetNumGlyphs(5);  // out of range: ignored
  EXPECT_EQ(b.NumGlyphs(), 3);
  ui::RecordingCanvas up;
  b.Paint(up);
  auto img = up.Of(CanvasOp::Kind::Image);
  ASSERT_EQ(img.size(), 1u);
  EXPECT_EQ(img[0].rect, (ui::Rect{0, 0, 16, 16}));
  EXPECT_EQ(img[0].points[0], (Point{(73 - 16) / 2, (2 + 23 - 16) / 2}));
  EXPECT_EQ(img[0].color, 0x123456u);  // the bottom-left pixel is the transparent colour
  b.SetEnabled(false);
  ui::RecordingCanvas off;
  b.Paint(off);
  EXPECT_EQ(off.Of(CanvasOp::Kind::Image)[0].rect.left, 16);
  b.SetEnabled(true);
  b.SetDown(true);
  ui::RecordingCanvas down;
  b.Paint(down);
  img = down.Of(CanvasOp::Kind::Image);
  EXPECT_EQ(img[0].rect.left, 32);
  EXPECT_EQ(img[0].points[0], (Point{(73 - 16) / 2 + 1, (2 + 23 - 16) / 2 + 1}));
}

TEST(ColorButton, GlyphAndCaptionLayouts) {
  Log log;
  Button b(&log, "b");
  b.SetSize(100, 60);
  b.SetGlyph(Strip(1));
  b.SetNumGlyphs(1);
  b.SetCaption("abcd");  // 24 x 11
  auto place = [&](TButtonLayout layout) {
    b.SetLayout(layout);
    ui::RecordingCanvas c;
    b.Paint(c);
    return std::pair{c.Of(CanvasOp::Kind::Image).at(0).points[0],
                     c.Of(CanvasOp::Kind::Caption).at(0).rect};
  };
  // Content rectangle 2..98 x 2..58; spacing 1, margin 1.
  auto [g, t] = place(TButtonLayout::blGlyphLeft);
  EXPECT_EQ(g, (Point{(98 - 41) / 2 - 1, 22}));
  EXPECT_EQ(t.left, g.x + 17);
  std::tie(g, t) = place(TButtonLayout::blGlyphRight);
  EXPECT_EQ(g, (Point{(41 + 98) / 2 - 16 + 1, 22}));
  EXPECT_EQ(t.left, g.x - 25);
  std::tie(g, t) = place(TButtonLayout::blGlyphTop);
  EXPECT_EQ(g, (Point{41, (60 - 28) / 2 - 1}));
  EXPECT_EQ(t.top, g.y + 17);
  std::tie(g, t) = place(TButtonLayout::blGlyphBottom);
  EXPECT_EQ(t.top, (60 - 28) / 2 + 1);  // the group stays inside the button, caption on top
  EXPECT_EQ(g.y, t.top + 12);
}

TEST(ColorButton, GradientFillsTheWholeButtonAndLeavesTheCaptionBoxClear) {
  Log log;
  Button b(&log, "b");
  b.SetColor(MakeColor(255, 0, 0));
  b.SetGradientStyle(TGradientStyle::gsVertical);
  b.SetCaption("x");
  ui::RecordingCanvas c;
  b.Paint(c);
  const auto fills = c.Of(CanvasOp::Kind::FillRect);
  ASSERT_EQ(fills.size(), 1u + 256u);  // the face, then 256 bands; no caption box
  EXPECT_EQ(fills[1].rect, (ui::Rect{0, 0, 75, 1}));
  EXPECT_EQ(fills[1].brush, ui::clWhite);
  EXPECT_EQ(fills[256].rect, (ui::Rect{0, 254 * 25 / 255, 75, 254 * 25 / 255 + 1}));
  EXPECT_EQ(fills[256].brush, ui::clBlack);
  EXPECT_TRUE(c.Of(CanvasOp::Kind::Caption)[0].clearBrush);
  // With ChangeDirection the table runs backwards while down.
  b.SetChangeDirection(true);
  b.SetDown(true);
  ui::RecordingCanvas d;
  b.Paint(d);
  EXPECT_EQ(d.Of(CanvasOp::Kind::FillRect)[1].brush, ui::clBlack);
  EXPECT_EQ(b.frameMoves, 0);  // with a gradient, Down repaints fully
}

TEST(ColorButton, PyramidRunsFromTheTopLeftCornerToTheBottomRight) {
  Log log;
  Button b(&log, "b");
  b.SetColor(MakeColor(0, 0, 255));
  b.SetGradientStyle(TGradientStyle::gsPyramid);
  ui::RecordingCanvas c;
  b.Paint(c);
  const auto lines = c.Of(CanvasOp::Kind::Polyline);
  ASSERT_EQ(lines.size(), 2u * 76u + 2u * 26u + 4u);  // x = 0..W, y = 0..H, then the frame
  EXPECT_EQ(lines[0].points, (std::vector<Point>{{0, 0}, {37, 12}}));
  EXPECT_EQ(lines[0].pen, ui::clWhite);
  const auto& lastRow = lines[2 * 76 + 2 * 25];  // y = H: the bottom-right entry
  EXPECT_EQ(lastRow.points[0], (Point{74, 25}));
  EXPECT_EQ(lastRow.pen, ui::clBlack);
}

}  // namespace
}  // namespace sentavo::widgets
