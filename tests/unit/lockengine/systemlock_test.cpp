// TSystemLock against a recording library and a registry in memory: the switches and their
// calls, the loading rules, the run-once entry, the key reports, and the end of the component.
#include "lockengine/systemlock.h"

#include <gtest/gtest.h>

#include <set>

#include "fakes.h"
#include "formats/rights.h"

namespace sentavo::lockengine::test {
namespace {

using Calls = std::vector<std::string>;

class SystemLockTest : public ::testing::Test {
 protected:
  FakeLockPlatform platform;
  FakeForm form;
  TSystemLock& lock = ui::MakeOwned<TSystemLock>(form, "SysLock", platform);
  Calls& calls = platform.gina.calls;
};

TEST_F(SystemLockTest, EachSwitchMakesItsOwnCall) {
  struct Case {
    void (*set)(TSystemLock&);
    const char* call;
  };
  const Case cases[] = {
      {[](TSystemLock& l) { l.SetnoCtrlAltDel(true); }, "wlDisableKey(0, 46, 3, 1)"},
      {[](TSystemLock& l) { l.SetnoAltTab(true); }, "wlDisableKey(0, 9, 1, 1)"},
      {[](TSystemLock& l) { l.SetnoAltEsc(true); }, "wlDisableKey(0, 27, 1, 1)"},
      {[](TSystemLock& l) { l.SetnoAltF4(true); }, "wlDisableKey(0, 115, 1, 1)"},
      {[](TSystemLock& l) { l.SetnoCtrlEsc(true); }, "wlDisableKey(0, 27, 2, 1)"},
      {[](TSystemLock& l) { l.SetnoWinkeys(true); }, "wlDisableKey(0, 0, 8, 1)"},
      {[](TSystemLock& l) { l.SetnoAppkey(true); }, "wlDisableKey(0, 93, 0, 1)"},
      {[](TSystemLock& l) { l.SetnoRButton(true); }, "wlDisableKey(0, 2, 0, 1)"},
      {[](TSystemLock& l) { l.SetnoTaskbar(true); }, "wlDisableItem(1, 1)"},
      {[](TSystemLock& l) { l.SetnoTaskLinks(true); }, "wlDisableItem(4, 1)"},
      {[](TSystemLock& l) { l.SetnoTaskTray(true); }, "wlDisableItem(5, 1)"},
      {[](TSystemLock& l) { l.SetnoStartbutton(true); }, "wlDisableItem(3, 1)"},
      {[](TSystemLock& l) { l.SetnoAltReturn(true); }, "wlDisableKey(0, 13, 1, 1)"},
      {[](TSystemLock& l) { l.SetnoAccessibilityShortcuts(true); }, "wlDisableItem(7, 1)"},
      {[](TSystemLock& l) { l.SetnoDesktop(true); }, "wlDisableItem(2, 1)"},
  };
  for (const Case& c : cases) {
    calls.clear();
    c.set(lock);
    EXPECT_EQ(calls, Calls{c.call});
  }
  // Releasing passes 0; nothing compares with the previous value, so every assignment calls.
  calls.clear();
  lock.SetnoAltEsc(true);
  lock.SetnoAltEsc(true);
  lock.SetnoTaskTray(false);
  lock.SetnoTaskTray(false);
  EXPECT_EQ(calls, (Calls{"wlDisableKey(0, 27, 1, 1)", "wlDisableKey(0, 27, 1, 1)",
                          "wlDisableItem(5, 0)", "wlDisableItem(5, 0)"}));
  EXPECT_TRUE(lock.noAltEsc());
  EXPECT_FALSE(lock.noTaskTray());
}

TEST_F(SystemLockTest, NoCtrlAltDelHoldsTheLibrarysAnswerTheOthersTheirValue) {
  platform.gina.disableKeyResult = 0;  // the library cannot block it
  lock.SetnoCtrlAltDel(true);
  EXPECT_FALSE(lock.noCtrlAltDel());
  lock.SetnoAltTab(true);
  EXPECT_TRUE(lock.noAltTab());
  platform.gina.disableKeyResult = 7;
  lock.SetnoCtrlAltDel(true);
  EXPECT_TRUE(lock.noCtrlAltDel());
}

TEST_F(SystemLockTest, TheRightsSetDrivesTheSwitchOfTheSameName) {
  std::set<LockSwitch> seen;
  for (const Right r : kAllRights) {
    const LockSwitch s = SwitchOfRight(r);
    EXPECT_EQ(InfoOf(s).property, sentavo::InfoOf(r).property);
    seen.insert(s);
  }
  EXPECT_EQ(seen.size(), kLockSwitchCount);
  lock.SetSwitch(SwitchOfRight(Right::ctrlaltdel), true);
  EXPECT_EQ(calls, Calls{"wlDisableKey(0, 46, 3, 1)"});
  EXPECT_TRUE(lock.noCtrlAltDel());
}

TEST_F(SystemLockTest, StoredFalseValuesMakeNoCallWhileLoadingStoredTrueValuesDo) {
  lock.BeginLoading();
  for (std::size_t i = 0; i < kLockSwitchCount; ++i)
    lock.SetSwitch(static_cast<LockSwitch>(i), false);
  lock.SetReplaceStartmenu(false);
  lock.SetVersion("1.0");
  EXPECT_TRUE(calls.empty());  // so the library is not even loaded
  lock.SetnoAltF4(true);
  platform.gina.disableKeyResult = 0;
  lock.SetnoCtrlAltDel(true);
  lock.EndLoading();
  EXPECT_EQ(calls, (Calls{"wlDisableKey(0, 115, 1, 1)", "wlDisableKey(0, 46, 3, 1)"}));
  EXPECT_TRUE(lock.noAltF4());
  EXPECT_FALSE(lock.noCtrlAltDel());
  EXPECT_EQ(TSystemLock::Version(), "2.12");
}

TEST_F(SystemLockTest, AsFrontAppWritesTheProgramPathOnceAndDeletesItAgain) {
  platform.registry.AddKey(RegistryRoot::LocalMachine, kRunOnceKey);
  lock.SetasFrontApp(true);
  lock.SetasFrontApp(true);
  EXPECT_EQ(platform.registry.writes, Calls{std::string(kRunOnceKey) +
                                            "\\SystemLockFrontApp=C:\\Sentavo\\SentavoClient.exe"});
  lock.SetasFrontApp(false);
  EXPECT_EQ(platform.registry.Get(RegistryRoot::LocalMachine, kRunOnceKey, kFrontAppValue),
            std::nullopt);
  EXPECT_TRUE(calls.empty());  // the library has no part in it
}

TEST_F(SystemLockTest, AsFrontAppNeverCreatesTheRunOnceKey) {
  lock.SetasFrontApp(true);
  EXPECT_TRUE(lock.asFrontApp());
  EXPECT_TRUE(platform.registry.keys.empty());
  lock.SetasFrontApp(false);
  EXPECT_TRUE(platform.registry.keys.empty());
}

TEST_F(SystemLockTest, ReportHandlersTellTheLibraryWhatToPost) {
  lock.SetOnKeyUp([](WindowHandle, std::uint16_t, TShiftState) {});
  EXPECT_EQ(calls, Calls{"wlSetKeyPostMessage(4660, 0, 1469)"});
  EXPECT_EQ(lock.KeyMessageWindowHandle(), 0x1234u);
  lock.SetOnMouseDown([](WindowHandle, TMouseButton, TShiftState, std::int32_t, std::int32_t) {});
  lock.SetOnKeyUp(nullptr);
  lock.SetOnMouseDown(nullptr);
  EXPECT_EQ(calls,
            (Calls{"wlSetKeyPostMessage(4660, 0, 1469)", "wlSetKeyPostMessage(4660, 1468, 1469)",
                   "wlSetKeyPostMessage(4660, 1468, 0)", "wlSetKeyPostMessage(4660, 0, 0)"}));
  EXPECT_EQ(platform.keyWindowsMade, 1);  // one window, kept after the handlers are cleared
  EXPECT_EQ(platform.keyWindowsAlive, 1);
}

TEST_F(SystemLockTest, ReportsBecomeKeyOrMouseEventsWithTheirShiftState) {
  std::vector<std::string> events;
  auto shift = [](TShiftState s) {
    return std::string(s.shift ? "S" : "") + (s.alt ? "A" : "") + (s.ctrl ? "C" : "");
  };
  lock.SetOnKeyDown([&](WindowHandle w, std::uint16_t key, TShiftState s) {
    events.push_back("down " + std::to_string(w) + " " + std::to_string(key) + " " + shift(s));
  });
  auto& post = platform.keyHandler;
  post(kKeyPressMessage, 0x99, (9 << 16) | 9);   // Alt + Windows key + Tab: Alt alone
  post(kKeyPressMessage, 0x99, (6 << 16) | 65);  // Ctrl + Shift + A
  post(kKeyPressMessage, 0x99, 2);               // right button: no mouse handler, nothing
  post(kKeyReleaseMessage, 0x99, 65);            // no key-up handler
  post(0x0400 + 446, 0x99, 65);                  // not a report
  EXPECT_EQ(events, (Calls{"down 153 9 A", "down 153 65 SC"}));

  events.clear();
  lock.SetOnMouseUp(
      [&](WindowHandle w, TMouseButton b, TShiftState s, std::int32_t x, std::int32_t y) {
        events.push_back("up " + std::to_string(w) + " b" + std::to_string(static_cast<int>(b)) +
                         " " + shift(s) + " " + std::to_string(x) + "," + std::to_string(y));
      });
  platform.cursor = {15, -20};
  post(kKeyReleaseMessage, 7, (1 << 16) | 1);
  post(kKeyReleaseMessage, 7, 4);
  platform.cursor = {16, 0};
  post(kKeyReleaseMessage, 7, 2);
  post(kKeyReleaseMessage, 7, 3);  // the cancel key is a key, not a button: no key-up handler
  EXPECT_EQ(events, (Calls{"up 7 b0 A 15,-20", "up 7 b2  15,-20", "up 7 b1  16,0"}));
}

TEST_F(SystemLockTest, InstallAndInstalledReadTheLibrarysAnswers) {
  for (const std::int32_t r : {1, 2, 0, -1}) {
    platform.gina.installedResult = r;
    platform.gina.installResult = r;
    EXPECT_EQ(lock.IsGinaInstalled(), r == 1) << r;
    EXPECT_EQ(lock.InstallGina(), r != 0) << r;
  }
  EXPECT_EQ(calls.front(), "wlIsGinaInstalled()");
  EXPECT_EQ(calls[1], "wlInstallGina(0)");
}

TEST_F(SystemLockTest, RestoreAllLiftsTheBlocksButKeepsTheSwitches) {
  lock.SetnoAltTab(true);
  lock.SetnoDesktop(true);
  calls.clear();
  lock.RestoreAll();
  EXPECT_EQ(calls, Calls{"wlRestoreAll()"});
  EXPECT_TRUE(lock.noAltTab());
  EXPECT_TRUE(lock.noDesktop());
}

TEST(SystemLockEnd, DestructionRestoresAndStopsTheReportsBeforeTheWindowGoes) {
  FakeLockPlatform platform;
  {
    FakeForm form;
    auto& lock = ui::MakeOwned<TSystemLock>(form, "SysLock", platform);
    lock.SetOnKeyDown([](WindowHandle, std::uint16_t, TShiftState) {});
    platform.gina.calls.clear();
  }
  EXPECT_EQ(platform.gina.calls, (Calls{"wlRestoreAll()", "wlSetKeyPostMessage(0, 0, 0)"}));
  EXPECT_EQ(platform.keyWindowsAlive, 0);
}

TEST(SystemLockEnd, AFailingLibraryDoesNotStopTheDestruction) {
  class Failing : public FakeGina {
    std::int32_t wlRestoreAll() override {
      throw GinaError("error: method not found:wlRestoreAll");
    }
  };
  class Platform : public FakeLockPlatform {
   public:
    Failing failing;
    GinaLibrary& Gina() override { return failing; }
  } platform;
  auto* lock = new TSystemLock(nullptr, "SysLock", platform);
  EXPECT_NO_THROW(delete lock);
}

// ---- The replacement start button ----

class StartButtonTest : public SystemLockTest {
 protected:
  std::vector<std::string>& log = platform.startButtons.log;
  FakeMenu& menu = ui::MakeOwned<FakeMenu>(form, "PopupMenu1", &log);
  void PlaceButton(Rect r) { platform.startButtons.button = r; }
};

TEST_F(StartButtonTest, WithoutATaskbarNothingIsBuiltAndNothingFails) {
  lock.SetReplaceStartmenu(true);
  EXPECT_TRUE(lock.ReplaceStartmenu());
  EXPECT_EQ(lock.StartPanelHandle(), 0u);
  EXPECT_EQ(log, Calls{"find"});
  EXPECT_EQ(calls, (Calls{"wlDisableItem(3, 0)", "wlDisableItem(3, 1)"}));
  EXPECT_TRUE(platform.foreground.empty());
}

TEST_F(StartButtonTest, APictureOfTheRealButtonIsLaidIntoTheTaskbar) {
  PlaceButton({0, 984, 48, 1024});
  lock.SetReplaceStartmenu(true);
  EXPECT_EQ(log, (Calls{"find", "taskbar to front", "capture 48x40", "panel 500",
                        "place picture in 500 48x40"}));
  EXPECT_EQ(lock.StartPanelHandle(), 500u);
  EXPECT_EQ(calls, (Calls{"wlDisableItem(3, 0)", "wlDisableItem(3, 1)"}));
  EXPECT_EQ(platform.foreground, std::vector<WindowHandle>{0xF0});  // the owning form
}

TEST_F(StartButtonTest, ACopiedSpeedButtonIsNamedSysLockStartAndTheSourceKeepsItsName) {
  auto& source = ui::MakeOwned<FakeSpeedButton>(form, "SpeedButton1", "Start", &log);
  lock.SetStartbutton(&source);
  PlaceButton({0, 984, 48, 1024});
  lock.SetReplaceStartmenu(true);
  EXPECT_EQ(log, (Calls{"find", "taskbar to front", "copy while named ''", "panel 500",
                        "place Start named SysLockStart in 500 48x40"}));
  EXPECT_EQ(source.name(), "SpeedButton1");
  EXPECT_EQ(form.FindComponent("SysLockStart"), nullptr);  // the copy belongs to the panel
}

TEST_F(StartButtonTest, FalseRemovesTheReplacementOnceAndLeavesTheRealButtonAlone) {
  PlaceButton({0, 984, 48, 1024});
  lock.SetReplaceStartmenu(true);
  log.clear();
  calls.clear();
  lock.SetReplaceStartmenu(false);
  lock.SetReplaceStartmenu(false);
  EXPECT_EQ(log, (Calls{"free panel 500", "free picture"}));
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(lock.StartPanelHandle(), 0u);
}

TEST_F(StartButtonTest, ASecondTrueReplacesTheFirstReplacement) {
  PlaceButton({0, 984, 48, 1024});
  lock.SetReplaceStartmenu(true);
  log.clear();
  lock.SetReplaceStartmenu(true);
  EXPECT_EQ(log, (Calls{"free panel 500", "free picture", "find", "taskbar to front",
                        "capture 48x40", "panel 501", "place picture in 501 48x40"}));
  EXPECT_EQ(lock.StartPanelHandle(), 501u);
}

TEST_F(StartButtonTest, AStoredTrueDisablesTheButtonWhileLoadingAndBuildsWhenLoaded) {
  PlaceButton({0, 984, 48, 1024});
  lock.BeginLoading();
  lock.SetReplaceStartmenu(true);
  EXPECT_EQ(calls, Calls{"wlDisableItem(3, 1)"});
  EXPECT_TRUE(log.empty());
  lock.EndLoading();
  EXPECT_EQ(lock.StartPanelHandle(), 500u);
  EXPECT_EQ(calls, (Calls{"wlDisableItem(3, 1)", "wlDisableItem(3, 0)", "wlDisableItem(3, 1)"}));
}

TEST_F(StartButtonTest, RestoreAllRemovesTheReplacementBeforeLiftingTheBlocks) {
  PlaceButton({0, 984, 48, 1024});
  lock.SetReplaceStartmenu(true);
  calls.clear();
  log.clear();
  lock.RestoreAll();
  EXPECT_FALSE(lock.ReplaceStartmenu());
  EXPECT_EQ(log.front(), "free panel 500");
  EXPECT_EQ(calls, Calls{"wlRestoreAll()"});
}

TEST_F(StartButtonTest, ABottomTaskbarOpensTheMenuUpwardsWhereTheLibrarySaysSo) {
  PlaceButton({0, 984, 48, 1024});
  platform.startButtons.menuHeight = 120;
  lock.SetStartMenu(&menu);
  std::vector<std::string> fired;
  lock.OnStartButton = [&](TSystemLock& sender, std::int32_t x, std::int32_t y) {
    EXPECT_EQ(&sender, &lock);
    fired.push_back(std::to_string(x) + "," + std::to_string(y));
    log.push_back("fired");
  };
  lock.SetReplaceStartmenu(true);
  struct Case {
    std::deque<std::int32_t> versions;
    std::size_t asked;
    std::int32_t y;
  };
  for (const Case& c :
       {Case{{5}, 1, 984 - 127}, Case{{3, 2}, 2, 984 - 127}, Case{{4, 4}, 2, 984}}) {
    platform.gina.winVersions = c.versions;
    calls.clear();
    log.clear();
    lock.StartButtonClick();
    EXPECT_EQ(calls, Calls(c.asked, "wlWinVersion()"));
    const bool measured = c.y != 984;
    Calls expected{"find"};
    if (measured) expected.push_back("measure PopupMenu1 at 0,984");
    expected.push_back("fired");
    expected.push_back("popup PopupMenu1 at 0," + std::to_string(c.y));
    EXPECT_EQ(log, expected);
  }
  EXPECT_EQ(platform.foreground, (std::vector<WindowHandle>{0xF0, 0xF0, 0xF0, 0xF0}));
}

TEST_F(StartButtonTest, ATopTaskbarOpensBelowTheButtonWithoutAskingOrMeasuring) {
  PlaceButton({10, 0, 58, 40});
  lock.SetStartMenu(&menu);
  lock.SetReplaceStartmenu(true);
  calls.clear();
  log.clear();
  lock.StartButtonClick();
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(log, (Calls{"find", "popup PopupMenu1 at 58,40"}));  // x = r.right from 10 on
}

TEST_F(StartButtonTest, WithoutAMenuAClickOnlyFiresTheEvent) {
  PlaceButton({0, 984, 48, 1024});
  platform.gina.winVersions = {5};
  std::vector<std::string> fired;
  lock.OnStartButton = [&](TSystemLock&, std::int32_t x, std::int32_t y) {
    fired.push_back(std::to_string(x) + "," + std::to_string(y));
  };
  lock.SetReplaceStartmenu(true);
  log.clear();
  lock.StartButtonClick();
  EXPECT_EQ(fired, Calls{"0,984"});
  EXPECT_EQ(log, Calls{"find"});
}

TEST_F(StartButtonTest, ClickingTheCopyRunsStartButtonClickNotTheSourcesHandler) {
  auto& source = ui::MakeOwned<FakeSpeedButton>(form, "SpeedButton1", "Start", &log);
  source.onClick = [&] { log.push_back("source's own handler"); };
  lock.SetStartbutton(&source);
  lock.SetStartMenu(&menu);
  PlaceButton({0, 0, 48, 40});
  lock.SetReplaceStartmenu(true);
  log.clear();
  platform.startButtons.lastControl->Click();  // as the panel does on 1217
  EXPECT_EQ(log, (Calls{"find", "popup PopupMenu1 at 0,40"}));
  log.clear();
  source.Click();
  EXPECT_EQ(log, Calls{"source's own handler"});
}

TEST_F(StartButtonTest, DestroyedMenuAndButtonAreForgotten) {
  auto* source = &ui::MakeOwned<FakeSpeedButton>(form, "SpeedButton1", "Start", &log);
  auto* other = &ui::MakeOwned<FakeMenu>(form, "PopupMenu2", &log);
  lock.SetStartbutton(source);
  lock.SetStartMenu(&menu);
  delete other;
  EXPECT_EQ(lock.StartMenu(), &menu);
  delete source;
  EXPECT_EQ(lock.Startbutton(), nullptr);
  delete &menu;
  EXPECT_EQ(lock.StartMenu(), nullptr);
}

}  // namespace
}  // namespace sentavo::lockengine::test
