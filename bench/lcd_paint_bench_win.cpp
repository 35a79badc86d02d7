// Prints how long TLcdDisplay takes to repaint the client's countdown (124 x 22, 8 cells, double
// buffered): the mean of many repaints timed here, and the control's own PaintDuration (not a
// test).
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

}  // namespace

int wmain() {
  using namespace sentavo;
  Host host;
  widgets::TLcdDisplay lcd;
  lcd.Create(host.hwnd(), 10, {3, 3, 124, 22});
  lcd.SetDigitNum(8);
  constexpr int kRepaints = 2000;
  const auto start = std::chrono::steady_clock::now();
  std::uint32_t longest = 0;
  for (int i = 0; i < kRepaints; ++i) {
    lcd.SetValue(CountdownText(3600 - i));
    UpdateWindow(lcd.hwnd());
    if (lcd.PaintDuration() > longest) longest = lcd.PaintDuration();
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf(
      "TLcdDisplay 124x22, 8 cells: %d repaints, mean %.3f ms each; longest PaintDuration %u ms\n",
      kRepaints, ms / kRepaints, longest);
  return 0;
}
