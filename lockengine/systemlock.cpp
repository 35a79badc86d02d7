#include "lockengine/systemlock.h"

#include <utility>

namespace sentavo::lockengine {

TShiftState ShiftFromMask(std::uint32_t mask) {
  return {.shift = (mask & 4) != 0, .alt = (mask & 1) != 0, .ctrl = (mask & 2) != 0};
}

TSystemLock::TSystemLock(ui::Component* owner, std::string name, SystemLockPlatform& platform)
    : ui::Component(owner, std::move(name)), platform_(platform) {}

TSystemLock::~TSystemLock() {
  try {
    RestoreAll();
    // The window goes now; reports must not reach whatever window gets its handle next.
    if (keyWindow_) platform_.Gina().wlSetKeyPostMessage(0, 0, 0);
  } catch (...) {
    // A library that lacks a function cannot lift anything; destruction goes on regardless.
  }
  keyWindow_.reset();
}

void TSystemLock::SetasFrontApp(bool value) {
  if (value == asFrontApp_) return;
  asFrontApp_ = value;
  Registry& registry = platform_.SystemRegistry();
  if (value) {
    registry.WriteString(RegistryRoot::LocalMachine, kRunOnceKey, kFrontAppValue,
                         platform_.ProgramPath(), /*createKey=*/false);
  } else {
    registry.DeleteValue(RegistryRoot::LocalMachine, kRunOnceKey, kFrontAppValue);
  }
}

void TSystemLock::SetSwitch(LockSwitch s, bool value) {
  bool& field = switches_[static_cast<std::size_t>(s)];
  field = value;
  // Stored False values need no call: the library starts with nothing blocked.
  if (IsLoading() && !value) return;
  const LockSwitchInfo& info = InfoOf(s);
  GinaLibrary& gina = platform_.Gina();
  if (info.isKey) {
    const std::int32_t result = gina.wlDisableKey(0, info.code, info.mask, value ? 1 : 0);
    if (s == LockSwitch::noCtrlAltDel) field = result != 0;
  } else {
    gina.wlDisableItem(info.code, value ? 1 : 0);
  }
}

void TSystemLock::SetOnKeyDown(TdwKeyEvent handler) {
  onKeyDown_ = std::move(handler);
  UpdateKeyMessages();
}

void TSystemLock::SetOnKeyUp(TdwKeyEvent handler) {
  onKeyUp_ = std::move(handler);
  UpdateKeyMessages();
}

void TSystemLock::SetOnMouseDown(TdwMouseEvent handler) {
  onMouseDown_ = std::move(handler);
  UpdateKeyMessages();
}

void TSystemLock::SetOnMouseUp(TdwMouseEvent handler) {
  onMouseUp_ = std::move(handler);
  UpdateKeyMessages();
}

WindowHandle TSystemLock::KeyMessageWindowHandle() const {
  return keyWindow_ ? keyWindow_->Handle() : 0;
}

void TSystemLock::UpdateKeyMessages() {
  const std::uint32_t press = (onKeyDown_ || onMouseDown_) ? kKeyPressMessage : 0;
  const std::uint32_t release = (onKeyUp_ || onMouseUp_) ? kKeyReleaseMessage : 0;
  if (!keyWindow_) {
    keyWindow_ = platform_.CreateKeyMessageWindow(
        [this](std::uint32_t msg, std::uintptr_t wp, std::intptr_t lp) {
          HandleKeyMessage(msg, wp, lp);
        });
  }
  platform_.Gina().wlSetKeyPostMessage(keyWindow_->Handle(), press, release);
}

void TSystemLock::HandleKeyMessage(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (msg != kKeyPressMessage && msg != kKeyReleaseMessage) return;
  const bool press = msg == kKeyPressMessage;
  const WindowHandle receiving = wParam;
  const auto packed = static_cast<std::uint32_t>(lParam);
  const auto key = static_cast<std::uint16_t>(packed & 0xFFFF);
  const TShiftState shift = ShiftFromMask(packed >> 16);
  if (key == 1 || key == 2 || key == 4) {
    // Copies: a handler may assign its event anew while it runs.
    const TdwMouseEvent event = press ? onMouseDown_ : onMouseUp_;
    if (!event) return;
    const TMouseButton button = key == 1   ? TMouseButton::mbLeft
                                : key == 2 ? TMouseButton::mbRight
                                           : TMouseButton::mbMiddle;
    const Point at = platform_.CursorPos();
    event(receiving, button, shift, at.x, at.y);
    return;
  }
  const TdwKeyEvent event = press ? onKeyDown_ : onKeyUp_;
  if (event) event(receiving, key, shift);
}

void TSystemLock::RestoreAll() {
  SetReplaceStartmenu(false);
  platform_.Gina().wlRestoreAll();
}

bool TSystemLock::InstallGina() {
  return platform_.Gina().wlInstallGina(0) != 0;
}

bool TSystemLock::IsGinaInstalled() {
  return platform_.Gina().wlIsGinaInstalled() == 1;
}

void TSystemLock::Loaded() {
  ui::Component::Loaded();
  SetReplaceStartmenu(replaceStartmenu_);
}

void TSystemLock::Notification(ui::Component& component, ui::Operation operation) {
  ui::Component::Notification(component, operation);
  if (operation != ui::Operation::Remove) return;
  if (startMenu_ && static_cast<ui::Component*>(startMenu_) == &component) startMenu_ = nullptr;
  if (startbutton_ && static_cast<ui::Component*>(startbutton_) == &component) {
    startbutton_ = nullptr;
  }
}

FormWindow* TSystemLock::OwnerForm() const {
  return dynamic_cast<FormWindow*>(owner());
}

// ---- The replacement start button ----

WindowHandle TSystemLock::StartPanelHandle() const {
  return startPanel_ ? startPanel_->Handle() : 0;
}

void TSystemLock::SetReplaceStartmenu(bool value) {
  replaceStartmenu_ = value;
  if (!value) {
    startPanel_.reset();
    return;
  }
  if (!IsLoading()) {
    // The real button must show itself while its picture is taken.
    SetnoStartbutton(false);
    // A second True replaces the first replacement instead of leaving it where no one can
    // remove it.
    startPanel_.reset();
    startPanel_ = CreateStartPanel();
    if (startPanel_) {
      startPanel_->Control().SetOnClick([this] { StartButtonClick(); });
      if (FormWindow* form = OwnerForm()) platform_.BringToForeground(form->FormHandle());
    }
  }
  SetnoStartbutton(true);
}

// Without a taskbar or a start button to lay it over (Wine, Windows 11), nothing is built.
std::unique_ptr<StartPanel> TSystemLock::CreateStartPanel() {
  StartButtonHost& host = platform_.StartButtons();
  const std::optional<Rect> button = host.FindStartButton();
  if (!button) return nullptr;
  host.BringTaskbarToForeground();
  std::unique_ptr<StartControl> control;
  if (startbutton_) {
    // The copy takes every stored property but the name, which stays the source's own.
    const std::string sourceName = startbutton_->name();
    startbutton_->SetName({});
    std::unique_ptr<CopyableButton> copy;
    try {
      copy = startbutton_->CopyStoredProperties();
    } catch (...) {
      startbutton_->SetName(sourceName);
      throw;
    }
    startbutton_->SetName(sourceName);
    copy->SetName("SysLockStart");
    control = std::move(copy);
  } else {
    control = host.CapturePicture(*button);
  }
  return host.CreatePanel(*button, std::move(control));
}

void TSystemLock::StartButtonClick() {
  StartButtonHost& host = platform_.StartButtons();
  // The button can vanish with an Explorer restart; the menu then opens at the screen's corner.
  const Rect r = host.FindStartButton().value_or(Rect{});
  if (FormWindow* form = OwnerForm()) platform_.BringToForeground(form->FormHandle());
  const std::int32_t x = r.left < 10 ? 0 : r.right;
  std::int32_t y = r.bottom;
  if (r.top > 200) {
    y = r.top;
    GinaLibrary& gina = platform_.Gina();
    // Versions 5 and 2 have the taskbar at the bottom: the menu opens upwards.
    if (gina.wlWinVersion() == 5 || gina.wlWinVersion() == 2) {
      const std::int32_t height =
          startMenu_ ? host.MeasureMenuHeight(*startMenu_, Point{x, r.top}) + 7 : 0;
      y = r.top - height;
    }
  }
  if (const TStartButtonEvent handler = OnStartButton) handler(*this, x, y);
  // The handler may have destroyed the menu; the removal notification has then cleared it.
  if (startMenu_) startMenu_->Popup(x, y);
}

}  // namespace sentavo::lockengine
