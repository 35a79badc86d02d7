// Date and time pickers, and a number box with an up-down control beside it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "formats/oledate.h"
#include "ui/controls_win.h"

namespace sentavo::ui {

// A date in the short date format with a drop-down calendar.
class DatePicker : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds);
  DateTime Date() const;  // the time of day is what the control keeps, not meaningful
  void SetDate(const DateTime& date);
  std::function<void()> OnChange;

 protected:
  bool OnNotify(NMHDR& header, LRESULT& result) override;
};

// A time of day with arrows.
class TimePicker : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds);
  DateTime Time() const;  // the date part is what the control keeps, not meaningful
  void SetTime(const DateTime& time);
  std::function<void()> OnChange;

 protected:
  bool OnNotify(NMHDR& header, LRESULT& result) override;
};

// The up-down arrows; NumberBox owns one.
class UpDown : public Control {
 public:
  using Control::Control;
  bool Create(HWND parent, int id, const Bounds& bounds);
  std::function<void(int delta)> OnDelta;

 protected:
  bool OnNotify(NMHDR& header, LRESULT& result) override;
};

// A number box with its up-down control: a whole number in a range, shown with the system's
// thousands separator. The arrows step by `Increment` and stop at the ends; typed text counts
// when it is a whole number inside the range, any other text leaves the last valid value.
class NumberBox : public Component {
 public:
  using Component::Component;
  // The edit gets `bounds` less the arrows' width; the arrows sit at its right.
  bool Create(HWND parent, int editId, int upDownId, const Bounds& bounds);
  void SetRange(int min, int max);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetIncrement(int step) { increment_ = step; }
  // Shows the digits grouped by the separator (true) or plain.
  void SetThousands(bool thousands);
  int Position() const { return position_; }
  void SetPosition(int value);  // clamped into the range; raises no OnChange
  Edit& Box() { return edit_; }
  UpDown& Arrows() { return arrows_; }

  std::function<void(int position)> OnChange;

 private:
  void ShowPosition();
  void TextTyped();
  Edit edit_;
  UpDown arrows_;
  int min_ = 0;
  int max_ = 100;
  int increment_ = 1;
  int position_ = 0;
  bool thousands_ = true;
  bool showing_ = false;
};

// The user's thousands separator, UTF-8 ("," when the system gives none).
std::string SystemThousandsSeparator();

}  // namespace sentavo::ui
