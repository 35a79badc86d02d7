// The two timers: Timer1 once a second (policies, clock, countdown, write-back, expiry, re-locking)
// and Timer2 as often as the system allows (keeping the pointer on the code entry while locked).
#include <cstdint>

#include "client/lock_screen.h"
#include "formats/validity.h"

namespace sentavo::client {

void LockScreen::OnTimer1() {
  if (ended_) return;
  const DateTime now = s_.clock.LocalNow();
  // The second's own work comes before anything on the share that this adds: a slow share may
  // delay the operator's command, never the lock. The command's outcome is still reported below.
  Tick(now);
  Warn(now);
  TakeCommand();
  if (ended_) return;
  view_.trayHint = GuestPeriodRunning()
                       ? std::string(texts::kTrayTimeLeft) + CountdownText(countdown_)
                       : std::string(texts::kApplicationTitle);
  ReportStation();
}

void LockScreen::Tick(const DateTime& now) {
  EndPauseWhenDue();
  WritePolicies();
  for (LabelView* label : {&view_.datod, &view_.datdo, &view_.smidelit}) {
    label->transparent = label->text.empty();
  }
  Request(ui::WindowAction::HideApplicationWindow);
  view_.hodinky = s_.formats.LongTime(now);

  if (countdown_ >= 1 && CountdownStep(now)) return;

  if (countdown_ == -1) {
    view_.odpocetLED = texts::kLocked;
    Request(ui::WindowAction::FocusEntry);
    view_.skrytBut.visible = false;
    view_.zamcenoVisible = true;
    adminLoggedIn_ = false;
    Request(ui::WindowAction::BringApplicationToFront);
  }
  // Stay-on-top is exactly the locked state: every locked second puts the whole lock in force.
  if (view_.stayOnTop) {
    LockAction();
    Request(ui::WindowAction::RestoreApplication);
    adminLoggedIn_ = false;
  }
  if (countdown_ == 0) Expiry();
  Request(ui::WindowAction::HideTrayApplication);
}

// The policy values follow the administrator: 0 while one is logged in, 1 otherwise. A key we may
// not open or a value we may not write must not stop the countdown and the lock. Each value is
// read back every second and written only where the stored one differs: a second that changes
// nothing writes nothing, and a value changed behind our back (by the guest, or a tool) is put
// back within the second.
void LockScreen::WritePolicies() {
  const auto key = s_.policies.OpenOrCreateKey(RegistryRoot::CurrentUser, kPolicyKey);
  if (!key) return;
  const std::uint32_t value = adminLoggedIn_ ? 0 : 1;
  for (const std::string_view name : kPolicyValues) {
    if (key->ReadDword(name) != value) key->SetDword(name, value);
  }
}

void LockScreen::StartCountdown(std::int32_t seconds) {
  countdown_ = seconds;
  lastTickMs_ = s_.clock.MonotonicMilliseconds();
  carryMs_ = 0;
}

// The whole seconds that really passed since the period's last tick, the rest carried to the
// next: a tick that comes late (a slow share, a stalled program) takes all the time it was late,
// and a change of the wall clock takes nothing and gives nothing.
std::int32_t LockScreen::ElapsedSeconds() {
  const std::uint64_t now = s_.clock.MonotonicMilliseconds();
  const std::uint64_t elapsed = (now > lastTickMs_ ? now - lastTickMs_ : 0) + carryMs_;
  lastTickMs_ = now;
  carryMs_ = elapsed % 1000;
  const std::uint64_t seconds = elapsed / 1000;
  return seconds > static_cast<std::uint64_t>(INT32_MAX) ? INT32_MAX
                                                         : static_cast<std::int32_t>(seconds);
}

bool LockScreen::CountdownStep(const DateTime& now) {
  const std::int32_t elapsed = ElapsedSeconds();
  const std::int32_t before = countdown_;
  countdown_ = elapsed >= countdown_ ? 0 : countdown_ - elapsed;
  usedSeconds_ += before - countdown_;
  const bool fileThere = !adminLoggedIn_ && FollowCodeFile();
  view_.odpocetLED = CountdownText(countdown_);
  view_.skrytBut.visible = true;
  view_.zamcenoVisible = false;
  if (adminLoggedIn_) return false;

  // The second that leaves the validity window is also the period's last: the code is written as
  // no longer in use, so that it is not turned away elsewhere as if this PC still held it.
  const bool inside = CodeInsideValidityWindow(record_, now);
  record_.secondsLeft = countdown_;
  record_.lastUse = ToOleDate(now);
  record_.loggedIn = inside;
  if (fileThere) WriteRecordBack();
  if (inside) return false;

  ending_ = PeriodEnding::Validity;
  LockAction();
  view_.infoLabel.text = texts::kCodeExpired;
  view_.kod.text.clear();
  view_.skrytBut.visible = false;
  codePath_.clear();
  adminLoggedIn_ = false;
  LogOffAction();
  return true;
}

void LockScreen::Expiry() {
  // The record goes first: the lock that follows ends the period and forgets Sentavo.run, and a
  // crash in between must still find the code named there.
  if (!adminLoggedIn_) {
    record_.active = false;
    record_.secondsLeft = 0;
    record_.loggedIn = false;  // used up, and no longer in use: the next guest is not turned away
    WriteRecordBack();
  }
  view_.zamcenoVisible = true;
  Request(ui::WindowAction::WindowStateNormalThenMaximised);
  ending_ = PeriodEnding::Expiry;
  LockAction();
  Request(ui::WindowAction::RestoreApplication);
  countdown_ = -1;
  view_.skrytBut.visible = false;
  view_.infoLabel.text = texts::kTimeUp;
  adminLoggedIn_ = false;
}

void LockScreen::OnTimer2() {
  // The entry is closed during a pause after refusals, and the computer still locked.
  if (ended_ || !(view_.kod.enabled || paused_)) return;
  const ScreenPoint p = s_.pointer.CursorPos();
  if (p.x < kPointerMinX || p.x > kPointerMaxX || p.y < kPointerMinY || p.y > kPointerMaxY) {
    s_.pointer.ExecuteEx(kPointerHome, 1, 1);
  }
}

}  // namespace sentavo::client
