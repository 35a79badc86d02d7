#include "lockengine/global_hot_key_win.h"

#include "lockengine/handles_win.h"
#include "ui/window_win.h"

namespace sentavo::lockengine {
namespace {

class HotKeyWindow final : public HotKeyBackend, public ui::Window {
 public:
  HotKeyWindow() {
    ui::WindowSpec desc;
    desc.className = L"SentavoHotKey";
    desc.style = 0;
    desc.parent = HWND_MESSAGE;
    Create(desc);
  }
  void Attach(std::function<void()> fired) override { fired_ = std::move(fired); }
  bool Register(const HotKeyCode& code) override {
    return RegisterHotKey(hwnd(), 0, code.modifiers, code.key) != 0;
  }
  void Unregister() override { UnregisterHotKey(hwnd(), 0); }
  WindowHandle Window() const override { return FromHwnd(hwnd()); }

 protected:
  // WM_HOTKEY fires the event and then, like every other message, goes on to the default.
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_HOTKEY && fired_) fired_();
    return DefaultHandling(msg, wp, lp);
  }

 private:
  std::function<void()> fired_;
};

}  // namespace

std::unique_ptr<HotKeyBackend> MakeWin32HotKeyBackend() {
  return std::make_unique<HotKeyWindow>();
}

}  // namespace sentavo::lockengine
