// The colour button as Windows paints it and as the mouse and keyboard drive it.
#include <gtest/gtest.h>

#include "ui/controls_win.h"
#include "widgets/color_button_win.h"
#include "win_test_support.h"

namespace sentavo::widgets {
namespace {

using namespace std::chrono_literals;

using test::Hex;

TEST(ColorButtonWindow, RedBevelHasTheComputedEdgesOnTheRightPixels) {
  test::HostForm host;
  TColorButton b;
  ASSERT_TRUE(b.Create(host.hwnd(), 10, {10, 10, 75, 25}));
  b.SetColor(ui::MakeColor(255, 0, 0));
  const std::string hi = Hex(ui::MakeColor(255, 127, 127)), sh = Hex(ui::MakeColor(102, 0, 0));
  const std::string black = Hex(ui::clBlack), red = Hex(ui::MakeColor(255, 0, 0));
  {
    const test::Snapshot up = test::Render(b.hwnd());
    EXPECT_EQ(Hex(up.PixelAt(10, 0)), hi);  // outer frame, top
    EXPECT_EQ(Hex(up.PixelAt(0, 10)), hi);  // outer frame, left
    EXPECT_EQ(Hex(up.PixelAt(10, 24)), black);
    EXPECT_EQ(Hex(up.PixelAt(74, 10)), black);
    EXPECT_EQ(Hex(up.PixelAt(10, 1)), hi);   // bevel, top
    EXPECT_EQ(Hex(up.PixelAt(1, 10)), hi);   // bevel, left
    EXPECT_EQ(Hex(up.PixelAt(10, 23)), sh);  // bevel, bottom
    EXPECT_EQ(Hex(up.PixelAt(73, 10)), sh);  // bevel, right
    EXPECT_EQ(Hex(up.PixelAt(40, 12)), red);
  }
  b.SetDown(true);
  const test::Snapshot down = test::Render(b.hwnd());
  EXPECT_EQ(Hex(down.PixelAt(10, 0)), black);
  EXPECT_EQ(Hex(down.PixelAt(10, 1)), sh);
  EXPECT_EQ(Hex(down.PixelAt(10, 23)), hi);
  EXPECT_EQ(Hex(down.PixelAt(74, 10)), hi);
}

TEST(ColorButtonWindow, LockWindowStyleSingleSilverFrameAndWideBevel) {
  test::HostForm host;
  TColorButton b;
  ASSERT_TRUE(b.Create(host.hwnd(), 10, {0, 0, 161, 57}, "Zkontrolovat"));
  b.SetColor(ui::MakeColor(0, 64, 0));
  b.SetBorderStyle(TBorderStyle::bsSingle);
  b.SetBorderColor(ui::clSilver);
  b.SetBevelWidth(2);
  b.SetFont(ui::VerdanaBold(13));
  const test::Snapshot img = test::Render(b.hwnd());
  const std::string hi = Hex(ui::MakeColor(127, 159, 127)), sh = Hex(ui::MakeColor(0, 26, 0));
  EXPECT_EQ(Hex(img.PixelAt(80, 0)), Hex(ui::clSilver));
  EXPECT_EQ(Hex(img.PixelAt(80, 56)), Hex(ui::clSilver));
  EXPECT_EQ(Hex(img.PixelAt(80, 1)), hi);
  EXPECT_EQ(Hex(img.PixelAt(80, 2)), hi);
  EXPECT_EQ(Hex(img.PixelAt(80, 55)), sh);
  EXPECT_EQ(Hex(img.PixelAt(159, 30)), sh);
  EXPECT_EQ(Hex(img.PixelAt(5, 5)), Hex(ui::MakeColor(0, 64, 0)));
  // The caption is drawn in white somewhere in the middle row.
  bool white = false;
  for (int x = 20; x < 140; ++x) white = white || img.PixelAt(x, 28) == ui::clWhite;
  EXPECT_TRUE(white);
  EXPECT_EQ(b.Text(), "Zkontrolovat");
}

TEST(ColorButtonWindow, GlyphResourceIsDrawnWithItsBackgroundTransparent) {
  test::HostForm host;
  TColorButton b;
  ASSERT_TRUE(b.Create(host.hwnd(), 10, {0, 0, 20, 20}));
  const ui::PixelImage fold = LoadBitmapResource(L"FOLD");
  ASSERT_EQ(fold.width, 16);
  ASSERT_EQ(fold.height, 16);
  b.SetGlyph(fold);
  b.SetNumGlyphs(1);
  b.SetColor(ui::MakeColor(0, 0, 128));
  const test::Snapshot img = test::Render(b.hwnd());
  // Glyph at ((18 - 16) / 2, (2 + 18 - 16) / 2) = (1, 2): its magenta corner shows the face.
  EXPECT_EQ(Hex(img.PixelAt(2, 3)), Hex(ui::MakeColor(0, 0, 128)));
  EXPECT_EQ(Hex(img.PixelAt(1 + 14, 2 + 5)), Hex(ui::clBlack));  // the folder's outline
  EXPECT_EQ(Hex(img.PixelAt(1 + 5, 2 + 9)), Hex(ui::MakeColor(255, 214, 90)));
}

TEST(ColorButtonWindow, MouseClicksOnReleaseAndHoldsTheMouseMeanwhile) {
  test::HostForm host;
  TColorButton b;
  ASSERT_TRUE(b.Create(host.hwnd(), 10, {10, 10, 75, 25}, "OK"));
  std::vector<std::string> log;
  b.OnClick = [&](ColorButtonModel&) { log.push_back("click"); };
  b.OnStateChange = [&](ColorButtonModel& m) { log.push_back(m.Down() ? "down" : "up"); };
  SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCapture(), b.hwnd());
  EXPECT_NE(GetFocus(), b.hwnd());
  SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(500, 500));  // released far away
  EXPECT_EQ(GetCapture(), nullptr);
  SendMessageW(b.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, 0);
  SendMessageW(b.hwnd(), WM_RBUTTONUP, 0, 0);
  SendMessageW(b.hwnd(), BM_CLICK, 0, 0);  // as another program clicks it
  EXPECT_EQ(log, (std::vector<std::string>{"down", "up", "click", "down", "up", "click"}));
  // Losing the mouse mid-press brings it up without a click.
  log.clear();
  SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ReleaseCapture();
  EXPECT_FALSE(b.Down());
  EXPECT_EQ(log, (std::vector<std::string>{"down", "up"}));
}

TEST(ColorButtonWindow, GroupedSiblingsAndDisabling) {
  test::HostForm host;
  TColorButton a, b;
  ASSERT_TRUE(a.Create(host.hwnd(), 10, {0, 0, 75, 25}, "A"));
  ASSERT_TRUE(b.Create(host.hwnd(), 11, {80, 0, 75, 25}, "B"));
  for (TColorButton* x : {&a, &b}) {
    x->SetGrouped(true);
    x->SetGroupIndex(1);
  }
  SendMessageW(a.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(a.Down());
  SendMessageW(b.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(a.Down());
  b.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(b.hwnd()));
  EXPECT_TRUE(b.Down());  // a grouped button keeps its state
  a.SetGrouped(false);
  a.SetDown(true);
  a.SetEnabled(false);
  EXPECT_FALSE(a.Down());
  int clicks = 0;
  b.OnClick = [&](ColorButtonModel&) { ++clicks; };
  SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);  // Windows gives a disabled window no
  SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, 0);             // input; the button ignores it anyway
  EXPECT_EQ(clicks, 0);
}

TEST(ColorButtonWindow, AcceleratorFromTheForm) {
  test::HostForm host(true);  // only visible buttons take accelerators
  TColorButton b, other;
  ASSERT_TRUE(b.Create(host.hwnd(), 10, {0, 0, 75, 25}, "&Konec"));
  ASSERT_TRUE(other.Create(host.hwnd(), 11, {80, 0, 75, 25}, "&Uložit"));
  int clicks = 0;
  b.OnClick = [&](ColorButtonModel&) { ++clicks; };
  EXPECT_TRUE(host.DispatchDialogChar(U'k'));
  EXPECT_FALSE(host.DispatchDialogChar(U'x'));
  b.SetEnabled(false);
  EXPECT_TRUE(host.DispatchDialogChar(U'K'));  // swallowed, not clicked
  EXPECT_EQ(clicks, 1);
  // Alt+K arrives as WM_SYSCHAR and goes through the form's keyboard handling.
  b.SetEnabled(true);
  MSG msg{host.hwnd(), WM_SYSCHAR, 'k', 0, 0, {0, 0}};
  EXPECT_TRUE(ui::PreTranslateFormMessage(msg));
  EXPECT_EQ(clicks, 2);
}

TEST(ColorButtonWindow, RepeatTimerClicksWhileHeld) {
  test::HostForm host;
  TColorButton b;
  ASSERT_TRUE(b.Create(host.hwnd(), 10, {0, 0, 75, 25}, "+"));
  b.SetAllowTimer(true);
  b.SetTimerDelay(50);
  b.SetTimerInterval(20);
  int clicks = 0;
  b.OnClick = [&](ColorButtonModel&) { ++clicks; };
  SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  test::Pump(400ms);
  SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, 0);
  const int held = clicks;
  EXPECT_GE(held, 3);
  test::Pump(150ms);
  EXPECT_EQ(clicks, held);  // the timer stopped with the release
}

}  // namespace
}  // namespace sentavo::widgets
