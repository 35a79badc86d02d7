// The lock, allow-all, log-off and administrator actions as exact sequences of switch calls and
// file contents.
#include "client_fakes.h"

namespace sentavo::client::test {
namespace {

using Actions = ClientTest;

const Log kAllowAllHandlers = [] {
  Log log;
  for (std::size_t i = 0; i < kSwitchCount; ++i) {
    log.push_back(SwitchName(i) + (KeptByAllowAll(i) ? "=1" : "=0"));
  }
  return log;
}();

TEST(LockScreenViewPages, AHiddenSettingsPageIsNeverMadeActive) {
  LockScreenView v;
  EXPECT_EQ(PageToActivate(v), Page::TabSheet1);
  v.activePage = Page::TabSheet2;
  EXPECT_EQ(PageToActivate(v), std::nullopt);
  v.tabSheet2Visible = true;
  EXPECT_EQ(PageToActivate(v), Page::TabSheet2);
  v.activePage = Page::TabSheet1;
  v.tabSheet2Visible = false;
  EXPECT_EQ(PageToActivate(v), Page::TabSheet1);
}

TEST_F(Actions, ACheckBoxRunsItsHandlerOnlyWhenItsStateChanges) {
  Enter("vamor");
  sysLock.log.clear();
  screen.OnCheckBoxChanged(SwitchIndex(Right::alttab), true);
  screen.OnCheckBoxChanged(SwitchIndex(Right::alttab), true);
  screen.OnCheckBoxChanged(SwitchIndex(Right::noRBut), true);  // already set by the login
  screen.OnCheckBoxChanged(kAsFrontAppSwitch, false);
  EXPECT_EQ(sysLock.log, (Log{"alttab=1", "asFrontApp=0"}));
  EXPECT_TRUE(screen.view().switches[SwitchIndex(Right::alttab)]);

  screen.OnZamknout();  // the settings page is hidden: its boxes cannot be clicked
  sysLock.log.clear();
  screen.OnCheckBoxChanged(SwitchIndex(Right::alttab), false);
  EXPECT_TRUE(sysLock.log.empty());
}

TEST_F(Actions, TheLockActionSetsTheChangedBoxesThenRunsAllSixteenHandlers) {
  Enter("vamor");
  screen.OnCheckBoxChanged(kAsFrontAppSwitch, false);
  sysLock.log.clear();
  screen.OnZamknout();
  // The allow-all action left noRBut and ctrlaltdel set; asFrontApp was cleared by hand.
  Log expected;
  for (std::size_t i = 0; i < kSwitchCount; ++i) {
    if (i != SwitchIndex(Right::noRBut) && i != SwitchIndex(Right::ctrlaltdel))
      expected.push_back(SwitchName(i) + "=1");
  }
  EXPECT_EQ(sysLock.log, Concat({expected, AllSixteen(true)}));
  ExpectLocked();
  // InfoLabel, adminLoggedIn, the code path and the check buttons are the lock action's to keep.
  EXPECT_EQ(screen.view().infoLabel.text, "Přihlášen ADMIN.");
  EXPECT_TRUE(screen.adminLoggedIn());
  EXPECT_EQ(screen.codePath(), kAdminCodePath);
  EXPECT_FALSE(screen.view().prihlasitBut.enabled);
  EXPECT_TRUE(screen.view().odhlasitUseraBut.enabled);
}

TEST_F(Actions, AllowAllClearsThirteenSwitchesAndIsTheSameRunTwice) {
  Enter("vamor");
  screen.OnZamknout();  // every box set again
  screen.OnOdhlasitAdmina();
  Enter("vamor");
  sysLock.log.clear();
  screen.OnPovolitVse();  // already allowed by the login: no box changes
  EXPECT_EQ(sysLock.log, Concat({kAllowAllHandlers, {"RestoreAll"}}));
  const LockScreenView once = screen.view();
  screen.OnPovolitVse();
  EXPECT_EQ(screen.view(), once);
  EXPECT_EQ(screen.countdown(), 60);  // the allow-all action leaves the period alone
}

TEST_F(Actions, ZrusitClearsEverySwitchInItsOrderAndEnds) {
  Enter("vamor");
  screen.OnCheckBoxChanged(SwitchIndex(Right::nowinkeys), true);
  sysLock.log.clear();
  screen.TakeRequests();
  screen.OnZrusit();
  EXPECT_EQ(sysLock.log, Concat({{"noRBut=0", "ctrlaltdel=0", "asFrontApp=0", "nowinkeys=0"},
                                 AllSixteen(false),
                                 {"RestoreAll"}}));
  EXPECT_EQ(screen.TakeRequests(), (ui::Requests{ui::EndProgramRequest{0}}));
  EXPECT_TRUE(screen.ended());
}

TEST_F(Actions, KonecAndTheOrderLinkReleaseTheLibraryAndEndKeepingTheSwitches) {
  Enter("vamor");
  const SwitchSet switches = screen.view().switches;
  sysLock.log.clear();
  screen.TakeRequests();
  screen.OnKonec();
  EXPECT_EQ(sysLock.log, (Log{"RestoreAll"}));
  EXPECT_EQ(screen.view().switches, switches);
  EXPECT_EQ(screen.TakeRequests(), (ui::Requests{ui::EndProgramRequest{0}}));

  LockScreen other(services);
  other.Start();
  other.OnKodChanged("vamor");
  other.OnKodEnter();
  other.TakeRequests();
  sysLock.log.clear();
  other.OnOrderLink();
  EXPECT_EQ(sysLock.log, (Log{"RestoreAll"}));
  EXPECT_EQ(other.TakeRequests(),
            (ui::Requests{ui::OpenUrlRequest{"https://www.sentavo.example/objednat"},
                          ui::EndProgramRequest{0}}));
}

TEST_F(Actions, AdministratorLogOffLocksAndRestoresButKeepsTheCheckButtonDisabled) {
  Enter("vamor");
  screen.TakeRequests();
  screen.OnOdhlasitAdmina();
  ExpectLocked();
  EXPECT_EQ(screen.view().infoLabel.text, "Přihlášen ADMIN.");
  EXPECT_EQ(screen.TakeRequests(), (ui::Requests{ui::WindowAction::RestoreApplication}));
  EXPECT_FALSE(screen.view().prihlasitBut.enabled);
  screen.OnPrihlasitClick();  // a disabled button does nothing
  EXPECT_EQ(screen.view().infoLabel.text, "Přihlášen ADMIN.");
  PutCode("k", IssuedCode());
  Enter("k");  // Enter still runs the check
  EXPECT_EQ(screen.countdown(), 3600);
}

TEST_F(Actions, LogOffStoresTheTimeLeftAndUsesUpAOneTimeCode) {
  for (const bool reusable : {true, false}) {
    SCOPED_TRACE(reusable);
    const TCodeRecord issued = IssuedCode(125, reusable);
    PutCode("lo", issued);
    Enter("lo");
    Ticks(5);
    files.writes.clear();
    sysLock.log.clear();
    screen.OnOdhlasitUseraClick();

    TCodeRecord expected = issued;
    expected.secondsLeft = 120;
    expected.loggedIn = false;
    expected.active = reusable;
    expected.lastUse = ToOleDate({2026, 12, 2, 12, 0, 5});
    ASSERT_EQ(files.writes.size(), 1u);
    EXPECT_EQ(files.Record(CodePath("lo")), expected);
    ExpectLocked();
    EXPECT_EQ(screen.view().kod.text, "");
    EXPECT_TRUE(screen.view().prihlasitBut.enabled);
    EXPECT_FALSE(screen.view().odhlasitUseraBut.enabled);
    EXPECT_EQ(screen.view().infoLabel.text, "Přihlášen uživatel.");
    EXPECT_EQ(screen.codePath(), CodePath("lo"));
    clock.Set(kNoon);
  }
}

TEST_F(Actions, TheHotKeyIsTheLogOff) {
  // The same guest period on two lock screens, one ended with the hot key, one with the button.
  const auto run = [&](LockScreen& model, void (LockScreen::*logOff)()) {
    clock.Set(kNoon);
    PutCode("h", IssuedCode(125, false));
    model.OnServercestaChanged(kServer);
    model.OnProvozChanged(kEstablishment);
    model.OnKodChanged("h");
    model.OnKodEnter();
    for (int i = 0; i < 5; ++i) {
      clock.Advance(1);
      model.OnTimer1();
    }
    sysLock.log.clear();
    (model.*logOff)();
    return std::tuple(model.view(), files.files[CodePath("h")], sysLock.log);
  };
  LockScreen byButton(services);
  byButton.Start();
  byButton.OnFirstShow();
  EXPECT_EQ(run(screen, &LockScreen::OnHotKey), run(byButton, &LockScreen::OnOdhlasitUseraClick));
  EXPECT_FALSE(files.Record(CodePath("h")).active);
}

TEST_F(Actions, ALogOffWhileNoPeriodRunsWritesNothing) {
  PutCode("x", IssuedCode(100));
  Enter("x");
  Ticks(3);
  screen.OnOdhlasitUseraClick();  // stores 97
  files.writes.clear();
  screen.OnHotKey();  // on the lock screen again: countdown -1
  Ticks(1);
  screen.OnHotKey();
  EXPECT_TRUE(files.writes.empty());
  EXPECT_EQ(files.Record(CodePath("x")).secondsLeft, 97);

  // After an expiry, too.
  PutCode("y", IssuedCode(1));
  Enter("y");
  Ticks(1);
  files.writes.clear();
  screen.OnHotKey();
  EXPECT_TRUE(files.writes.empty());

  // After an administrator's period, the last guest's file is not touched either.
  Enter("vamor");
  screen.OnOdhlasitAdmina();
  Ticks(1);
  screen.OnHotKey();
  EXPECT_TRUE(files.writes.empty());
}

TEST_F(Actions, SkrytMinimisesAndTheTrayItemRestores) {
  screen.OnSkrytClick();  // hidden while locked: nothing
  EXPECT_TRUE(screen.TakeRequests().empty());
  PutCode("s", IssuedCode());
  Enter("s");
  screen.TakeRequests();
  screen.OnSkrytClick();
  screen.OnZobrazitSentavo();
  EXPECT_EQ(screen.TakeRequests(), (ui::Requests{ui::WindowAction::MinimiseApplication,
                                                 ui::WindowAction::RestoreApplication}));
}

}  // namespace
}  // namespace sentavo::client::test
