#include "guard/remote_lock_screen.h"

#include <type_traits>
#include <utility>

namespace sentavo::guard {

RemoteLockScreen::RemoteLockScreen(GuardLink& link, client::SystemLockPort& lock,
                                   client::PointerPort& pointer)
    : link_(link), lock_(lock), pointer_(pointer) {}

void RemoteLockScreen::Start() {
  link_.Send(EncodeFrame(ToGuard{Hello{}}));
}

void RemoteLockScreen::OnTimer2() {
  TakeIn();
  if (ended_) return;
  const client::ScreenPoint at = pointer_.CursorPos();
  if (reported_ == at) return;
  reported_ = at;
  client::LockEvent e = client::MakeEvent(client::LockEventKind::Pointer);
  e.point = at;
  Post(e);
}

void RemoteLockScreen::OnCheckBoxChanged(std::size_t index, bool checked) {
  if (index >= kSwitchCount) return;
  client::LockEvent e = client::MakeEvent(client::LockEventKind::CheckBoxChanged);
  e.index = static_cast<std::uint32_t>(index);
  e.checked = checked;
  Post(e);
}

void RemoteLockScreen::Post(client::LockEventKind kind, std::string text) {
  Post(client::MakeEvent(kind, std::move(text)));
}

void RemoteLockScreen::Post(const client::LockEvent& event) {
  if (ended_) return;
  link_.Send(EncodeFrame(ToGuard{event}));
}

ui::Requests RemoteLockScreen::TakeRequests() {
  return std::exchange(requests_, {});
}

void RemoteLockScreen::TakeIn() {
  if (link_.Reconnected()) {
    reported_.reset();
    link_.Send(EncodeFrame(ToGuard{Hello{}}));
  }
  while (!ended_) {
    std::optional<std::vector<std::uint8_t>> body = link_.Receive();
    if (!body) return;
    const std::optional<ToClient> message = DecodeToClient(*body);
    if (!message) {
      link_.Drop();
      return;
    }
    Apply(*message);
  }
}

void RemoteLockScreen::Apply(const ToClient& message) {
  if (const auto* v = std::get_if<ViewMessage>(&message)) {
    view_ = v->view;
  } else if (const auto* r = std::get_if<RequestsMessage>(&message)) {
    for (const ui::Request& request : r->requests) {
      requests_.push_back(request);
      if (std::holds_alternative<ui::EndProgramRequest>(request)) ended_ = true;
    }
  } else if (const auto* s = std::get_if<SwitchMessage>(&message)) {
    lock_.SetSwitch(s->index, s->value);
  } else if (std::holds_alternative<RestoreAllMessage>(message)) {
    lock_.RestoreAll();
  } else if (const auto* m = std::get_if<MovePointerMessage>(&message)) {
    pointer_.ExecuteEx(m->target, m->steps, m->delayMs);
    reported_.reset();
  }
}

}  // namespace sentavo::guard
