#include "lockengine/global_hot_key.h"

#include <utility>

namespace sentavo::lockengine {

HotKeyCode SplitShortCut(TShortCut shortcut) {
  HotKeyCode code;
  if (shortcut & 0x2000) code.modifiers |= 4;  // MOD_SHIFT
  if (shortcut & 0x8000) code.modifiers |= 1;  // MOD_ALT
  if (shortcut & 0x4000) code.modifiers |= 2;  // MOD_CONTROL
  code.key = shortcut & 0xFF;
  return code;
}

TGlobalHotKey::TGlobalHotKey(ui::Component* owner, std::string name,
                             std::unique_ptr<HotKeyBackend> backend)
    : ui::Component(owner, std::move(name)), backend_(std::move(backend)) {
  backend_->Attach([this] {
    if (OnHotKey) OnHotKey(*this);
  });
}

TGlobalHotKey::~TGlobalHotKey() {
  Unregister();
}

void TGlobalHotKey::SetEnabled(bool value) {
  enabled_ = value;
  if (value) {
    Register();
  } else {
    Unregister();
  }
}

void TGlobalHotKey::SetKey(TShortCut value) {
  if (value == key_) return;
  key_ = value;
  Unregister();
  if (enabled_) Register();
}

void TGlobalHotKey::Loaded() {
  ui::Component::Loaded();
  if (enabled_) Register();
}

void TGlobalHotKey::Register() {
  if (registered_) return;
  registered_ = backend_->Register(SplitShortCut(key_));
}

void TGlobalHotKey::Unregister() {
  if (!registered_) return;
  backend_->Unregister();
  registered_ = false;
}

}  // namespace sentavo::lockengine
