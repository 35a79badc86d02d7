#include "ui/menu_timer_win.h"

#include "formats/wide_win.h"

namespace sentavo::ui {

PopupMenu::Item& PopupMenu::Add(std::string caption, std::function<void()> onClick,
                                std::string name) {
  Item item;
  item.caption = std::move(caption);
  item.OnClick = std::move(onClick);
  item.name = std::move(name);
  items_.push_back(std::move(item));
  return items_.back();
}

PopupMenu::Item* PopupMenu::FindItem(const std::string& name) {
  for (Item& item : items_) {
    if (item.name == name) return &item;
  }
  return nullptr;
}

int PopupMenu::Popup(HWND owner, Point screen) {
  const HMENU menu = CreatePopupMenu();
  if (!menu) return -1;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const Item& item = items_[i];
    if (item.caption == "-") {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (!item.enabled) flags |= MF_GRAYED;
    if (item.checked) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, i + 1, Widen(item.caption).c_str());
    if (item.isDefault) SetMenuDefaultItem(menu, static_cast<UINT>(i + 1), FALSE);
  }
  // The owner must be in front, or the menu does not close when the user clicks elsewhere.
  SetForegroundWindow(owner);
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x,
                                    screen.y, 0, owner, nullptr);
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (chosen <= 0) return -1;
  const auto index = static_cast<std::size_t>(chosen - 1);
  if (items_[index].OnClick) items_[index].OnClick();
  return static_cast<int>(index);
}

// A message-only window that receives the timer's ticks.
class Timer::Sink : public Window {
 public:
  explicit Sink(Timer& timer) : timer_(timer) {
    WindowSpec desc;
    desc.className = L"SentavoTimer";
    desc.parent = HWND_MESSAGE;
    desc.style = 0;
    Create(desc);
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_TIMER) {
      if (timer_.OnTimer) timer_.OnTimer();
      return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
  }

 private:
  Timer& timer_;
};

Timer::Timer(Component* owner, std::string name)
    : Component(owner, std::move(name)), sink_(std::make_unique<Sink>(*this)) {
  Apply();
}

Timer::~Timer() = default;

void Timer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Apply();
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Apply();
}

void Timer::Apply() {
  const HWND hwnd = sink_->hwnd();
  if (!hwnd) return;
  KillTimer(hwnd, 1);
  if (enabled_ && interval_ > 0) SetTimer(hwnd, 1, interval_, nullptr);
}

}  // namespace sentavo::ui
