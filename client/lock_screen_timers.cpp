// The two timers: Timer1 once a second (policies, clock, countdown, write-back, expiry, re-locking)
// and Timer2 as often as the system allows (keeping the pointer on the code entry while locked).
#include "client/lock_screen.h"
#include "formats/validity.h"

namespace sentavo::client {

void LockScreen::OnTimer1() {
  if (ended_) return;
  const DateTime now = s_.clock.LocalNow();
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
// not open or a value we may not write must not stop the countdown and the lock.
void LockScreen::WritePolicies() {
  const auto key = s_.policies.OpenOrCreateCurrentUserKey(kPolicyKey);
  if (!key) return;
  const std::uint32_t value = adminLoggedIn_ ? 0 : 1;
  for (const std::string_view name : kPolicyValues) key->SetDword(name, value);
}

bool LockScreen::CountdownStep(const DateTime& now) {
  --countdown_;
  view_.odpocetLED = CountdownText(countdown_);
  view_.skrytBut.visible = true;
  view_.zamcenoVisible = false;
  if (adminLoggedIn_) return false;

  record_.secondsLeft = countdown_;
  record_.lastUse = ToOleDate(now);
  record_.loggedIn = true;
  WriteRecordBack();
  if (CodeInsideValidityWindow(record_, now)) return false;

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
  view_.zamcenoVisible = true;
  Request(ui::WindowAction::WindowStateNormalThenMaximised);
  LockAction();
  Request(ui::WindowAction::RestoreApplication);
  countdown_ = -1;
  view_.skrytBut.visible = false;
  view_.infoLabel.text = texts::kTimeUp;
  if (!adminLoggedIn_) {
    record_.active = false;
    record_.secondsLeft = 0;
    record_.loggedIn = false;  // used up, and no longer in use: the next guest is not turned away
    WriteRecordBack();
  }
  adminLoggedIn_ = false;
}

void LockScreen::OnTimer2() {
  if (ended_ || !view_.kod.enabled) return;
  const ScreenPoint p = s_.pointer.CursorPos();
  if (p.x < kPointerMinX || p.x > kPointerMaxX || p.y < kPointerMinY || p.y > kPointerMaxY) {
    s_.pointer.ExecuteEx(kPointerHome, 1, 1);
  }
}

}  // namespace sentavo::client
