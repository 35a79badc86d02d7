// The cover windows over the monitors the lock window does not fill, under Wine (one monitor: the
// rectangles are given to the covers directly).
#include <gtest/gtest.h>

#include "client/monitor_covers_win.h"

namespace sentavo::client {
namespace {

RECT WindowRect(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

void Pump() {
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
}

TEST(MonitorCovers, CoversAreTopmostUnactivatableAndSwallowClicks) {
  MonitorCovers covers;
  covers.Place({{100, 100, 300, 200}, {400, 0, 520, 90}});
  ASSERT_EQ(covers.windows().size(), 2u);
  const HWND first = covers.windows()[0];
  const RECT r = WindowRect(first);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(r.right, 300);
  EXPECT_EQ(r.bottom, 200);
  EXPECT_EQ(WindowRect(covers.windows()[1]).right, 520);
  for (const HWND h : covers.windows()) {
    EXPECT_TRUE(IsWindowVisible(h));
    const LONG_PTR ex = GetWindowLongPtrW(h, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);  // no taskbar button
    EXPECT_EQ(GetWindow(h, GW_CHILD), nullptr);
    EXPECT_EQ(SendMessageW(h, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(h),
                           MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
              MA_NOACTIVATEANDEAT);
  }
  // A real click on a cover leaves the focus where it was.
  const HWND before = GetForegroundWindow();
  SetCursorPos(200, 150);
  INPUT click[2]{};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof(INPUT));
  Pump();
  EXPECT_NE(GetForegroundWindow(), first);
  EXPECT_EQ(GetForegroundWindow(), before);
  PostMessageW(first, WM_CLOSE, 0, 0);
  Pump();
  EXPECT_TRUE(IsWindow(first));  // only the lock takes a cover away

  // The display changed: one monitor less, then none; the covers follow.
  covers.Place({{0, 0, 640, 480}});
  ASSERT_EQ(covers.windows().size(), 1u);
  EXPECT_EQ(WindowRect(covers.windows()[0]).right, 640);
  const HWND kept = covers.windows()[0];
  covers.Remove();
  EXPECT_TRUE(covers.windows().empty());
  EXPECT_FALSE(IsWindow(kept));
}

TEST(MonitorCovers, ALockWindowFillingTheOnlyMonitorNeedsNoCover) {
  const HWND lock = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"lock", WS_POPUP, 0, 0,
                                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                    nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(lock, nullptr);
  ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
  MonitorCovers covers;
  covers.Place({{0, 0, 10, 10}});  // left from a monitor that has gone
  covers.Cover(lock);
  EXPECT_TRUE(covers.windows().empty());
  DestroyWindow(lock);
}

}  // namespace
}  // namespace sentavo::client
