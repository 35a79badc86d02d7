#include "lockengine/bu_tray_icon.h"

#include <array>
#include <exception>
#include <utility>

namespace sentavo::lockengine {
namespace {

// UTF-16 units of the UTF-8 sequence starting with `lead`: two beyond the basic plane.
std::size_t Utf16Units(unsigned char lead) {
  return lead >= 0xF0 ? 2 : 1;
}

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

using S = TrayStep;
constexpr std::array<S, 1> kMove = {S::MouseMove};
constexpr std::array<S, 2> kLeftDown = {S::LeftButtonDown, S::DropDownMenu};
constexpr std::array<S, 3> kLeftUp = {S::LeftButtonUp, S::MouseUp, S::Click};
constexpr std::array<S, 2> kLeftDbl = {S::LeftButtonDblClick, S::DblClick};
constexpr std::array<S, 1> kRightDown = {S::RightButtonDown};
constexpr std::array<S, 4> kRightUp = {S::PopupMenu, S::RightButtonUp, S::MouseUp, S::Click};
constexpr std::array<S, 2> kRightDbl = {S::RightButtonDblClick, S::DblClick};
constexpr std::array<S, 1> kMiddleDown = {S::MiddleButtonDown};
constexpr std::array<S, 3> kMiddleUp = {S::MiddleButtonUp, S::MouseUp, S::Click};
constexpr std::array<S, 2> kMiddleDbl = {S::MiddlebuttonDblClk, S::DblClick};

}  // namespace

std::string TrayTip(std::string_view hint) {
  const std::string_view text = hint.substr(0, hint.find('|'));
  std::size_t units = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (units + Utf16Units(lead) > kTrayTipLength) break;
    units += Utf16Units(lead);
    ++i;
    while (i < text.size() && IsContinuation(static_cast<unsigned char>(text[i]))) ++i;
  }
  return std::string(text.substr(0, i));
}

std::span<const TrayStep> TraySteps(std::intptr_t mouseMessage) {
  switch (mouseMessage) {
    case 0x0200: return kMove;        // WM_MOUSEMOVE
    case 0x0201: return kLeftDown;    // WM_LBUTTONDOWN
    case 0x0202: return kLeftUp;      // WM_LBUTTONUP
    case 0x0203: return kLeftDbl;     // WM_LBUTTONDBLCLK
    case 0x0204: return kRightDown;   // WM_RBUTTONDOWN
    case 0x0205: return kRightUp;     // WM_RBUTTONUP
    case 0x0206: return kRightDbl;    // WM_RBUTTONDBLCLK
    case 0x0207: return kMiddleDown;  // WM_MBUTTONDOWN
    case 0x0208: return kMiddleUp;    // WM_MBUTTONUP
    case 0x0209: return kMiddleDbl;   // WM_MBUTTONDBLCLK
    default: return {};
  }
}

TBUTrayIcon::TBUTrayIcon(ui::Component* owner, std::string name,
                         std::unique_ptr<TrayBackend> backend)
    : ui::Component(owner, std::move(name)), backend_(std::move(backend)) {
  backend_->Attach({
      .callback = [this](std::intptr_t message) { HandleCallback(message); },
      .taskbarCreated = [this] { HandleTaskbarCreated(); },
      .tick = [this] { HandleAnimationTick(); },
  });
  record_.window = backend_->Window();
  record_.icon = backend_->TakeIcon(backend_->ApplicationIcon());
  backend_->SetTimer(false, delay_);
}

TBUTrayIcon::~TBUTrayIcon() {
  backend_->SetTimer(false, delay_);
  SetActive(false);
}

void TBUTrayIcon::SetActive(bool value) {
  active_ = value;
  backend_->Notify(value ? TrayCommand::Add : TrayCommand::Delete, record_);
}

void TBUTrayIcon::SetIcon(IconHandle icon) {
  record_.icon = backend_->TakeIcon(icon);
  if (active_) backend_->Notify(TrayCommand::Modify, record_);
}

void TBUTrayIcon::SetHint(std::string hint) {
  hint_ = std::move(hint);
  record_.tip = TrayTip(hint_);
  if (active_) backend_->Notify(TrayCommand::Modify, record_);
}

void TBUTrayIcon::SetApplicationVisible(bool value) {
  applicationVisible_ = value;
  if (value) {
    ShowApplication();
  } else {
    HideApplication();
  }
}

void TBUTrayIcon::SetAnimated(bool value) {
  animated_ = value;
  backend_->SetTimer(animated_, delay_);
}

void TBUTrayIcon::SetDelay(std::uint32_t milliseconds) {
  delay_ = milliseconds;
  backend_->SetTimer(animated_, delay_);
}

void TBUTrayIcon::SetVisibleInTaskList(bool value) {
  if (value == visibleInTaskList_) return;
  visibleInTaskList_ = value;
  if (backend_->CanRegisterServiceProcess()) backend_->RegisterServiceProcess(!value);
}

// An error of a handler or a menu ends this message's handling and goes to the application's
// error report; the tray window keeps working.
void TBUTrayIcon::HandleCallback(std::intptr_t mouseMessage) {
  try {
    for (const TrayStep step : TraySteps(mouseMessage)) RunStep(step);
  } catch (const std::exception& e) {
    backend_->ReportError(e.what());
  } catch (...) {
    backend_->ReportError("Unknown error");
  }
}

void TBUTrayIcon::RunStep(TrayStep step) {
  const TNotifyEvent* event = nullptr;
  switch (step) {
    case S::MouseMove: event = &OnMouseMove; break;
    case S::LeftButtonDown: event = &OnLeftButtonDown; break;
    case S::LeftButtonUp: event = &OnLeftButtonUp; break;
    case S::LeftButtonDblClick: event = &OnLeftButtonDblClick; break;
    case S::RightButtonDown: event = &OnRightButtonDown; break;
    case S::RightButtonUp: event = &OnRightButtonUp; break;
    case S::RightButtonDblClick: event = &OnRightButtonDblClick; break;
    case S::MiddleButtonDown: event = &OnMiddleButtonDown; break;
    case S::MiddleButtonUp: event = &OnMiddleButtonUp; break;
    case S::MiddlebuttonDblClk: event = &OnMiddlebuttonDblClk; break;
    case S::MouseUp: event = &OnMouseUp; break;
    case S::Click: event = &OnClick; break;
    case S::DblClick: event = &OnDblClick; break;
    case S::PopupMenu: PopUp(PopupMenu); return;
    case S::DropDownMenu: PopUp(DropDownMenu); return;
  }
  // A copy: the handler may assign the event anew while it runs.
  const TNotifyEvent handler = *event;
  if (handler) handler(*this);
}

void TBUTrayIcon::PopUp(PopupMenuRef* menu) {
  if (!menu) return;
  const Point at = backend_->CursorPos();
  menu->Popup(at.x, at.y);
}

void TBUTrayIcon::HandleTaskbarCreated() {
  // A new Explorer starts with an empty notification area.
  if (active_) backend_->Notify(TrayCommand::Add, record_);
}

void TBUTrayIcon::HandleAnimationTick() {
  if (!Icons || !active_) return;
  const int count = Icons->Count();
  if (count < 1) return;
  frame_ = (frame_ + 1) % count;
  SetIcon(Icons->IconAt(frame_));
}

}  // namespace sentavo::lockengine
