// TGlobalHotKey: one system-wide hot key; OnHotKey fires whichever program has the focus.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "lockengine/shell_types.h"
#include "ui/component.h"

namespace sentavo::lockengine {

// A shortcut value: 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt, the virtual-key code below.
using TShortCut = std::uint16_t;

// What RegisterHotKey is given: MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, and the low 8 bits of the
// key. Ctrl+Alt+Shift+0 (57392) is modifiers 7 and virtual key 48.
struct HotKeyCode {
  std::uint32_t modifiers = 0;
  std::uint32_t key = 0;
  bool operator==(const HotKeyCode&) const = default;
};
HotKeyCode SplitShortCut(TShortCut shortcut);

// The hot-key window and the system's registration (identifier 0 of that window).
class HotKeyBackend {
 public:
  virtual ~HotKeyBackend() = default;  // destroys the window
  // From now on every WM_HOTKEY of the window calls `fired`.
  virtual void Attach(std::function<void()> fired) = 0;
  virtual bool Register(const HotKeyCode& code) = 0;
  virtual void Unregister() = 0;
  virtual WindowHandle Window() const = 0;
};

class TGlobalHotKey : public ui::Component {
 public:
  TGlobalHotKey(ui::Component* owner, std::string name, std::unique_ptr<HotKeyBackend> backend);
  ~TGlobalHotKey() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  TShortCut Key() const { return key_; }
  void SetKey(TShortCut value);
  TNotifyEvent OnHotKey;  // a plain field

  // Whether the system accepted the hot key. A refused one is tried again at the next
  // assignment of Enabled True, of a new Key, or when loading ends.
  bool Registered() const { return registered_; }
  WindowHandle Window() const { return backend_->Window(); }

 protected:
  void Loaded() override;

 private:
  void Register();
  void Unregister();

  std::unique_ptr<HotKeyBackend> backend_;
  bool enabled_ = true;
  TShortCut key_ = 0;
  bool registered_ = false;
};

}  // namespace sentavo::lockengine
