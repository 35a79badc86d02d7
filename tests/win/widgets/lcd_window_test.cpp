// The seven-segment display painted by Windows: every segment of "12:34:56" in its colour.
#include <gtest/gtest.h>

#include "ui/gdi_canvas_win.h"
#include "widgets/lcd_display_win.h"
#include "win_test_support.h"

namespace sentavo::widgets {
namespace {

using test::Hex;

constexpr ui::TColor kOff = ui::MakeColor(35, 35, 35);

// The middle of a shape: the centre of its bounding box (inside every segment shape).
ui::Point Centre(const LcdShape& s) {
  if (s.kind != LcdShape::Kind::Polygon)
    return {(s.box.left + s.box.right) / 2, (s.box.top + s.box.bottom) / 2};
  int l = s.points[0].x, r = l, t = s.points[0].y, b = t;
  for (const ui::Point& p : s.points) {
    l = std::min(l, p.x);
    r = std::max(r, p.x);
    t = std::min(t, p.y);
    b = std::max(b, p.y);
  }
  return {(l + r) / 2, (t + b) / 2};
}

void ExpectSegmentsLit(TLcdDisplay& lcd, const std::string& cells, int width, int height) {
  const test::Snapshot image = test::Render(lcd.hwnd());
  const LcdLayout k = *ComputeLcdLayout(lcd.Params(), width, height);
  for (int cell = 1; cell <= lcd.DigitNum(); ++cell) {
    const char c = cells[static_cast<std::size_t>(cell - 1)];
    for (int seg = 1; seg <= 8; ++seg) {
      std::vector<LcdShape> shapes;
      AppendSegmentShapes(k, cell, seg, c, {1, 2}, shapes);
      for (const LcdShape& s : shapes) {
        if (s.kind == LcdShape::Kind::Ellipse && (s.box.Width() < 2 || s.box.Height() < 2))
          continue;
        const ui::Point p = Centre(s);
        const ui::TColor want = s.color == 1 ? lcd.OnColor() : lcd.OffColor();
        EXPECT_EQ(Hex(image.PixelAt(p.x, p.y)), Hex(want))
            << "cell " << cell << " '" << c << "' segment " << seg << " at " << p;
      }
    }
  }
}

TEST(LcdWindow, ClockShowsEverySegmentInItsColour) {
  test::HostForm host;
  TLcdDisplay lcd;
  ASSERT_TRUE(lcd.Create(host.hwnd(), 10, {3, 3, 124, 22}));
  lcd.SetDigitNum(8);
  lcd.SetOffColor(kOff);
  lcd.SetOnColor(ui::clWhite);
  lcd.SetValue("12:34:56");
  EXPECT_EQ(lcd.Text(), "12:34:56");  // what another program reads
  ExpectSegmentsLit(lcd, "12:34:56", 124, 22);
  const test::Snapshot image = test::Render(lcd.hwnd());
  EXPECT_EQ(Hex(image.PixelAt(0, 0)), Hex(ui::clBlack));  // the background
  EXPECT_EQ(Hex(image.PixelAt(3, 20)), Hex(kOff));        // the unlit point before cell 1
}

TEST(LcdWindow, LargeDisplayWithColonsPointsAndDots) {
  test::HostForm host;
  TLcdDisplay lcd;
  ASSERT_TRUE(lcd.Create(host.hwnd(), 10, {0, 0, 400, 90}));
  lcd.SetDigitNum(8);
  lcd.SetSegmentSize(6);
  lcd.SetValue("-1.5:00");
  EXPECT_EQ(lcd.Value(), "-1.5:00");
  ExpectSegmentsLit(lcd, "  -15:00", 400, 90);
  const test::Snapshot image = test::Render(lcd.hwnd());
  const LcdLayout k = *ComputeLcdLayout(lcd.Params(), 400, 90);
  const ui::Point lit = Centre(PointShape(k, 5, true, {1, 2}));  // the point before the 5
  const ui::Point unlit = Centre(PointShape(k, 4, true, {1, 2}));
  EXPECT_EQ(Hex(image.PixelAt(lit.x, lit.y)), Hex(lcd.OnColor()));
  EXPECT_EQ(Hex(image.PixelAt(unlit.x, unlit.y)), Hex(lcd.OffColor()));

  lcd.SetDotDisplay(true);
  lcd.SetDotSpacing(2);
  lcd.SetValue("locked");
  EXPECT_EQ(lcd.Text(), "LOCKED");
  ExpectSegmentsLit(lcd, "  LOCKED", 400, 90);
}

// One digit pass as the display drew it before it painted by colour: shape by shape, each with
// its own brush and pen, the points first and then the segments in the frames' order.
void PaintPassShapeByShape(ui::Canvas& canvas, const LcdLayout& k, const LcdColors& colors,
                           const LcdCells& current, const LcdCells& previous, bool incremental) {
  std::vector<LcdShape> shapes;
  for (int i = 1; i <= k.digitNum; ++i) {
    const auto at = static_cast<std::size_t>(i - 1);
    if (incremental && current.points[at] == previous.points[at]) continue;
    shapes.push_back(PointShape(k, i, current.points[at] == '.', colors));
  }
  PaintShapes(canvas, shapes);
  for (int frame = 1; frame <= 8; ++frame) {
    shapes.clear();
    for (int i = 1; i <= k.digitNum; ++i) {
      const auto at = static_cast<std::size_t>(i - 1);
      if (incremental && current.cells[at] == previous.cells[at]) continue;
      AppendSegmentShapes(k, i, AnimationSegment(0, frame), current.cells[at], colors, shapes);
    }
    PaintShapes(canvas, shapes);
  }
}

// A repaint that shows `value` over `previous`, drawn shape by shape.
test::Snapshot RepaintShapeByShape(const TLcdDisplay& lcd, int width, int height,
                                   const std::string& previous, const std::string& value) {
  ui::DibCanvasTarget target(width, height);
  {
    ui::GdiCanvas canvas(target.dc());
    canvas.SetBrush(lcd.Color());
    canvas.FillRect({0, 0, width, height});
    const LcdLayout k = *ComputeLcdLayout(lcd.Params(), width, height);
    const LcdColors colors{lcd.OnColor(), lcd.OffColor()};
    const int n = lcd.DigitNum();
    const LcdCells blank = PadCells({}, n);
    const LcdCells before = PadCells(SplitPoints(previous), n);
    if (value.empty()) {
      PaintPassShapeByShape(canvas, k, colors, blank, before, false);
    } else {
      PaintPassShapeByShape(canvas, k, colors, before, blank, false);
      PaintPassShapeByShape(canvas, k, colors, PadCells(SplitPoints(value), n), before, true);
    }
  }
  GdiFlush();
  test::Snapshot s{width, height, {}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) s.pixels.push_back(target.PixelAt(x, y));
  }
  return s;
}

// The display paints by colour, many shapes to a call, keeping the order only where shapes of two
// colours may meet. Its pixels must be those of painting shape by shape, also where segments,
// dots and cells overlap one another, and after the geometry changes under the same display.
TEST(LcdWindow, PaintingByColourGivesThePixelsOfPaintingShapeByShape) {
  struct Case {
    const char* what;
    int width, height, digits, spacing, size, gapX, gapY;
    bool dots;
    int dotSpacing;
    const char* previous;
    const char* value;
  };
  const Case cases[] = {
      {"the client's countdown", 124, 22, 8, 5, 2, 2, 2, false, 2, "12:34:56", "12:34:57"},
      {"the countdown locking", 124, 22, 8, 5, 2, 2, 2, false, 2, "00:00:01", "locked"},
      {"bars that touch", 124, 22, 8, 5, 2, 0, 0, false, 2, "88:88:88", "10.01:7"},
      {"bars that overlap", 160, 40, 6, 3, 5, -2, -1, false, 2, "8.8.8.8.8.8", "-1.5:0"},
      {"thick bars", 400, 90, 8, 5, 6, 2, 2, false, 2, "-1.5:00", "88:88.88"},
      {"thick bars with gap 1", 300, 60, 5, 2, 5, 1, 1, false, 2, "8888", "E7L.3"},
      {"cells that overlap", 120, 30, 6, -4, 3, 1, 1, false, 2, "888888", "1.2.3.4"},
      {"one small cell", 14, 20, 1, 0, 3, 0, 0, false, 2, "8", ":"},
      {"dots", 400, 90, 8, 5, 6, 2, 2, true, 2, "88888888", "LOCKED"},
      {"dots that overlap", 200, 50, 6, 2, 5, 0, 0, true, -2, "8:8.8", "12.34"},
      {"an empty value", 124, 22, 8, 5, 2, 0, 0, false, 2, "12:34:56", ""},
  };
  test::HostForm host;
  TLcdDisplay lcd;
  ASSERT_TRUE(lcd.Create(host.hwnd(), 10, {0, 0, 124, 22}));
  lcd.SetOffColor(kOff);
  lcd.SetOnColor(ui::MakeColor(255, 200, 0));
  lcd.SetColor(ui::MakeColor(0, 0, 60));
  for (const Case& c : cases) {
    SetWindowPos(lcd.hwnd(), nullptr, 0, 0, c.width, c.height, SWP_NOMOVE | SWP_NOZORDER);
    lcd.SetDigitNum(c.digits);
    lcd.SetDigitSpacing(c.spacing);
    lcd.SetSegmentSize(c.size);
    lcd.SetGapX(c.gapX);
    lcd.SetGapY(c.gapY);
    lcd.SetDotDisplay(c.dots);
    lcd.SetDotSpacing(c.dotSpacing);
    // The first repaint after the change, then one of the same geometry.
    for (const char* value : {c.previous, c.value}) {
      const std::string shown = lcd.PrevValue();
      lcd.SetValue(value);
      const test::Snapshot painted = test::Render(lcd.hwnd());
      ASSERT_EQ(lcd.PrevValue(), lcd.Value()) << c.what;
      const test::Snapshot expected =
          RepaintShapeByShape(lcd, c.width, c.height, shown, lcd.Value());
      ASSERT_EQ(painted.pixels.size(), expected.pixels.size()) << c.what;
      int differ = 0;
      for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
          if (painted.PixelAt(x, y) == expected.PixelAt(x, y)) continue;
          if (differ++ < 5) {
            ADD_FAILURE() << c.what << ", '" << value << "' over '" << shown << "': at (" << x
                          << ", " << y << ") " << Hex(painted.PixelAt(x, y)) << " instead of "
                          << Hex(expected.PixelAt(x, y));
          }
        }
      }
      EXPECT_EQ(differ, 0) << c.what << ", '" << value << "'";
    }
  }
}

TEST(LcdWindow, RepaintRequestedByAValueIsDrawnByTheWindow) {
  test::HostForm host(/*show=*/true);  // a hidden window gets no WM_PAINT from UpdateWindow
  TLcdDisplay lcd;
  ASSERT_TRUE(lcd.Create(host.hwnd(), 10, {0, 0, 124, 22}));
  lcd.SetDigitNum(8);
  lcd.SetValue("00:00:01");
  EXPECT_TRUE(lcd.AnimatePending());
  UpdateWindow(lcd.hwnd());  // WM_PAINT now
  EXPECT_FALSE(lcd.AnimatePending());
  EXPECT_EQ(lcd.PrevValue(), "00:00:01");
}

// What the window shows on screen, read back through its DC.
test::Snapshot OnScreen(HWND hwnd) {
  RECT rc;
  GetClientRect(hwnd, &rc);
  ui::DibCanvasTarget target(rc.right, rc.bottom);
  const HDC dc = GetDC(hwnd);
  BitBlt(target.dc(), 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(hwnd, dc);
  GdiFlush();
  test::Snapshot s{rc.right, rc.bottom, {}};
  for (int y = 0; y < rc.bottom; ++y) {
    for (int x = 0; x < rc.right; ++x) s.pixels.push_back(target.PixelAt(x, y));
  }
  return s;
}

// The repaints into the window reuse one off-screen bitmap; a new size or value must still show
// whole, exactly as printing the display into a bitmap of its own shows it.
TEST(LcdWindow, RepaintsOnScreenShowWhatPrintingTheDisplayShows) {
  test::HostForm host(/*show=*/true);
  TLcdDisplay lcd;
  ASSERT_TRUE(lcd.Create(host.hwnd(), 10, {0, 0, 124, 22}));
  lcd.SetDigitNum(8);
  lcd.SetOffColor(kOff);
  const struct {
    int width, height;
    const char* value;
  } steps[] = {{124, 22, "12:34:56"}, {124, 22, "12:34:57"}, {200, 40, "12:34:58"},
               {90, 18, "LOCKED"},    {90, 18, ""},          {124, 22, "0:00:01"}};
  for (const auto& step : steps) {
    SetWindowPos(lcd.hwnd(), nullptr, 0, 0, step.width, step.height, SWP_NOMOVE | SWP_NOZORDER);
    lcd.SetValue(step.value);
    UpdateWindow(lcd.hwnd());  // WM_PAINT now
    const test::Snapshot shown = OnScreen(lcd.hwnd());
    ASSERT_EQ(lcd.PrevValue(), lcd.Value());
    const test::Snapshot printed = test::Render(lcd.hwnd());
    ASSERT_EQ(shown.width, step.width);
    int differ = 0;
    for (std::size_t i = 0; i < shown.pixels.size(); ++i)
      differ += shown.pixels[i] != printed.pixels[i];
    EXPECT_EQ(differ, 0) << step.width << " x " << step.height << " '" << step.value << "'";
  }
}

// The display being revealed when its owner deletes it: the timer that does so runs in the
// reveal's pause, inside WM_PAINT. The repaint must stop there, not come back into the freed
// display and play the rest of the reveal.
TLcdDisplay* toDelete = nullptr;

void CALLBACK DeleteTheDisplay(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  delete toDelete;
  toDelete = nullptr;
}

TEST(LcdWindow, DisplayDeletedDuringTheRevealEndsTheRepaint) {
  test::HostForm host(/*show=*/true);
  toDelete = new TLcdDisplay;
  ASSERT_TRUE(toDelete->Create(host.hwnd(), 10, {0, 0, 124, 22}));
  const HWND hwnd = toDelete->hwnd();
  toDelete->SetDigitNum(8);
  toDelete->SetAnimation(TLCDAnimation::anDown);
  toDelete->SetAnimationDelay(8000);  // pauses of more than a second: the timer comes in one
  toDelete->SetValue("88:88:88");
  ASSERT_NE(SetTimer(nullptr, 0, 50, DeleteTheDisplay), 0u);
  const ULONGLONG start = GetTickCount64();
  UpdateWindow(hwnd);  // WM_PAINT now, with its reveal
  EXPECT_EQ(toDelete, nullptr);
  EXPECT_FALSE(IsWindow(hwnd));
  // Back as soon as the pause in which the display went ends, not after the whole reveal.
  EXPECT_LT(GetTickCount64() - start, 6000u);
}

// What a message box shows besides its text: its visible buttons and whether it has an icon.
struct BoxParts {
  int buttons = 0;
  bool icon = false;
};

BoxParts PartsOf(HWND box) {
  BoxParts parts;
  EnumChildWindows(
      box,
      [](HWND h, LPARAM lp) -> BOOL {
        auto* p = reinterpret_cast<BoxParts*>(lp);
        wchar_t cls[32] = {};
        GetClassNameW(h, cls, 32);
        if (!IsWindowVisible(h)) return TRUE;
        if (_wcsicmp(cls, L"Button") == 0) ++p->buttons;
        if (_wcsicmp(cls, L"Static") == 0 && SendMessageW(h, STM_GETICON, 0, 0) != 0) {
          p->icon = true;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&parts));
  return parts;
}

TEST(LcdWindow, AboutIsAnInformationMessageWithNameAndVersion) {
  test::HostForm host;
  TLcdDisplay lcd;
  ASSERT_TRUE(lcd.Create(host.hwnd(), 10));
  std::wstring caption;
  BoxParts parts;
  {
    test::DialogDriver driver([&] {
      const HWND box = test::WaitForOwnWindow(L"#32770");
      ASSERT_NE(box, nullptr);
      wchar_t text[64] = {};
      GetWindowTextW(box, text, 64);
      caption = text;
      parts = PartsOf(box);
      test::Click(box, IDOK);
    });
    lcd.SetAbout(TLCDAbout::abAbout);  // modal until the driver confirms it
  }
  EXPECT_EQ(caption, L"About TLcdDisplay");
  EXPECT_EQ(parts.buttons, 1);  // OK alone
  EXPECT_TRUE(parts.icon);
  EXPECT_EQ(lcd.About(), TLCDAbout::abNone);
}

}  // namespace
}  // namespace sentavo::widgets
