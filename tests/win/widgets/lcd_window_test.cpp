// The seven-segment display painted by Windows: every segment of "12:34:56" in its colour.
#include <gtest/gtest.h>

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
