// Non-visual components of the forms: the popup menu and the timer.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/geometry.h"
#include "ui/window_win.h"

namespace sentavo::ui {

class PopupMenu : public Component {
 public:
  struct Item {
    std::string caption;  // "-" for a separator
    std::function<void()> OnClick;
    bool enabled = true;
    bool checked = false;
    bool isDefault = false;  // drawn bold
    std::string name;
  };
  using Component::Component;

  Item& Add(std::string caption, std::function<void()> onClick = {}, std::string name = {});
  std::vector<Item>& Items() { return items_; }
  Item* FindItem(const std::string& name);

  // Shows the menu at `screen` for `owner` and runs the chosen item's OnClick; returns the index
  // chosen, or -1.
  int Popup(HWND owner, Point screen);

 private:
  std::vector<Item> items_;
};

// A window timer: OnTimer every Interval milliseconds while Enabled. Enabled from the start, as the
// forms' timers are; an interval of 0 stops it.
class Timer : public Component {
 public:
  explicit Timer(Component* owner = nullptr, std::string name = {});
  ~Timer() override;
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  std::function<void()> OnTimer;

 private:
  class Sink;
  void Apply();
  std::unique_ptr<Sink> sink_;
  unsigned interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace sentavo::ui
