// The lock window's events as data: one value for each call the window makes on its model, so that
// a call can be carried to a model in another process and made there exactly as it was made here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "client/lock_screen_model.h"
#include "client/ports.h"

namespace sentavo::client {

// In the order of LockScreenModel; the numbers travel on the guard's pipe and never change.
enum class LockEventKind : std::uint8_t {
  FirstShow = 1,
  KodChanged,
  KodEnter,
  PrihlasitClick,
  OdhlasitUseraClick,
  SkrytClick,
  HotKey,
  ZobrazitSentavo,
  CheckBoxChanged,
  Zamknout,
  PovolitVse,
  Zrusit,
  Konec,
  OdhlasitAdmina,
  UlozitDefault,
  OrderLink,
  AdminhesloChanged,
  ProvozChanged,
  ServercestaChanged,
  ServercestaExit,
  PozadiFileChanged,
  PozadiFilePicked,
  // Where the pointer is now: the guard's model keeps it on the code entry (Timer2) from it.
  Pointer,
};
inline constexpr std::uint8_t kLastLockEventKind =
    static_cast<std::uint8_t>(LockEventKind::Pointer);

struct LockEvent {
  LockEventKind kind = LockEventKind::FirstShow;
  std::string text;         // the *Changed events and PozadiFilePicked
  std::uint32_t index = 0;  // CheckBoxChanged: the switch, below kSwitchCount
  bool checked = false;     // CheckBoxChanged
  ScreenPoint point;        // Pointer
  bool operator==(const LockEvent&) const = default;
};

inline LockEvent MakeEvent(LockEventKind kind, std::string text = {}) {
  LockEvent e;
  e.kind = kind;
  e.text = std::move(text);
  return e;
}

// Whether the event carries a text; the others carry none.
bool CarriesText(LockEventKind kind);

// Whether the window showing `view` could have raised `event`: its control is there and takes
// input (the settings page's only while that page is shown). A model run for another process
// takes no event its window could not have raised, whoever sends it.
bool WindowCouldRaise(const LockScreenView& view, const LockEvent& event);

// Makes the call on `model` that `event` stands for. Start and the timers are no events: the host
// of the model runs them. A Pointer event is the caller's to handle (it feeds a pointer port
// before OnTimer2) and is ignored here.
void Deliver(LockScreenModel& model, const LockEvent& event);

}  // namespace sentavo::client
