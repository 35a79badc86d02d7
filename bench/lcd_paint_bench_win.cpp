// Prints how long TLcdDisplay takes to repaint the client's countdown (124 x 22, 8 cells, double
// buffered): the mean of many repaints timed here, and the control's own PaintDuration (not a
// test). Beside it, the two parts of that figure: the display's own painting into the window's DC,
// and the same repaint round trip (text, invalidation, WM_PAINT) of a window that paints nothing,
// which is the window system's share.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "formats/validity.h"
#include "ui/form_win.h"
#include "widgets/lcd_display_win.h"

namespace {

class Host : public sentavo::ui::Form {
 public:
  Host() {
    sentavo::ui::InitWindowLayer();
    sentavo::ui::FormSpec desc;
    desc.caption = "LCD bench";
    desc.bounds = {40, 40, 300, 100};
    desc.color = sentavo::ui::clBlack;
    CreateForm(desc);
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  }
  ~Host() override { Destroy(); }
};

LRESULT CALLBACK PaintsNothing(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_ERASEBKGND) return 1;
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

double MsSince(std::chrono::steady_clock::time_point start, int times) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
             .count() /
         times;
}

}  // namespace

int wmain() {
  using namespace sentavo;
  Host host;
  widgets::TLcdDisplay lcd;
  lcd.Create(host.hwnd(), 10, {3, 3, 124, 22});
  lcd.SetDigitNum(8);
  constexpr int kRepaints = 2000;
  auto start = std::chrono::steady_clock::now();
  std::uint32_t longest = 0;
  for (int i = 0; i < kRepaints; ++i) {
    lcd.SetValue(CountdownText(3600 - i));
    UpdateWindow(lcd.hwnd());
    if (lcd.PaintDuration() > longest) longest = lcd.PaintDuration();
  }
  const double repaint = MsSince(start, kRepaints);

  const HDC dc = GetDC(lcd.hwnd());
  std::chrono::steady_clock::duration painting{};
  for (int i = 0; i < kRepaints; ++i) {
    lcd.SetValue(CountdownText(1600 - i));
    const auto before = std::chrono::steady_clock::now();
    (void)lcd.PaintTo(dc);
    painting += std::chrono::steady_clock::now() - before;
  }
  ValidateRect(lcd.hwnd(), nullptr);
  const double paint = std::chrono::duration<double, std::milli>(painting).count() / kRepaints;
  ReleaseDC(lcd.hwnd(), dc);

  WNDCLASSW wc{};
  wc.lpfnWndProc = PaintsNothing;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SentavoBenchPaintsNothing";
  RegisterClassW(&wc);
  const HWND empty = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 3, 30, 124,
                                     22, host.hwnd(), nullptr, wc.hInstance, nullptr);
  start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRepaints; ++i) {
    SetWindowTextW(empty, (i & 1) ? L"1" : L"2");
    InvalidateRect(empty, nullptr, FALSE);
    UpdateWindow(empty);
  }
  const double nothing = MsSince(start, kRepaints);
  DestroyWindow(empty);

  std::printf(
      "TLcdDisplay 124x22, 8 cells: %d repaints, mean %.3f ms each; longest PaintDuration %u ms\n",
      kRepaints, repaint, longest);
  std::printf(
      "  of which painting into the window's DC %.3f ms; the round trip of a window that paints "
      "nothing %.3f ms\n",
      paint, nothing);
  return 0;
}
