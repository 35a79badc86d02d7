// lockgina.dll's decisions: which key events its hooks swallow, what it journals before touching
// the system, and how wlRestoreAll undoes a run that crashed.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <new>
#include <stdexcept>
#include <thread>
#include <utility>

#include "gina/call_journal.h"
#include "gina/hook_guard.h"
#include "gina/key_filter.h"
#include "gina/library_core.h"
#include "gina/lock_state.h"

namespace sentavo::gina {
namespace {

constexpr std::uint32_t kLMenu = 0xA4, kRMenu = 0xA5, kLCtrl = 0xA2, kLShift = 0xA0, kLWin = 0x5B;
constexpr std::uint32_t kTab = 9, kEnter = 13, kEsc = 27, kF4 = 115, kRButton = 2;

struct Stroke {
  std::uint32_t vk;
  bool up;
};

// The rules as a caller sets them and the filter as the hooks run it.
struct Filter {
  KeyRules rules;
  KeyFilter seen;
  void SetBlocked(KeyCombo combo, bool blocked) { rules.SetBlocked(combo, blocked); }
  bool OnEvent(std::uint32_t vk, bool up) { return seen.OnEvent(rules, vk, up); }
};

std::vector<bool> Feed(Filter& f, std::initializer_list<Stroke> strokes) {
  std::vector<bool> out;
  for (const Stroke& s : strokes) out.push_back(f.OnEvent(s.vk, s.up));
  return out;
}

TEST(KeyFilter, AltTabIsSwallowedPressAndReleaseWhileTabAndAltPass) {
  Filter f;
  f.SetBlocked({kTab, kAlt}, true);
  EXPECT_EQ(Feed(f, {{kLMenu, false}, {kTab, false}, {kTab, true}, {kLMenu, true}}),
            (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(Feed(f, {{kTab, false}, {kTab, true}}), (std::vector<bool>{false, false}));
  // Alt let go before Tab: the release still belongs to a swallowed press.
  EXPECT_EQ(Feed(f, {{kRMenu, false}, {kTab, false}, {kRMenu, true}, {kTab, true}}),
            (std::vector<bool>{false, true, false, true}));
  // With more modifiers held the combination is still there (Ctrl+Alt+Tab).
  EXPECT_EQ(Feed(f, {{kLCtrl, false}, {kLMenu, false}, {kTab, false}}),
            (std::vector<bool>{false, false, true}));
}

// The hooks decide through SwallowOrPass: a filter that fails (here: out of memory on the press of
// a blocked combination) lets that press pass, and its release passes too, so no key is left held
// down or swallowed for ever; the filter then blocks again.
TEST(KeyFilter, AFailingDecisionPassesTheEventAndTheFilterRecovers) {
  Filter f;
  f.SetBlocked({kTab, kAlt}, true);
  bool failNext = false;
  const auto hook = [&](std::uint32_t vk, bool up) {
    return SwallowOrPass([&] {
      if (std::exchange(failNext, false)) throw std::bad_alloc();
      return f.OnEvent(vk, up);
    });
  };
  EXPECT_FALSE(hook(kLMenu, false));
  failNext = true;
  EXPECT_FALSE(hook(kTab, false));  // passes instead of escaping into the system
  EXPECT_FALSE(hook(kTab, true));   // its press was not swallowed: neither is the release
  EXPECT_TRUE(hook(kTab, false));
  EXPECT_TRUE(hook(kTab, true));
  EXPECT_FALSE(hook(kLMenu, true));
  int ran = 0;
  RunGuarded([&] {
    ++ran;
    throw std::runtime_error("journal full");
  });
  EXPECT_EQ(ran, 1);
}

TEST(KeyFilter, ModifiersAreTrackedPerKeyAndRepeatsStaySwallowed) {
  Filter f;
  f.SetBlocked({kEsc, kCtrl}, true);
  Feed(f, {{0xA2, false}, {0xA3, false}, {0xA2, true}});  // right Ctrl still held
  EXPECT_EQ(f.seen.Mask(), kCtrl);
  EXPECT_EQ(Feed(f, {{kEsc, false}, {kEsc, false}, {kEsc, true}, {kEsc, true}}),
            (std::vector<bool>{true, true, true, false}));
  f.seen.SetHeld({kLMenu, 'A', kLShift});  // taken from the system when the hooks start
  EXPECT_EQ(f.seen.Mask(), kAlt | kShift);
  f.SetBlocked({kF4, kAlt}, true);
  EXPECT_TRUE(f.OnEvent(kF4, false));
}

TEST(KeyFilter, TheWindowsKeysGoWithEverythingPressedWithThem) {
  Filter f;
  f.SetBlocked({0, kWin}, true);
  EXPECT_EQ(Feed(f, {{kLWin, false}, {'R', false}, {'R', true}, {kLWin, true}, {'R', false}}),
            (std::vector<bool>{true, true, true, true, false}));
}

TEST(KeyFilter, MouseButtonsAndUnmaskedKeys) {
  Filter f;
  f.SetBlocked({kRButton, 0}, true);
  f.SetBlocked({93, 0}, true);
  EXPECT_EQ(Feed(f, {{kRButton, false}, {kRButton, true}, {1, false}, {1, true}, {93, false}}),
            (std::vector<bool>{true, true, false, false, true}));
  f.SetBlocked({kRButton, 0}, false);
  EXPECT_FALSE(f.OnEvent(kRButton, false));
}

// ---- The journal and the shell ----

class FakeDesktop : public ShellDesktop {
 public:
  std::map<int, std::vector<Window>> windows;  // by item
  std::map<Access, std::uint32_t> access{{Access::StickyKeys, 0x7E},
                                         {Access::FilterKeys, 0x7E},
                                         {Access::ToggleKeys, 0x3E},
                                         {Access::HighContrast, 0x7E},
                                         {Access::MouseKeys, 0x3E}};
  bool policies = false;
  std::vector<std::string> log;
  int calls = 0;  // every look at the system and every change of it

  std::vector<Window> ItemWindows(int item) override { return ++calls, windows[item]; }
  void Hide(std::uint64_t h) override {
    ++calls;
    SetShown(h, false);
    log.push_back("hide " + std::to_string(h));
  }
  void ShowIfStill(std::uint64_t h, const std::string& cls) override {
    ++calls;
    SetShown(h, true);
    log.push_back("show " + std::to_string(h) + " " + cls);
  }
  std::optional<std::uint32_t> ReadAccess(Access kind) override { return ++calls, access[kind]; }
  bool WriteAccess(Access kind, std::uint32_t flags) override {
    ++calls;
    access[kind] = flags;
    return true;
  }
  bool PoliciesInForce() override { return ++calls, policies; }
  bool InstallPolicies() override { return ++calls, policies = true; }
  bool RemovePolicies() override { return ++calls, !(policies = false); }

  void SetShown(std::uint64_t h, bool shown) {
    for (auto& [item, list] : windows)
      for (Window& w : list)
        if (w.handle == h) w.shown = shown;
  }
};

class FakeStore : public JournalStore {
 public:
  std::optional<std::string> text;
  std::vector<std::string> writes;
  mutable int calls = 0;  // every read, write and removal of the journal file
  std::string Read() const override { return ++calls, text.value_or(""); }
  bool Write(const std::string& t) override {
    ++calls;
    text = t;
    writes.push_back(t);
    return true;
  }
  void Remove() override {
    ++calls;
    text.reset();
  }
};

class LockStateTest : public ::testing::Test {
 protected:
  FakeDesktop desktop;
  FakeStore store;
  void SetUp() override {
    desktop.windows[kTaskbar] = {{0x100, "Shell_TrayWnd", true},
                                 {0x200, "Shell_SecondaryTrayWnd", false}};
    desktop.windows[kStartButton] = {{0x110, "Start", true}};
  }
};

TEST_F(LockStateTest, OnlyShownWindowsAreHiddenAndEachIsJournaledBeforeItGoes) {
  LockState state(desktop, store);
  EXPECT_EQ(state.DisableItem(kTaskbar, true), 1);
  EXPECT_EQ(desktop.log, std::vector<std::string>{"hide 256"});
  ASSERT_EQ(store.writes.size(), 1u);
  EXPECT_EQ(store.writes[0], "window 1 0x100 Shell_TrayWnd\n");
  EXPECT_TRUE(state.IsItemDisabled(kTaskbar));
  EXPECT_EQ(state.DisableItem(6, true), 0);
  // Enabling shows only what was hidden; the secondary bar was never shown and stays so.
  desktop.log.clear();
  state.DisableItem(kTaskbar, false);
  EXPECT_EQ(desktop.log, std::vector<std::string>{"show 256 Shell_TrayWnd"});
  EXPECT_FALSE(store.text.has_value());  // nothing left to undo
}

TEST_F(LockStateTest, ARestartedTaskbarIsHiddenAgain) {
  LockState state(desktop, store);
  state.DisableItem(kTaskbar, true);
  desktop.windows[kTaskbar].push_back({0x300, "Shell_TrayWnd", true});  // a new Explorer
  desktop.SetShown(0x100, true);                                        // shown by its owner
  desktop.log.clear();
  state.Reassert();
  EXPECT_EQ(desktop.log, (std::vector<std::string>{"hide 256", "hide 768"}));
  EXPECT_EQ(state.Journal().windows.size(), 2u);  // the old one is not journaled twice
}

TEST_F(LockStateTest, ShortcutsAreSwitchedOffWithTheOriginalsSavedOnce) {
  desktop.access[Access::ToggleKeys] = 0x3A;  // its shortcut is already off
  LockState state(desktop, store);
  state.DisableItem(kAccessibility, true);
  EXPECT_EQ(desktop.access[Access::StickyKeys], 0x7Au);
  EXPECT_EQ(desktop.access[Access::ToggleKeys], 0x3Au);
  state.DisableItem(kAccessibility, true);  // the second save would keep our own values
  EXPECT_EQ(state.Journal().access.at(Access::StickyKeys), 0x7Eu);
  state.DisableItem(kAccessibility, false);
  EXPECT_EQ(desktop.access[Access::StickyKeys], 0x7Eu);
  EXPECT_EQ(desktop.access[Access::MouseKeys], 0x3Eu);
  EXPECT_TRUE(state.Journal().access.empty());
}

// A guest switches Sticky Keys or Mouse Keys on from the Ctrl+Alt+Del screen's menu; while item 7
// is disabled the features themselves are off, and everything comes back as it was.
TEST_F(LockStateTest, TheFeaturesThemselvesAreOffWhileBlockedAndComeBackAsTheyWere) {
  desktop.access[Access::StickyKeys] = 0x7F;    // on, with its shortcut
  desktop.access[Access::FilterKeys] = 0x7B;    // on, shortcut already off
  desktop.access[Access::ToggleKeys] = 0x3F;    // on
  desktop.access[Access::HighContrast] = 0x7F;  // on: only the colours, it stays on
  desktop.access[Access::MouseKeys] = 0x3F;     // on
  const std::map<Access, std::uint32_t> before = desktop.access;
  LockState state(desktop, store);
  state.DisableItem(kAccessibility, true);
  EXPECT_EQ(desktop.access[Access::StickyKeys], 0x7Au);
  EXPECT_EQ(desktop.access[Access::FilterKeys], 0x7Au);
  EXPECT_EQ(desktop.access[Access::ToggleKeys], 0x3Au);
  EXPECT_EQ(desktop.access[Access::HighContrast], 0x7Bu);
  EXPECT_EQ(desktop.access[Access::MouseKeys], 0x3Au);
  EXPECT_EQ(state.Journal().access, before);

  // Switched on again from the secure desktop: off again within a watchdog round, and the journal
  // keeps the flags found before the lock, not the guest's.
  desktop.access[Access::StickyKeys] |= kFeatureOn;
  desktop.access[Access::MouseKeys] |= kFeatureOn | kHotKeyActive;
  state.Reassert();
  EXPECT_EQ(desktop.access[Access::StickyKeys], 0x7Au);
  EXPECT_EQ(desktop.access[Access::MouseKeys], 0x3Au);
  EXPECT_EQ(state.Journal().access, before);

  state.RestoreAll();
  EXPECT_EQ(desktop.access, before);
  EXPECT_FALSE(store.text.has_value());

  // Item 7 not disabled: a round leaves the features alone.
  state.Reassert();
  EXPECT_EQ(desktop.access, before);
}

// The callers assert every switch again each second; while the watchdog keeps the lock, asking for
// the state a switch is already in looks at nothing and changes nothing.
TEST_F(LockStateTest, ASwitchAskedForTheStateItIsInTouchesNothingWhileWatched) {
  desktop.windows[kDesktop] = {{0x400, "Progman", true}};
  desktop.InstallPolicies();
  LockState state(desktop, store);
  state.SetWatched(true);
  state.DisableItem(kTaskbar, true);
  state.DisableItem(kAccessibility, true);
  state.DisableItem(kDesktop, false);
  state.DisableKey(kCtrlAltDel, true);
  state.DisableKey({kTab, kAlt}, true);
  const int desktopCalls = desktop.calls, storeCalls = store.calls;
  for (int second = 0; second < 3; ++second) {
    EXPECT_EQ(state.DisableItem(kTaskbar, true), 1);
    EXPECT_EQ(state.DisableItem(kAccessibility, true), 1);
    EXPECT_EQ(state.DisableItem(kDesktop, false), 1);
    EXPECT_EQ(state.DisableKey(kCtrlAltDel, true), 1);
    EXPECT_EQ(state.DisableKey({kTab, kAlt}, true), 1);
    EXPECT_EQ(state.DisableKey({kEsc, kAlt}, false), 0);
  }
  EXPECT_EQ(desktop.calls, desktopCalls);
  EXPECT_EQ(store.calls, storeCalls);
  EXPECT_TRUE(state.IsItemDisabled(kTaskbar));
  EXPECT_TRUE(state.Keys().IsBlocked({kTab, kAlt}));

  // A change of state is never skipped, and the part comes back as it was.
  EXPECT_EQ(state.DisableItem(kTaskbar, false), 1);
  EXPECT_EQ(desktop.log.back(), "show 256 Shell_TrayWnd");
  EXPECT_EQ(state.DisableItem(kDesktop, true), 1);
  EXPECT_EQ(desktop.log.back(), "hide 1024");
  EXPECT_EQ(state.DisableKey(kCtrlAltDel, false), 0);
  EXPECT_FALSE(state.IsKeyDisabled(kCtrlAltDel));

  // Without a watchdog nothing would put back what came back: every call does the whole work.
  state.SetWatched(false);
  desktop.SetShown(0x400, true);
  const int before = desktop.calls;
  EXPECT_EQ(state.DisableItem(kDesktop, true), 1);
  EXPECT_GT(desktop.calls, before);
  EXPECT_EQ(desktop.log.back(), "hide 1024");
}

// What the guest or Explorer undoes behind the library's back is found by the watchdog's round,
// which puts it back and makes the next call for that part do the whole work again.
TEST_F(LockStateTest, WhatTheWatchdogFindsUndoneIsPutBackAndTheNextCallLooksAgain) {
  desktop.InstallPolicies();
  LockState state(desktop, store);
  state.SetWatched(true);
  state.DisableItem(kTaskbar, true);
  state.DisableItem(kAccessibility, true);
  EXPECT_EQ(state.DisableKey(kCtrlAltDel, true), 1);

  desktop.SetShown(0x100, true);                                        // shown by its owner
  desktop.windows[kTaskbar].push_back({0x300, "Shell_TrayWnd", true});  // a new Explorer
  desktop.access[Access::StickyKeys] |= kFeatureOn;                     // from the secure desktop
  desktop.RemovePolicies();                                             // by an administrator
  desktop.log.clear();
  state.Reassert();
  EXPECT_EQ(desktop.log, (std::vector<std::string>{"hide 256", "hide 768"}));
  EXPECT_EQ(desktop.access[Access::StickyKeys] & kFeatureOn, 0u);
  EXPECT_EQ(state.DisableKey(kCtrlAltDel, true), 0);  // the policies as the round found them

  // The round put the parts back; the next call looks at them again all the same.
  desktop.SetShown(0x300, true);
  desktop.access[Access::MouseKeys] |= kFeatureOn;
  state.DisableItem(kTaskbar, true);
  EXPECT_EQ(desktop.log.back(), "hide 768");
  state.DisableItem(kAccessibility, true);
  EXPECT_EQ(desktop.access[Access::MouseKeys] & kFeatureOn, 0u);
  EXPECT_EQ(state.Journal().access.at(Access::StickyKeys), 0x7Eu);  // the originals, kept

  // A round that finds everything in place leaves the next calls free again.
  state.Reassert();
  const int calls = desktop.calls;
  state.DisableItem(kTaskbar, true);
  state.DisableItem(kAccessibility, true);
  EXPECT_EQ(desktop.calls, calls);

  // After a restore nothing is taken as known any more.
  state.RestoreAll();
  desktop.log.clear();
  state.DisableItem(kTaskbar, true);
  EXPECT_EQ(desktop.log, (std::vector<std::string>{"hide 256", "hide 768"}));
  desktop.InstallPolicies();
  EXPECT_EQ(state.DisableKey(kCtrlAltDel, true), 1);
}

TEST_F(LockStateTest, RestoreAllAfterACrashUndoesTheCrashedRunFromItsJournal) {
  {
    LockState crashed(desktop, store);
    crashed.DisableItem(kAccessibility, true);
    crashed.DisableItem(kStartButton, true);
    crashed.DisableItem(kTaskbar, true);
    crashed.DisableKey({kTab, kAlt}, true);
  }  // the program dies here: nothing is undone
  EXPECT_EQ(desktop.access[Access::HighContrast], 0x7Au);
  desktop.log.clear();

  LockState next(desktop, store);
  next.DisableItem(kAccessibility, true);  // the next run locks again before it restores
  EXPECT_EQ(next.Journal().access.at(Access::HighContrast), 0x7Eu);
  EXPECT_TRUE(next.Keys().Empty());  // hooks die with their process
  next.RestoreAll();
  EXPECT_EQ(desktop.log, (std::vector<std::string>{"show 272 Start", "show 256 Shell_TrayWnd"}));
  for (const auto& [kind, flags] : desktop.access) EXPECT_TRUE(flags & kHotKeyActive);
  EXPECT_FALSE(store.text.has_value());
  EXPECT_FALSE(next.HasDisabledItems());
}

TEST_F(LockStateTest, ARunStartedEarlierStillUndoesWhatALaterRunLeft) {
  LockState first(desktop, store);  // loaded before the other program ran
  {
    LockState crashed(desktop, store);
    crashed.DisableItem(kTaskbar, true);
  }
  desktop.log.clear();
  first.RestoreAll();
  EXPECT_EQ(desktop.log, std::vector<std::string>{"show 256 Shell_TrayWnd"});
}

TEST_F(LockStateTest, CtrlAltDelCountsAsBlockedOnlyUnderThePolicies) {
  LockState state(desktop, store);
  EXPECT_EQ(state.DisableKey(kCtrlAltDel, true), 0);
  EXPECT_FALSE(state.IsKeyDisabled(kCtrlAltDel));
  desktop.InstallPolicies();
  EXPECT_EQ(state.DisableKey(kCtrlAltDel, true), 1);
  EXPECT_TRUE(state.IsKeyDisabled(kCtrlAltDel));
  EXPECT_EQ(state.DisableKey(kCtrlAltDel, false), 0);  // released: not blocked
  EXPECT_EQ(state.DisableKey({kTab, kAlt}, true), 1);
  EXPECT_EQ(state.DisableKey({0, kWin}, true), 1);
  EXPECT_EQ(state.DisabledKey(0), 0x80000);  // (0, 8) sorts first
  EXPECT_EQ(state.DisabledKey(1), 0x10009);
  EXPECT_EQ(state.DisabledKey(2), -1);
  state.RestoreAll();
  EXPECT_FALSE(state.IsKeyDisabled({kTab, kAlt}));
}

// ---- The callers and the hooks ----

// A journal on a disk that takes its time: each write waits until the test lets it finish.
class SlowStore : public JournalStore {
 public:
  std::string Read() const override { return text; }
  bool Write(const std::string& t) override {
    entered.set_value();
    release.get_future().wait();
    text = t;
    return true;
  }
  void Remove() override { text.clear(); }

  std::string text;
  std::promise<void> entered;
  std::promise<void> release;
};

TEST(LibraryCore, TheHooksDecideFromTheLastPublishedRulesAtOnce) {
  FakeDesktop desktop;
  FakeStore store;
  LibraryCore core(desktop, store);
  EXPECT_FALSE(core.OnInput(kTab, false).swallow);
  core.OnInput(kTab, true);

  core.DisableKey({kTab, kAlt}, true);
  core.SetReports({0x1234, 1468, 1469, false});
  EXPECT_FALSE(core.OnInput(kLMenu, false).swallow);
  const InputDecision d = core.OnInput(kTab, false);
  EXPECT_TRUE(d.swallow);
  EXPECT_EQ(d.mask, kAlt);
  EXPECT_EQ(d.reports, (ReportTarget{0x1234, 1468, 1469, false}));
  EXPECT_TRUE(core.OnInput(kTab, true).swallow);  // the release of a swallowed press
  core.OnInput(kLMenu, true);

  core.Exit();
  core.OnInput(kLMenu, false);
  const InputDecision after = core.OnInput(kTab, false);
  EXPECT_FALSE(after.swallow);
  EXPECT_EQ(after.reports, ReportTarget{});
  EXPECT_FALSE(core.NeedsHooks());
}

// The keyboard as GetAsyncKeyState reports it: what the user holds down on this desktop.
struct FakeKeyboard {
  std::vector<std::uint32_t> down;
  HeldModifiers Reader() {
    return [this] { return down; };
  }
};

// Ctrl+Alt+Del: the presses reach the hooks, the releases happen on the secure desktop.
void PressCtrlAltAndLeave(LibraryCore& core, FakeKeyboard& keyboard) {
  keyboard.down = {kLCtrl, kLMenu};
  core.OnInput(kLCtrl, false);
  core.OnInput(kLMenu, false);
  keyboard.down.clear();
}

TEST(LibraryCore, ReleasesLostOnAnotherDesktopLeaveNoModifierHeld) {
  FakeDesktop desktop;
  FakeStore store;
  FakeKeyboard keyboard;
  LibraryCore core(desktop, store, keyboard.Reader());
  core.DisableKey({kTab, kAlt}, true);
  core.DisableKey({kEsc, kCtrl}, true);
  core.DisableKey({kEnter, kAlt}, true);
  core.DisableKey({0, kWin}, true);

  PressCtrlAltAndLeave(core, keyboard);
  for (const std::uint32_t vk : {kEnter, kTab, kEsc}) {
    const InputDecision d = core.OnInput(vk, false);
    EXPECT_FALSE(d.swallow) << vk;
    EXPECT_EQ(d.mask, 0u) << vk;
    EXPECT_FALSE(core.OnInput(vk, true).swallow) << vk;
  }

  // A Windows key whose release went elsewhere would take every key with it.
  keyboard.down = {kLWin};
  EXPECT_TRUE(core.OnInput(kLWin, false).swallow);
  keyboard.down.clear();
  EXPECT_FALSE(core.OnInput('A', false).swallow);
  EXPECT_FALSE(core.OnInput('A', true).swallow);

  // A chord held for real is still blocked, also one whose modifier was pressed elsewhere.
  keyboard.down = {kLMenu};
  core.OnInput(kLMenu, false);
  EXPECT_TRUE(core.OnInput(kTab, false).swallow);
  EXPECT_TRUE(core.OnInput(kTab, true).swallow);
  keyboard.down = {kLCtrl};  // Alt let go elsewhere, Ctrl pressed elsewhere
  const InputDecision esc = core.OnInput(kEsc, false);
  EXPECT_TRUE(esc.swallow);
  EXPECT_EQ(esc.mask, kCtrl);
}

TEST(LibraryCore, TheWatchdogAndADesktopChangeTakeTheModifiersAnew) {
  FakeDesktop desktop;
  FakeStore store;
  FakeKeyboard keyboard;
  LibraryCore core(desktop, store, keyboard.Reader());
  core.DisableKey({kTab, kAlt}, true);

  // The mask a modifier's own press is reported with shows what the filter holds.
  PressCtrlAltAndLeave(core, keyboard);
  keyboard.down = {kLShift};
  EXPECT_EQ(core.OnInput(kLShift, false).mask, kCtrl | kAlt | kShift);
  core.OnInput(kLShift, true);
  keyboard.down.clear();
  EXPECT_TRUE(core.OnWatch());
  keyboard.down = {kLShift};
  EXPECT_EQ(core.OnInput(kLShift, false).mask, kShift);
  core.OnInput(kLShift, true);

  PressCtrlAltAndLeave(core, keyboard);
  core.OnDesktopChange();
  keyboard.down = {kLShift};
  EXPECT_EQ(core.OnInput(kLShift, false).mask, kShift);
}

TEST(LibraryCore, AJournalWriteThatTakesItsTimeNeverHoldsUpAKey) {
  FakeDesktop desktop;
  desktop.windows[kTaskbar] = {{0x10, "Shell_TrayWnd", true}};
  SlowStore store;
  LibraryCore core(desktop, store);
  core.DisableKey({kTab, kAlt}, true);

  // A caller hides the taskbar; its journal write hangs on the disk with the state held.
  std::thread caller([&] { core.DisableItem(kTaskbar, true); });
  store.entered.get_future().wait();

  auto keys = std::async(std::launch::async, [&] {
    const bool altPassed = !core.OnInput(kLMenu, false).swallow;
    const bool tabSwallowed = core.OnInput(kTab, false).swallow;
    return altPassed && tabSwallowed;
  });
  auto watch = std::async(std::launch::async, [&] { return core.OnWatch(); });
  // Generous bounds: a correct library answers in microseconds, a waiting one never does.
  const bool keysDecided = keys.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  const bool watchReturned = watch.wait_for(std::chrono::seconds(10)) == std::future_status::ready;

  store.release.set_value();
  caller.join();
  EXPECT_TRUE(keysDecided);
  EXPECT_TRUE(keys.get());
  EXPECT_TRUE(watchReturned);
  EXPECT_FALSE(watch.get());  // the watchdog skips a round rather than wait
  EXPECT_TRUE(core.IsItemDisabled(kTaskbar));
  EXPECT_TRUE(core.OnWatch());
}

TEST(RestoreJournalText, RoundTripsAndSkipsWhatItCannotRead) {
  RestoreJournal j;
  j.access[Access::MouseKeys] = 62;
  j.windows.push_back({3, 0x2003A, "Start"});
  const std::string text = j.Format();
  EXPECT_EQ(text, "access 4 62\nwindow 3 0x2003a Start\n");
  const RestoreJournal back = RestoreJournal::Parse("junk\n" + text + "access 9 1\nwindow 1\n");
  EXPECT_EQ(back.access, j.access);
  EXPECT_EQ(back.windows, j.windows);
}

TEST(CallJournal, CallsAreWrittenAsInCode) {
  EXPECT_EQ(FormatCall("wlDisableKey", {{0}, {27}, {1}, {1}}), "wlDisableKey(0, 27, 1, 1)");
  EXPECT_EQ(FormatCall("wlSetKeyPostMessage", {Handle(0x10A2C), {1468}, {0}}),
            "wlSetKeyPostMessage(0x10a2c, 1468, 0)");
  EXPECT_EQ(FormatCall("wlRestoreAll", {}), "wlRestoreAll()");
  EXPECT_EQ(FormatCall("wlDisableItem", {{-1}, {0}}), "wlDisableItem(-1, 0)");
}

}  // namespace
}  // namespace sentavo::gina
