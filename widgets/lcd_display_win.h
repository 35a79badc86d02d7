// TLcdDisplay: the seven-segment display as a child window. Its window text is its Value, so that
// another program can read what it shows.
#pragma once

#include <functional>

#include "ui/window_win.h"
#include "widgets/lcd_display.h"

namespace sentavo::widgets {

class TLcdDisplay : public ui::Window, public LcdDisplayModel {
 public:
  explicit TLcdDisplay(ui::Component* owner = nullptr, std::string name = {});
  ~TLcdDisplay() override;
  // A new display is 92 x 34 pixels.
  bool Create(HWND parent, int id, const ui::Bounds& bounds = {0, 0, 92, 34});
  // Draws the whole display into `dc` as a repaint would (for printing and tests).
  void PaintTo(HDC dc);

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void RequestRepaint() override;
  void ValueStored(const std::string& value) override;
  void ShowAbout(const std::string& text) override;

 private:
  bool pressed_ = false;
  bool missedPaint_ = false;
};

}  // namespace sentavo::widgets
