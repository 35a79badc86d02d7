#include "guard/guard_session.h"

#include <type_traits>
#include <utility>

namespace sentavo::guard {

// The sixteen switches as the model last set them: sent as they are set, and all of them again to
// every window that connects, so that a window started after a kill locks what the model locked.
class GuardSession::Switches final : public client::SystemLockPort {
 public:
  Switches(GuardSession& session, MachineLibrary& library) : session_(session), library_(library) {}
  void SetSwitch(std::size_t index, bool value) override {
    if (index >= kSwitchCount) return;
    state_[index] = value;
    session_.Send(SwitchMessage{static_cast<std::uint8_t>(index), value});
  }
  void RestoreAll() override {
    state_.fill(std::nullopt);
    session_.Send(RestoreAllMessage{});
  }
  bool IsGinaInstalled() override { return library_.IsGinaInstalled(); }
  bool InstallGina() override { return library_.InstallGina(); }
  bool TrialMode() override { return library_.TrialMode(); }
  void SendAll() {
    for (std::size_t i = 0; i < kSwitchCount; ++i) {
      if (state_[i]) session_.Send(SwitchMessage{static_cast<std::uint8_t>(i), *state_[i]});
    }
  }

 private:
  GuardSession& session_;
  MachineLibrary& library_;
  std::array<std::optional<bool>, kSwitchCount> state_{};
};

// The pointer as the window last reported it; a move goes back to the window.
class GuardSession::Pointer final : public client::PointerPort {
 public:
  explicit Pointer(GuardSession& session) : session_(session) {}
  client::ScreenPoint CursorPos() override { return at_; }
  void ExecuteEx(client::ScreenPoint target, int steps, int delayMs) override {
    session_.Send(MovePointerMessage{target, steps, delayMs});
    at_ = target;
  }
  void Report(client::ScreenPoint at) { at_ = at; }

 private:
  GuardSession& session_;
  // Until a window reports, the pointer counts as where the model puts it.
  client::ScreenPoint at_ = client::kPointerHome;
};

GuardSession::GuardSession(const GuardServices& services)
    : s_(services),
      switches_(std::make_unique<Switches>(*this, services.library)),
      pointer_(std::make_unique<Pointer>(*this)),
      model_(std::make_unique<client::LockScreen>(
          client::LockScreenServices{s_.clock, s_.formats, s_.files, s_.policies, *switches_,
                                     *pointer_, s_.environment, s_.identity, s_.station})) {}

GuardSession::~GuardSession() = default;

void GuardSession::Start() {
  model_->Start();
  Flush();
}

void GuardSession::OnTimer1() {
  model_->OnTimer1();
  Flush();
}

void GuardSession::OnConnected(Transport& transport) {
  transport_ = &transport;
  hello_ = false;
  sent_.reset();
}

void GuardSession::OnDisconnected() {
  transport_ = nullptr;
  hello_ = false;
  sent_.reset();
}

bool GuardSession::OnFrame(std::span<const std::uint8_t> body) {
  const std::optional<ToGuard> message = DecodeToGuard(body);
  if (!message) {
    if (s_.log) s_.log("a malformed message from the lock window");
    return false;
  }
  if (std::holds_alternative<Hello>(*message)) {
    if (hello_) {
      if (s_.log) s_.log("a second Hello from the lock window");
      return false;
    }
    hello_ = true;
    SendAll();
    return true;
  }
  if (!hello_) {
    if (s_.log) s_.log("an event from the lock window before its Hello");
    return false;
  }
  const auto& event = std::get<client::LockEvent>(*message);
  // A window's edit may still report a change just as its control goes: ignored, not dropped.
  if (!client::WindowCouldRaise(model_->view(), event)) {
    if (s_.log) s_.log("an event the lock window could not have raised, ignored");
    return true;
  }
  if (event.kind == client::LockEventKind::Pointer) {
    pointer_->Report(event.point);
    model_->OnTimer2();
  } else {
    client::Deliver(*model_, event);
  }
  Flush();
  return true;
}

void GuardSession::Send(const ToClient& message) {
  if (transport_ && hello_) transport_->Send(EncodeFrame(message));
}

void GuardSession::SendAll() {
  switches_->SendAll();
  sent_.reset();
  Flush();
}

void GuardSession::Flush() {
  ui::Requests requests = model_->TakeRequests();
  if (!transport_ || !hello_) {
    for (ui::Request& r : requests) {
      if (!std::holds_alternative<ui::WindowAction>(r) && kept_.size() < kMaxRequests) {
        kept_.push_back(std::move(r));
      }
    }
    return;
  }
  client::LockScreenView view = ViewForWindow(model_->view());
  if (!sent_ || *sent_ != view) {
    Send(ViewMessage{view});
    sent_ = std::move(view);
  }
  if (!kept_.empty()) {
    requests.insert(requests.begin(), std::make_move_iterator(kept_.begin()),
                    std::make_move_iterator(kept_.end()));
    kept_.clear();
  }
  for (std::size_t first = 0; first < requests.size(); first += kMaxRequests) {
    const std::size_t last = std::min(requests.size(), first + kMaxRequests);
    Send(RequestsMessage{ui::Requests(requests.begin() + static_cast<std::ptrdiff_t>(first),
                                      requests.begin() + static_cast<std::ptrdiff_t>(last))});
  }
}

client::LockScreenView ViewForWindow(const client::LockScreenView& view) {
  client::LockScreenView shown = view;
  if (!shown.tabSheet2Visible) shown.adminheslo.clear();
  return shown;
}

}  // namespace sentavo::guard
