// The two timers: the locked second, the countdown with its write-back, expiry, the validity
// window closing during a period, the policy values and the pointer.
#include <algorithm>

#include "client_fakes.h"

namespace sentavo::client::test {
namespace {

using Timers = ClientTest;

const Log kPolicies1 = {"open \\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                        "DisableTaskMgr=1", "DisableRegistryTools=1", "DisableLockWorkstation=1",
                        "DisableChangePassword=1"};
const Log kPolicies0 = {"open \\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
                        "DisableTaskMgr=0", "DisableRegistryTools=0", "DisableLockWorkstation=0",
                        "DisableChangePassword=0"};

TEST_F(Timers, ALockedSecondPutsTheWholeLockBackInForce) {
  Ticks(1);
  const LockScreenView& v = screen.view();
  EXPECT_EQ(v.odpocetLED, "locked");
  EXPECT_EQ(v.hodinky, "12:00:01");
  EXPECT_TRUE(v.zamcenoVisible);
  EXPECT_FALSE(v.skrytBut.visible);
  ExpectLocked();
  EXPECT_EQ(policies.log, kPolicies1);
  EXPECT_EQ(sysLock.log, AllSixteen(true));
  EXPECT_EQ(
      screen.TakeRequests(),
      (ui::Requests{ui::WindowAction::HideApplicationWindow, ui::WindowAction::FocusEntry,
                    ui::WindowAction::BringApplicationToFront, ui::WindowAction::RestoreApplication,
                    ui::WindowAction::HideTrayApplication}));
  EXPECT_TRUE(files.writes.empty());
}

TEST_F(Timers, DetailLabelsLoseTheirBoxOnlyWhenEmptyAtATick) {
  PutCode("c", IssuedCode());
  Enter("c");
  EXPECT_TRUE(screen.view().datod.transparent);  // not before the next tick
  Ticks(1);
  for (const LabelView* l : {&screen.view().datod, &screen.view().datdo, &screen.view().smidelit})
    EXPECT_FALSE(l->transparent);
  screen.OnOdhlasitUseraClick();
  Ticks(1);
  for (const LabelView* l : {&screen.view().datod, &screen.view().datdo, &screen.view().smidelit})
    EXPECT_TRUE(l->transparent);
}

TEST_F(Timers, EveryGuestSecondWritesTheRemainingTimeBack) {
  const TCodeRecord issued = IssuedCode(125);
  PutCode("g", issued);
  Enter("g");
  files.writes.clear();
  Ticks(1);
  EXPECT_EQ(screen.view().odpocetLED, "0:02:04");  // secondsLeft - 1, one second after the login
  EXPECT_FALSE(screen.view().zamcenoVisible);
  EXPECT_TRUE(screen.view().skrytBut.visible);
  Ticks(2);
  EXPECT_EQ(screen.countdown(), 122);
  ASSERT_EQ(files.writes.size(), 3u);
  TCodeRecord expected = issued;
  expected.secondsLeft = 122;
  expected.loggedIn = true;
  expected.lastUse = ToOleDate({2026, 12, 2, 12, 0, 3});
  EXPECT_EQ(files.Record(CodePath("g")), expected);
  EXPECT_EQ(policies.log, Concat({kPolicies1, kPolicies1, kPolicies1}));
  EXPECT_TRUE(sysLock.log.size() > 0);
  sysLock.log.clear();
  Ticks(1);
  EXPECT_TRUE(sysLock.log.empty());  // an unlocked second does not touch the switches

  // A code file deleted during the period is not created again.
  files.files.erase(CodePath("g"));
  files.writes.clear();
  Ticks(3);
  EXPECT_TRUE(files.writes.empty());
  EXPECT_EQ(screen.countdown(), 118);
}

TEST_F(Timers, AOneSecondCodeExpiresAtTheFirstTickAndIsLeftNotInUse) {
  const TCodeRecord issued = IssuedCode(1);
  PutCode("one", issued);
  Enter("one");
  screen.OnSkrytClick();
  files.writes.clear();
  screen.TakeRequests();
  Ticks(1);

  const LockScreenView& v = screen.view();
  EXPECT_EQ(v.odpocetLED, "0:00:00");
  EXPECT_EQ(v.infoLabel.text,
            "Vypršela doba pro použití tohoto PC. Pro pokračování zadejte platný odemykací kód.");
  EXPECT_TRUE(v.zamcenoVisible);
  EXPECT_FALSE(v.skrytBut.visible);
  ExpectLocked();
  EXPECT_FALSE(screen.adminLoggedIn());
  EXPECT_EQ(screen.codePath(), CodePath("one"));

  ASSERT_EQ(files.writes.size(), 2u);
  TCodeRecord lastSecond = issued;
  lastSecond.secondsLeft = 0;
  lastSecond.loggedIn = true;
  lastSecond.lastUse = ToOleDate({2026, 12, 2, 12, 0, 1});
  EXPECT_EQ(DecodeCodeRecord(files.writes[0].second), lastSecond);
  TCodeRecord usedUp = lastSecond;
  usedUp.active = false;
  usedUp.loggedIn = false;
  EXPECT_EQ(files.Record(CodePath("one")), usedUp);

  EXPECT_EQ(screen.TakeRequests(), (ui::Requests{ui::WindowAction::HideApplicationWindow,
                                                 ui::WindowAction::WindowStateNormalThenMaximised,
                                                 ui::WindowAction::RestoreApplication,
                                                 ui::WindowAction::HideTrayApplication}));

  // The next guest is not told the code is in use: it is simply used up.
  screen.OnHotKey();
  Enter("one");
  EXPECT_EQ(screen.view().infoLabel.text,
            "Zadaný odemykací kód je již neplatný! Zadejte prosím platný kód.");
}

TEST_F(Timers, ANegativeRemainingTimeExpiresAtTheFirstTick) {
  TCodeRecord record = IssuedCode();
  record.secondsLeft = -5;
  PutCode("neg", record);
  Enter("neg");
  EXPECT_EQ(screen.countdown(), 0);
  EXPECT_FALSE(screen.view().stayOnTop);
  Ticks(1);
  EXPECT_EQ(screen.countdown(), -1);
  EXPECT_EQ(screen.view().infoLabel.text,
            "Vypršela doba pro použití tohoto PC. Pro pokračování zadejte platný odemykací kód.");
  const TCodeRecord stored = files.Record(CodePath("neg"));
  EXPECT_EQ(stored.secondsLeft, 0);
  EXPECT_FALSE(stored.active);
  EXPECT_FALSE(stored.loggedIn);
}

TEST_F(Timers, TheAdministratorsSixtySecondsTouchNoCodeFile) {
  Enter("vamor");
  Ticks(1);
  EXPECT_EQ(screen.view().odpocetLED, "0:00:59");
  EXPECT_EQ(policies.log, kPolicies0);
  Ticks(58);
  EXPECT_EQ(screen.view().odpocetLED, "0:00:01");
  EXPECT_TRUE(screen.view().tabSheet2Visible);
  policies.log.clear();
  Ticks(1);
  EXPECT_EQ(policies.log, kPolicies0);  // written before the period ended in the same tick
  EXPECT_EQ(screen.view().odpocetLED, "0:00:00");
  EXPECT_EQ(screen.view().infoLabel.text,
            "Vypršela doba pro použití tohoto PC. Pro pokračování zadejte platný odemykací kód.");
  ExpectLocked();
  EXPECT_FALSE(screen.adminLoggedIn());
  policies.log.clear();
  Ticks(1);
  EXPECT_EQ(policies.log, kPolicies1);
  EXPECT_EQ(screen.view().odpocetLED, "locked");
  EXPECT_TRUE(files.writes.empty());
  EXPECT_EQ(files.lookups, 0);
}

TEST_F(Timers, AValidityWindowClosingDuringAPeriodEndsItWithinASecond) {
  TCodeRecord record = IssuedCode(100);
  record.validToDate = ToOleDate({2026, 12, 2});
  record.validToTime = ToOleDate({1899, 12, 30, 12, 0, 5});
  PutCode("late", record);
  Enter("late");
  Ticks(5);
  EXPECT_EQ(screen.countdown(), 95);
  screen.TakeRequests();
  files.writes.clear();
  Ticks(1);  // 12:00:06

  const LockScreenView& v = screen.view();
  EXPECT_EQ(v.infoLabel.text, "Kód vypršel! Zadejte prosím platný kód.");
  ExpectLocked();
  EXPECT_EQ(screen.codePath(), "");
  EXPECT_EQ(v.kod.text, "");
  EXPECT_TRUE(v.prihlasitBut.enabled);
  EXPECT_FALSE(v.odhlasitUseraBut.enabled);
  EXPECT_EQ(v.odpocetLED, "0:01:34");  // the rest of the tick did not run
  EXPECT_EQ(screen.TakeRequests(), (ui::Requests{ui::WindowAction::HideApplicationWindow}));
  ASSERT_EQ(files.writes.size(), 1u);  // the last second only; the log-off finds no code path
  const TCodeRecord stored = files.Record(CodePath("late"));
  EXPECT_EQ(stored.secondsLeft, 94);
  EXPECT_FALSE(stored.loggedIn);  // free again: the next guest is not told it is in use
  EXPECT_TRUE(stored.active);
}

TEST_F(Timers, APolicyKeyThatFailsDoesNotStopTheTick) {
  PutCode("p", IssuedCode(50));
  Enter("p");
  policies.openFails = true;
  Ticks(1);
  EXPECT_EQ(policies.log.size(), 1u);
  EXPECT_EQ(screen.countdown(), 49);
  EXPECT_EQ(files.Record(CodePath("p")).secondsLeft, 49);

  policies.openFails = false;
  policies.refusedValues = {"DisableTaskMgr"};
  policies.log.clear();
  Ticks(1);
  EXPECT_EQ(policies.log, kPolicies1);  // the other three are still written
  EXPECT_EQ(screen.countdown(), 48);
}

// Each second reads the four values back and writes only those that differ from what they must be:
// a value that the guest (or a tool) changed, removed or stored as another type is back within the
// second, and an administrator's login turns all four.
TEST_F(Timers, APolicyValueIsWrittenOnlyWhereTheStoredOneDiffers) {
  policies.keepsValues = true;
  Ticks(1);
  EXPECT_EQ(policies.log, kPolicies1);
  policies.log.clear();
  Ticks(3);
  EXPECT_EQ(policies.log, (Log{kPolicies1[0], kPolicies1[0], kPolicies1[0]}));  // opened, read

  policies.values["DisableTaskMgr"] = 0;
  policies.values.erase("DisableChangePassword");  // deleted, or stored as a string
  policies.log.clear();
  Ticks(1);
  EXPECT_EQ(policies.log, (Log{kPolicies1[0], "DisableTaskMgr=1", "DisableChangePassword=1"}));

  Enter("vamor");
  policies.log.clear();
  Ticks(2);
  EXPECT_EQ(policies.log, Concat({kPolicies0, {kPolicies0[0]}}));
  EXPECT_EQ(policies.values, (std::map<std::string, std::uint32_t>{{"DisableChangePassword", 0},
                                                                   {"DisableLockWorkstation", 0},
                                                                   {"DisableRegistryTools", 0},
                                                                   {"DisableTaskMgr", 0}}));
}

// The time a guest gets is the time that passed, whenever the ticks come.
TEST_F(Timers, TheCountdownTakesTheSecondsThatReallyPassed) {
  PutCode("t", IssuedCode(600));
  Enter("t");

  // A tick five seconds late (a share that answered slowly) takes five seconds, and the code
  // file says so at once.
  clock.AdvanceMilliseconds(5000);
  screen.OnTimer1();
  EXPECT_EQ(screen.countdown(), 595);
  EXPECT_EQ(files.Record(CodePath("t")).secondsLeft, 595);
  EXPECT_EQ(screen.view().odpocetLED, "0:09:55");

  // Ten ticks 1.1 seconds apart take eleven seconds: the tenths are carried, not dropped.
  for (int i = 0; i < 10; ++i) {
    clock.AdvanceMilliseconds(1100);
    screen.OnTimer1();
  }
  EXPECT_EQ(screen.countdown(), 584);

  // A tick that comes early takes nothing yet; the next one takes what is due.
  clock.AdvanceMilliseconds(400);
  screen.OnTimer1();
  EXPECT_EQ(screen.countdown(), 584);
  clock.AdvanceMilliseconds(700);
  screen.OnTimer1();
  EXPECT_EQ(screen.countdown(), 583);

  // The wall clock put forward an hour, or back a day, takes nothing and gives nothing.
  clock.Set({2026, 12, 2, 13, 0, 0});
  Ticks(1);
  EXPECT_EQ(screen.countdown(), 582);
  clock.Set({2026, 12, 1, 13, 0, 0});
  Ticks(1);
  EXPECT_EQ(screen.countdown(), 581);
}

TEST_F(Timers, AStallLongerThanTheTimeLeftEndsThePeriodUsedUp) {
  PutCode("s", IssuedCode(30, /*reusable=*/true));
  Enter("s");
  clock.AdvanceMilliseconds(45'000);
  screen.OnTimer1();
  EXPECT_EQ(screen.countdown(), -1);
  EXPECT_EQ(screen.view().infoLabel.text, texts::kTimeUp);
  const TCodeRecord after = files.Record(CodePath("s"));
  EXPECT_EQ(after.secondsLeft, 0);
  EXPECT_FALSE(after.loggedIn);
  ExpectLocked();
}

TEST_F(Timers, ThePeriodIsMeasuredFromItsOwnLogin) {
  // Time spent locked before the login is not charged to the code.
  clock.AdvanceMilliseconds(7300);
  PutCode("m", IssuedCode(100));
  Enter("m");
  clock.AdvanceMilliseconds(1000);
  screen.OnTimer1();
  EXPECT_EQ(screen.countdown(), 99);

  // Nor is the remainder of the previous period carried into the next one.
  clock.AdvanceMilliseconds(900);
  screen.OnOdhlasitUseraClick();
  Enter("m");
  clock.AdvanceMilliseconds(200);
  screen.OnTimer1();
  EXPECT_EQ(screen.countdown(), 99);
}

// The operator saved the code again (a new moment of creation): more time, other rights, a later
// end, now one-time.
TCodeRecord Resaved(TCodeRecord record) {
  record.created += 1.0 / 86'400;
  record.secondsLeft = 3000;
  record.reusable = false;
  record.rights[RightIndex(Right::alttab)] = false;
  record.validToDate = ToOleDate({2026, 12, 5});
  return record;
}

TEST_F(Timers, ACodeSavedAgainByTheOperatorIsTakenAsAFreshLoginOfIt) {
  const TCodeRecord issued = IssuedCode(600);
  PutCode("t", issued);
  Enter("t");
  Ticks(10);
  ASSERT_EQ(screen.countdown(), 590);
  const TCodeRecord resaved = Resaved(issued);
  PutCode("t", resaved);
  sysLock.log.clear();
  Ticks(1);

  const LockScreenView& v = screen.view();
  EXPECT_EQ(v.infoLabel.text, "Kód byl změněn správcem.");
  EXPECT_EQ(screen.countdown(), 3000);
  EXPECT_EQ(v.odpocetLED, "0:50:00");
  EXPECT_FALSE(v.stayOnTop);
  EXPECT_FALSE(v.kod.enabled);
  EXPECT_EQ(v.datdo.text, "Kód platí do: 5.12.2026 Čas: 18:00:00");
  EXPECT_EQ(v.smidelit.text, "Kód je jednorázový, po odhlášení nebude možno jej použít!");
  for (const Right r : kAllRights)
    EXPECT_EQ(v.switches[SwitchIndex(r)], resaved.rights[RightIndex(r)])
        << SwitchName(SwitchIndex(r));
  EXPECT_NE(std::find(sysLock.log.begin(), sysLock.log.end(), "alttab=0"), sysLock.log.end());
  TCodeRecord expected = resaved;
  expected.loggedIn = true;  // still this PC's
  expected.lastUse = ToOleDate({2026, 12, 2, 12, 0, 11});
  EXPECT_EQ(files.Record(CodePath("t")), expected);

  // Taken once: the following seconds count the new time down and touch the switches no more.
  sysLock.log.clear();
  Ticks(2);
  EXPECT_EQ(screen.countdown(), 2998);
  EXPECT_EQ(files.Record(CodePath("t")).secondsLeft, 2998);
  EXPECT_TRUE(sysLock.log.empty());

  // A log-off within the second after another save keeps the operator's time too.
  const TCodeRecord again = Resaved(files.Record(CodePath("t")));
  PutCode("t", again);
  screen.OnOdhlasitUseraClick();
  const TCodeRecord stored = files.Record(CodePath("t"));
  EXPECT_EQ(stored.secondsLeft, 3000);
  EXPECT_EQ(stored.created, again.created);
  EXPECT_FALSE(stored.loggedIn);
  ExpectLocked();
}

TEST_F(Timers, ThePointerIsKeptInsideTheEntryBoxWhileLocked) {
  const std::pair<ScreenPoint, bool> cases[] = {
      {{60, 163}, false}, {{444, 364}, false}, {{59, 200}, true}, {{445, 200}, true},
      {{100, 162}, true}, {{100, 365}, true},  {{-5, 900}, true}, {{250, 250}, false}};
  for (const auto& [pos, moved] : cases) {
    pointer.pos = pos;
    pointer.moves.clear();
    screen.OnTimer2();
    EXPECT_EQ(pointer.moves, moved ? Log{"100,200 steps 1 delay 1"} : Log{})
        << pos.x << "," << pos.y;
  }

  PutCode("free", IssuedCode());
  Enter("free");
  pointer.pos = {900, 900};
  pointer.reads = 0;
  pointer.moves.clear();
  screen.OnTimer2();
  EXPECT_EQ(pointer.reads, 0);
  EXPECT_TRUE(pointer.moves.empty());
}

}  // namespace
}  // namespace sentavo::client::test
