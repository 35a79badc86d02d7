// The window base under Wine: messages reach the object, exceptions stay inside, teardown clears
// the back-pointer.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ui/window_win.h"

namespace sentavo::ui {
namespace {

class Recorder : public Window {
 public:
  std::vector<UINT> seen;
  bool destroyed = false;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    seen.push_back(msg);
    if (msg == WM_APP) return 1234;
    if (msg == WM_APP + 1) throw std::runtime_error("handler failed");
    return Window::HandleMessage(msg, wp, lp);
  }
  void OnHandleDestroyed() override { destroyed = true; }
};

TEST(Window, RoutesMessagesToTheObjectAndKeepsExceptionsInside) {
  Recorder w;
  WindowSpec desc;
  desc.className = L"SentavoTestWindow";
  desc.parent = HWND_MESSAGE;
  ASSERT_TRUE(w.Create(desc)) << GetLastError();
  ASSERT_NE(w.hwnd(), nullptr);
  EXPECT_EQ(w.seen.front(), static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_APP, 0, 0), 1234);
  EXPECT_EQ(SendMessageW(w.hwnd(), WM_APP + 1, 0, 0), 0);  // swallowed, not propagated
  const HWND h = w.hwnd();
  w.Destroy();
  EXPECT_TRUE(w.destroyed);
  EXPECT_EQ(w.hwnd(), nullptr);
  EXPECT_FALSE(IsWindow(h));
}

TEST(Window, TwoWindowsOfOneClassEachReachTheirOwnObject) {
  Recorder a, b;
  WindowSpec desc;
  desc.className = L"SentavoTestWindow";
  desc.parent = HWND_MESSAGE;
  ASSERT_TRUE(a.Create(desc));
  ASSERT_TRUE(b.Create(desc));
  a.seen.clear();
  b.seen.clear();
  SendMessageW(b.hwnd(), WM_APP, 0, 0);
  EXPECT_TRUE(a.seen.empty());
  EXPECT_EQ(b.seen, std::vector<UINT>{WM_APP});
}

}  // namespace
}  // namespace sentavo::ui
