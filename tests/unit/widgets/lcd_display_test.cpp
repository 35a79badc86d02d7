// The display's property rules and its repaint: digit pass, animations and their timing with a
// fake clock, double buffering, and repaints requested while one runs.
#include "widgets/lcd_display.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "ui/recording_canvas.h"

namespace sentavo::widgets {
namespace {

using ui::CanvasOp;

class FakeHost : public LcdPaintHost {
 public:
  ui::RecordingCanvas window, buffer;
  bool bufferFails = false;
  int buffersMade = 0, presents = 0, frees = 0, pumps = 0;
  std::uint32_t now = 1000;
  std::uint32_t drawCost = 0;  // milliseconds each frame's drawing takes
  std::function<void()> duringPump;
  std::vector<std::uint32_t> presentTimes;
  // Set when a pump destroyed the display; every call after that is counted.
  bool displayGone = false;
  int callsAfterGone = 0;

  ui::Canvas& WindowCanvas() override {
    Touch();
    return window;
  }
  ui::Canvas* CreateBuffer(int, int) override {
    Touch();
    if (bufferFails) return nullptr;
    ++buffersMade;
    return &buffer;
  }
  void PresentBuffer() override {
    Touch();
    ++presents;
    presentTimes.push_back(now);
    now += drawCost;
  }
  void FreeBuffer() override {
    Touch();
    ++frees;
  }
  std::uint32_t NowMs() override {
    Touch();
    return now;
  }
  bool ProcessMessages(std::uint32_t ms) override {
    Touch();
    ++pumps;
    now += ms;
    if (duringPump) duringPump();
    return !displayGone;
  }
  int RandomBelow(int n) override {
    Touch();
    return n - 1;
  }

 private:
  void Touch() { callsAfterGone += displayGone; }
};

// The window's side of the display, recording what is asked of it; the test double is both the
// host and the model it hosts, so that the cases read as the component's use.
class RecordingLcdHost : public LcdDisplayHost {
 public:
  int repaints = 0;
  std::string windowText;
  std::vector<ui::Message> about;

  void RequestRepaint() override { ++repaints; }
  void ValueStored(const std::string& v) override { windowText = v; }
  void ShowAbout(const ui::Message& message) override { about.push_back(message); }
};

class Display : public RecordingLcdHost, public LcdDisplayModel {
 public:
  Display() : LcdDisplayModel(static_cast<LcdDisplayHost&>(*this)) {}
};

// The shapes drawn on `canvas` in `color`, each polygon of a PolyPolygon counted.
int CountColored(const ui::RecordingCanvas& canvas, ui::TColor color) {
  int n = 0;
  for (const CanvasOp& op : canvas.ops) {
    if (op.kind == CanvasOp::Kind::PolyPolygon && op.brush == color) {
      n += static_cast<int>(op.counts.size());
      continue;
    }
    if (op.kind != CanvasOp::Kind::FillRect && op.brush == color) ++n;
    if (op.kind == CanvasOp::Kind::FillRect && !op.clearBrush && op.brush == color) ++n;
  }
  return n;
}

void MakeClock(Display& d) {
  d.SetDigitNum(8);
  d.SetOffColor(ui::MakeColor(35, 35, 35));
  d.SetOnColor(ui::clWhite);
}

TEST(LcdDisplay, InitialValues) {
  Display d;
  EXPECT_EQ(d.Value(), "");
  EXPECT_EQ(d.DigitNum(), 4);
  EXPECT_EQ(d.DigitSpacing(), 5);
  EXPECT_EQ(d.SegmentSize(), 2);
  EXPECT_EQ(d.GapX(), 2);
  EXPECT_EQ(d.GapY(), 2);
  EXPECT_FALSE(d.DotDisplay());
  EXPECT_EQ(d.DotSpacing(), 2);
  EXPECT_EQ(d.OnColor(), ui::MakeColor(0, 255, 0));
  EXPECT_EQ(d.OffColor(), ui::clBlack);
  EXPECT_EQ(d.Color(), ui::clBlack);
  EXPECT_TRUE(d.DoubleBuffer());
  EXPECT_EQ(d.Animation(), TLCDAnimation::anNone);
  EXPECT_EQ(d.AnimationDelay(), 0);
  EXPECT_FALSE(d.IsPainting());
  EXPECT_EQ(d.PaintDuration(), 0u);
}

TEST(LcdDisplay, ValueIsStoredUpperCasedAndEveryChangeIsReported) {
  Display d;
  std::vector<std::pair<std::string, std::string>> changes;
  d.OnChange = [&](LcdDisplayModel& sender, const std::string& o, const std::string& n) {
    EXPECT_EQ(&sender, &d);
    changes.emplace_back(o, n);
  };
  d.SetValue("locked");
  EXPECT_EQ(d.Value(), "LOCKED");
  EXPECT_EQ(d.windowText, "LOCKED");
  EXPECT_TRUE(d.AnimatePending());
  EXPECT_EQ(d.repaints, 1);
  d.SetValue("LOCKED");  // the same text: nothing at all
  EXPECT_EQ(d.repaints, 1);
  d.SetValue("locked");  // differs from the stored text case-sensitively: a change
  EXPECT_EQ(d.repaints, 2);
  d.SetValue("12!");
  EXPECT_EQ(d.Value(), "");
  d.SetValue("12.");
  EXPECT_EQ(d.Value(), "12");
  using C = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(changes, (C{{"", "LOCKED"}, {"LOCKED", "LOCKED"}, {"LOCKED", ""}, {"", "12"}}));
}

TEST(LcdDisplay, PropertiesRepaintOnlyWhenChangedAndAnimationIsOnlyStored) {
  Display d;
  d.SetDigitNum(4);
  d.SetOnColor(ui::MakeColor(0, 255, 0));
  d.SetDoubleBuffer(true);
  EXPECT_EQ(d.repaints, 0);
  d.SetDigitNum(8);
  d.SetDotDisplay(true);
  d.SetSegmentSize(3);
  d.SetGapX(1);
  d.SetGapY(1);
  d.SetDotSpacing(1);
  d.SetDigitSpacing(2);
  d.SetOffColor(1);
  d.SetOnColor(2);
  d.SetPreview(true);
  d.SetDoubleBuffer(false);
  EXPECT_EQ(d.repaints, 11);
  d.SetAnimation(TLCDAnimation::anSpiral);
  d.SetAnimationDelay(500);
  EXPECT_EQ(d.repaints, 11);
}

TEST(LcdDisplay, AboutShowsTheMessageAndStaysNone) {
  Display d;
  d.SetAbout(TLCDAbout::abAbout);
  ASSERT_EQ(d.about.size(), 1u);
  EXPECT_EQ(d.about[0].kind, ui::Message::Kind::Information);  // information icon, one OK
  EXPECT_NE(d.about[0].caption.find("TLcdDisplay"), std::string::npos);
  EXPECT_NE(d.about[0].text.find("TLcdDisplay 1.0"), std::string::npos);  // name and version
  d.SetAbout(TLCDAbout::abNone);
  EXPECT_EQ(d.about.size(), 1u);
  EXPECT_EQ(d.About(), TLCDAbout::abNone);
}

TEST(LcdDisplay, EmptyValueDrawsEverythingUnlit) {
  Display d;
  MakeClock(d);
  FakeHost host;
  EXPECT_TRUE(d.Paint(host, 124, 22));
  EXPECT_EQ(CountColored(host.buffer, ui::clWhite), 0);
  // 8 points, 8 colons of two dots, 7 bars in 8 cells.
  EXPECT_EQ(CountColored(host.buffer, ui::MakeColor(35, 35, 35)), 8 + 16 + 56);
  EXPECT_EQ(host.buffer.ops.front().kind, CanvasOp::Kind::FillRect);  // background first
  EXPECT_EQ(host.buffer.ops.front().brush, ui::clBlack);
  EXPECT_TRUE(host.window.ops.empty());
  EXPECT_EQ(host.presents, 1);
  EXPECT_EQ(host.frees, 1);
}

TEST(LcdDisplay, NewValueIsDrawnOverThePreviousOneCellByCell) {
  Display d;
  MakeClock(d);
  FakeHost host;
  d.SetValue("12:34:56");
  EXPECT_TRUE(d.Paint(host, 124, 22));
  EXPECT_EQ(d.PrevValue(), "12:34:56");
  EXPECT_FALSE(d.AnimatePending());
  EXPECT_EQ(host.pumps, 0);  // no animation: no pauses
  // Lit: 1=2, 2=5, :=1 (two dots), 3=5, 4=4, :, 5=5, 6=6 bars.
  EXPECT_EQ(CountColored(host.buffer, ui::clWhite), 2 + 5 + 2 + 5 + 4 + 2 + 5 + 6);

  host.buffer.ops.clear();
  d.SetValue("12:34:57");
  EXPECT_TRUE(d.Paint(host, 124, 22));
  // Every bar of the old value again, and then only the last cell's bars that a 7 shows in
  // another colour than a 6, over them in a 7's colours: the colours each bar got, in order.
  const LcdLayout k = *ComputeLcdLayout(d.Params(), 124, 22);
  const LcdColors colors{d.OnColor(), d.OffColor()};
  const auto polygons = host.buffer.Polygons();
  for (int cell = 1; cell <= 8; ++cell) {
    for (int seg = 1; seg <= 7; ++seg) {
      std::vector<LcdShape> bar;
      AppendSegmentShapes(k, cell, seg, ' ', colors, bar);
      std::vector<ui::TColor> drawn;
      for (const CanvasOp& op : polygons) {
        if (op.points == bar.at(0).points) drawn.push_back(op.brush);
      }
      const char before = "12:34:56"[cell - 1], after = "12:34:57"[cell - 1];
      std::vector<ui::TColor> expected{IsLit(before, seg) ? colors.on : colors.off};
      if (IsLit(after, seg) != IsLit(before, seg))
        expected.push_back(IsLit(after, seg) ? colors.on : colors.off);
      EXPECT_EQ(drawn, expected) << "cell " << cell << " segment " << seg;
    }
  }
  EXPECT_EQ(polygons.size(), 8u * 7u + 5u);  // a 6 and a 7 differ in five bars
}

// A shape as numbers (kind, colour, corners or points), so that lists of shapes can be compared.
using ShapeKey = std::vector<long long>;

std::vector<ShapeKey> DrawnShapes(const ui::RecordingCanvas& canvas) {
  std::vector<ShapeKey> out;
  for (const CanvasOp& op : canvas.Polygons()) {
    ShapeKey key{0, op.brush};
    for (const ui::Point& p : op.points) key.insert(key.end(), {p.x, p.y});
    out.push_back(key);
  }
  for (std::size_t i = 1; i < canvas.ops.size(); ++i) {  // the first is the background
    const CanvasOp& op = canvas.ops[i];
    if (op.kind != CanvasOp::Kind::Ellipse && op.kind != CanvasOp::Kind::FillRect) continue;
    out.push_back({op.kind == CanvasOp::Kind::Ellipse ? 1 : 2, op.brush, op.rect.left, op.rect.top,
                   op.rect.right, op.rect.bottom});
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Every shape of `value` on the display's geometry at this size, worked out afresh.
std::vector<ShapeKey> ShapesOf(const Display& d, const std::string& value, int width, int height) {
  const LcdLayout k = *ComputeLcdLayout(d.Params(), width, height);
  const LcdColors colors{d.OnColor(), d.OffColor()};
  const LcdCells cells = PadCells(SplitPoints(value), d.DigitNum());
  std::vector<LcdShape> shapes;
  for (int cell = 1; cell <= d.DigitNum(); ++cell) {
    const auto at = static_cast<std::size_t>(cell - 1);
    shapes.push_back(PointShape(k, cell, cells.points[at] == '.', colors));
    for (int seg = 1; seg <= 8; ++seg)
      AppendSegmentShapes(k, cell, seg, cells.cells[at], colors, shapes);
  }
  std::vector<ShapeKey> out;
  for (const LcdShape& shape : shapes) {
    if (shape.kind == LcdShape::Kind::Polygon) {
      ShapeKey key{0, shape.color};
      for (const ui::Point& p : shape.points) key.insert(key.end(), {p.x, p.y});
      out.push_back(key);
    } else {
      out.push_back({shape.kind == LcdShape::Kind::Ellipse ? 1 : 2, shape.color, shape.box.left,
                     shape.box.top, shape.box.right, shape.box.bottom});
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

// The display keeps its shapes from repaint to repaint: each input of the geometry must bring new
// ones, or it would go on drawing the old shapes (a colour is no geometry and keeps them).
TEST(LcdDisplay, EveryChangeOfTheGeometryDrawsTheNewShapes) {
  Display d;
  MakeClock(d);
  d.SetValue("12:34.56");
  int width = 124, height = 22;
  FakeHost first;
  ASSERT_TRUE(d.Paint(first, width, height));  // from now on a repaint draws the value once
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"nothing", [] {}},
      {"DigitNum", [&] { d.SetDigitNum(6); }},
      {"DigitSpacing", [&] { d.SetDigitSpacing(2); }},
      {"SegmentSize", [&] { d.SetSegmentSize(3); }},
      {"GapX", [&] { d.SetGapX(0); }},
      {"GapY", [&] { d.SetGapY(0); }},
      {"width", [&] { width = 150; }},
      {"height", [&] { height = 40; }},
      {"OnColor", [&] { d.SetOnColor(ui::MakeColor(1, 2, 3)); }},
      {"DotDisplay", [&] { d.SetDotDisplay(true); }},
      {"DotSpacing", [&] { d.SetDotSpacing(1); }},
      {"SegmentSize with dots", [&] { d.SetSegmentSize(4); }},
      {"bars again", [&] { d.SetDotDisplay(false); }},
  };
  std::vector<ShapeKey> before;
  for (const auto& [what, change] : changes) {
    change();
    FakeHost host;
    ASSERT_TRUE(d.Paint(host, width, height));
    const std::vector<ShapeKey> drawn = DrawnShapes(host.buffer);
    EXPECT_EQ(drawn, ShapesOf(d, "12:34.56", width, height)) << what;
    if (!before.empty() && std::string_view(what) != "nothing") {
      EXPECT_NE(drawn, before) << what << " changed nothing: the case tests nothing";
    }
    before = drawn;
  }
}

TEST(LcdDisplay, AnimationRevealsInEightFramesOverTheDelay) {
  Display d;
  MakeClock(d);
  d.SetAnimation(TLCDAnimation::anDown);
  d.SetAnimationDelay(700);
  FakeHost host;
  d.SetValue("8");
  EXPECT_TRUE(d.Paint(host, 124, 22));
  EXPECT_EQ(host.presents, 8 + 1);  // every frame, and the finished picture
  for (std::size_t i = 1; i < 8; ++i) {
    EXPECT_EQ(host.presentTimes[i] - host.presentTimes[i - 1], 100u) << i;
  }
  EXPECT_EQ(d.PaintDuration(), 700u);
  EXPECT_GT(host.pumps, 0);

  // The same value again repaints at once.
  host = FakeHost{};
  EXPECT_TRUE(d.Paint(host, 124, 22));
  EXPECT_EQ(host.presents, 1);
  EXPECT_EQ(d.PaintDuration(), 0u);
}

TEST(LcdDisplay, OvershootOfAPauseIsTakenFromTheNext) {
  Display d;
  MakeClock(d);
  d.SetAnimation(TLCDAnimation::anUp);
  d.SetAnimationDelay(700);
  FakeHost host;
  host.drawCost = 30;  // presenting takes 30 ms of each frame
  d.SetValue("8");
  EXPECT_TRUE(d.Paint(host, 124, 22));
  // Frames still start every 100 ms: the drawing time is part of the pause.
  for (std::size_t i = 1; i < 8; ++i) {
    EXPECT_EQ(host.presentTimes[i] - host.presentTimes[i - 1], 100u) << i;
  }
}

TEST(LcdDisplay, NoAnimationOrNoDelayShowsInOneStep) {
  for (auto [anim, delay] : {std::pair{TLCDAnimation::anNone, 700}, {TLCDAnimation::anLeft, 0}}) {
    Display d;
    MakeClock(d);
    d.SetAnimation(anim);
    d.SetAnimationDelay(delay);
    FakeHost host;
    d.SetValue("12:34:56");
    EXPECT_TRUE(d.Paint(host, 124, 22));
    EXPECT_EQ(host.presents, 1);
    EXPECT_EQ(host.pumps, 0);
  }
}

TEST(LcdDisplay, FramesFollowTheAnimationOrder) {
  Display d;
  MakeClock(d);
  d.SetDigitNum(1);
  d.SetAnimation(TLCDAnimation::anSpiral);
  d.SetAnimationDelay(70);
  d.SetDoubleBuffer(false);
  FakeHost host;
  d.SetValue(":");
  EXPECT_TRUE(d.Paint(host, 30, 22));
  // The incremental pass: after the point, colon (two ellipses, lit) first, then the middle bar.
  std::vector<CanvasOp::Kind> kinds;
  for (const CanvasOp& op : host.window.ops) kinds.push_back(op.kind);
  const std::size_t first = kinds.size() - 9;  // 7 bars and the two colon dots
  EXPECT_EQ(kinds[first], CanvasOp::Kind::Ellipse);
  EXPECT_EQ(kinds[first + 1], CanvasOp::Kind::Ellipse);
  EXPECT_EQ(host.window.ops[first + 2].points[1].y, host.window.ops[first + 2].points[0].y - 1);
  EXPECT_EQ(AnimationSegment(static_cast<int>(TLCDAnimation::anRight), 1), 2);
  EXPECT_EQ(AnimationSegment(static_cast<int>(TLCDAnimation::anLeft), 8), 2);
  EXPECT_EQ(AnimationSegment(0, 4), 8);
}

TEST(LcdDisplay, RandomAnimationPicksOneOfTheFive) {
  Display d;
  MakeClock(d);
  d.SetAnimation(TLCDAnimation::anRandom);
  d.SetAnimationDelay(70);
  FakeHost host;  // RandomBelow(5) answers 4: animation 5, anRight
  d.SetValue("8");
  EXPECT_TRUE(d.Paint(host, 124, 22));
  EXPECT_EQ(host.presents, 9);
}

TEST(LcdDisplay, WithoutABufferItDrawsOnTheWindow) {
  Display d;
  MakeClock(d);
  FakeHost host;
  host.bufferFails = true;
  d.SetValue("1");
  EXPECT_TRUE(d.Paint(host, 124, 22));
  EXPECT_FALSE(host.window.ops.empty());
  EXPECT_EQ(host.presents, 0);
  EXPECT_EQ(CountColored(host.window, ui::clWhite), 2);
}

TEST(LcdDisplay, NothingButTheBackgroundWithoutCells) {
  Display d;
  d.SetDigitNum(0);
  FakeHost host;
  d.SetValue("12");
  EXPECT_TRUE(d.Paint(host, 124, 22));
  EXPECT_EQ(host.buffer.ops.size(), 1u);
  EXPECT_FALSE(d.IsPainting());
}

TEST(LcdDisplay, RepaintDuringAnAnimationPauseReturnsAndALaterValueFollows) {
  Display d;
  MakeClock(d);
  d.SetAnimation(TLCDAnimation::anDown);
  d.SetAnimationDelay(700);
  FakeHost host;
  d.SetValue("11");
  bool once = false;
  host.duringPump = [&] {
    EXPECT_TRUE(d.IsPainting());
    const std::size_t before = host.buffer.ops.size();
    EXPECT_TRUE(d.Paint(host, 124, 22));  // returns at once
    EXPECT_EQ(host.buffer.ops.size(), before);
    if (!once) {
      once = true;
      d.SetValue("22");  // a timer writes a new value while the reveal pauses
    }
  };
  const int repaintsBefore = d.repaints;
  EXPECT_TRUE(d.Paint(host, 124, 22));
  EXPECT_FALSE(d.IsPainting());
  EXPECT_FALSE(d.AnimatePending());
  // The repaint drew "11"; "22" gets a repaint of its own, drawn without animation.
  EXPECT_EQ(d.PrevValue(), "11");
  EXPECT_EQ(d.repaints, repaintsBefore + 2);
  host.duringPump = nullptr;
  host.presents = 0;
  EXPECT_TRUE(d.Paint(host, 124, 22));
  EXPECT_EQ(d.PrevValue(), "22");
  EXPECT_EQ(host.presents, 1);
}

// A message handled during a reveal's pause may destroy the display (its form closes): the
// repaint must return without touching the model, which is gone, or the host.
TEST(LcdDisplay, DisplayDestroyedDuringARevealPauseIsNotTouchedAgain) {
  FakeHost host;
  auto d = std::make_unique<Display>();
  MakeClock(*d);
  d->SetAnimation(TLCDAnimation::anDown);
  d->SetAnimationDelay(700);
  d->SetValue("88:88:88");
  host.duringPump = [&] {
    if (host.pumps == 3) {
      d.reset();
      host.displayGone = true;
    }
  };
  Display* painting = d.get();
  EXPECT_FALSE(painting->Paint(host, 124, 22));
  EXPECT_EQ(d, nullptr);
  EXPECT_EQ(host.pumps, 3);
  EXPECT_EQ(host.callsAfterGone, 0);
  EXPECT_EQ(host.frees, 0);  // the window's side frees its own buffer when it unwinds
}

}  // namespace
}  // namespace sentavo::widgets
