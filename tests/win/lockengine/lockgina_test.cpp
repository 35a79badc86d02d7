// lockgina.dll under Wine: the trial journal, the hooks that swallow Alt+Tab, the reports, the
// shell parts, the journal of saved values and the restore after a crashed program, the machine
// policies. Input is injected with SendInput into this Wine session only.
#include "gina/lockgina.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "win_test_support.h"

namespace sentavo::test {
namespace {

// The library as loaded from beside this program, every function resolved by name.
struct Gina {
  HMODULE module = LoadLibraryW((ExeDirectory() + L"lockgina.dll").c_str());
  template <class Fn>
  Fn* Get(const char* name) const {
    return reinterpret_cast<Fn*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  }
#define GINA_FN(name) decltype(&::name) name = Get<std::remove_pointer_t<decltype(&::name)>>(#name)
  GINA_FN(wlVersion);
  GINA_FN(wlDisableItem);
  GINA_FN(wlIsItemDisabled);
  GINA_FN(wlDisableKey);
  GINA_FN(wlIsKeyDisabled);
  GINA_FN(wlSetKeySendMessage);
  GINA_FN(wlSetKeyPostMessage);
  GINA_FN(wlInstallGina);
  GINA_FN(wlUninstallGina);
  GINA_FN(wlIsGinaInstalled);
  GINA_FN(wlNeedGinaInstall);
  GINA_FN(wlIsNTSystem);
  GINA_FN(wlExitWindows);
  GINA_FN(wlWinVersion);
  GINA_FN(wlGetKeyState);
  GINA_FN(wlSetKeyState);
  GINA_FN(wlSetKeyCallback);
  GINA_FN(wlRestoreAll);
  GINA_FN(wlGetDisabledKey);
  GINA_FN(wlIsAdmin);
  GINA_FN(wlEnableAutologin);
  GINA_FN(wlMapScancode);
  GINA_FN(wlDisableDesktopIcon);
  GINA_FN(wlRestoreDesktopIcons);
  GINA_FN(wlDesktopIconCount);
  GINA_FN(wlExit);
#undef GINA_FN
};

const Gina& Lib() {
  static Gina gina;
  return gina;
}

// A visible window that records the keys and the library's reports it receives. One for the
// whole run: under Wine without a window manager, destroying the focused window costs seconds.
struct Target {
  static inline std::vector<MSG> seen;
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if ((m >= WM_KEYFIRST && m <= WM_KEYLAST) || m == 1468 || m == 1469)
      seen.push_back(MSG{h, m, w, l, 0, {}});
    return DefWindowProcW(h, m, w, l);
  }
  HWND hwnd = nullptr;
  Target() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LockGinaTarget";
    RegisterClassW(&wc);
    hwnd = CreateWindowW(L"LockGinaTarget", L"target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                         300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  }
  // Focused, with nothing seen yet.
  static Target& Fresh() {
    static Target* target = new Target;
    SetForegroundWindow(target->hwnd);
    SetFocus(target->hwnd);
    Pump(100ms);
    seen.clear();
    return *target;
  }
  int Count(UINT message, WPARAM key) const {
    int n = 0;
    for (const MSG& m : seen) n += m.message == message && m.wParam == key;
    return n;
  }
};

void AltTab() {
  Key(VK_MENU, false);
  Key(VK_TAB, false);
  Key(VK_TAB, true);
  Key(VK_MENU, true);
  Pump(250ms);
}

void Tab() {
  Key(VK_TAB, false);
  Key(VK_TAB, true);
  Pump(250ms);
}

bool Shown(HWND h) {
  return (GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A taskbar of this process's own, laid out as Explorer's, so hiding it harms nothing. One for
// the whole run, shown again for each test.
struct FakeTaskbar {
  HWND bar, start, links, tray;
  FakeTaskbar() {
    for (const wchar_t* cls : {L"Shell_TrayWnd", L"Start", L"ReBarWindow32", L"TrayNotifyWnd"}) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = cls;
      RegisterClassW(&wc);
    }
    bar = CreateWindowExW(WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP | WS_VISIBLE, 0, 984,
                          1280, 40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    start = Child(L"Start", 0);
    links = Child(L"ReBarWindow32", 60);
    tray = Child(L"TrayNotifyWnd", 1100);
  }
  static FakeTaskbar& Fresh() {
    static FakeTaskbar* bar = new FakeTaskbar;
    for (HWND h : {bar->bar, bar->start, bar->links, bar->tray}) ShowWindow(h, SW_SHOWNA);
    Pump(50ms);
    return *bar;
  }
  HWND Child(const wchar_t* cls, int x) {
    return CreateWindowW(cls, L"", WS_CHILD | WS_VISIBLE, x, 0, 48, 40, bar, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  }
};

class LockGinaTest : public ::testing::Test {
 protected:
  WinTempDir appData;
  const Gina& gina = Lib();
  void SetUp() override {
    ASSERT_NE(gina.module, nullptr);
    LiftMachinePolicies();
    SetEnvironmentVariableW(L"LOCALAPPDATA", appData.path().c_str());
    ClearTrialJournal();
  }
  void TearDown() override {
    gina.wlRestoreAll();
    gina.wlSetKeyPostMessage(nullptr, 0, 0);
    std::wstring journalDir = appData.path() + L"lockgina\\";
    DeleteFileW((journalDir + L"restore.journal").c_str());
    RemoveDirectoryW(journalDir.c_str());
  }
  std::string RestoreJournal() const {
    return ReadFileText(appData.path() + L"lockgina\\restore.journal");
  }
};

TEST_F(LockGinaTest, TrialModeJournalsEveryCallAndBlocksNothing) {
  const std::wstring journal = appData.path() + L"calls.txt";
  SetTrialJournal(journal);
  Target& target = Target::Fresh();
  EXPECT_EQ(gina.wlVersion(131084), 131084);
  EXPECT_EQ(gina.wlDisableKey(0, 9, 1, 1), 0);  // nothing is blocked, and it says so
  EXPECT_EQ(gina.wlDisableItem(7, 1), 0);
  EXPECT_EQ(gina.wlSetKeyPostMessage(reinterpret_cast<HWND>(0x10a2c), 1468, 0), 0);
  EXPECT_EQ(gina.wlInstallGina(0), 0);
  EXPECT_EQ(gina.wlIsGinaInstalled(), 0);  // looked up for real: not installed under Wine
  AltTab();
  EXPECT_EQ(target.Count(WM_SYSKEYDOWN, VK_TAB), 1);
  EXPECT_EQ(gina.wlRestoreAll(), 1);
  gina.wlExit();
  ClearTrialJournal();
  EXPECT_EQ(Lines(ReadFileText(journal)),
            (std::vector<std::string>{"wlVersion(131084)", "wlDisableKey(0, 9, 1, 1)",
                                      "wlDisableItem(7, 1)",
                                      "wlSetKeyPostMessage(0x10a2c, 1468, 0)", "wlInstallGina(0)",
                                      "wlIsGinaInstalled()", "wlRestoreAll()", "wlExit()"}));
  EXPECT_EQ(RestoreJournal(), "");  // nothing was touched, so nothing is saved
}

// The library keeps what it read of the machine's value until the registry says it changed: a
// value set, changed or removed (the whole key too) still counts from the very next call.
TEST_F(LockGinaTest, TrialModeSwitchedOnOrOffCountsFromTheNextCall) {
  const std::wstring first = appData.path() + L"first.txt";
  const std::wstring second = appData.path() + L"second.txt";
  EXPECT_EQ(gina.wlDisableKey(0, 9, 1, 1), 1);  // the real library
  SetTrialJournal(first);
  EXPECT_EQ(gina.wlDisableKey(0, 27, 1, 1), 0);
  SetTrialJournal(second);
  EXPECT_EQ(gina.wlDisableKey(0, 27, 2, 1), 0);
  ClearTrialJournal();
  EXPECT_EQ(gina.wlDisableKey(0, 115, 1, 1), 1);
  ASSERT_EQ(RegDeleteKeyExW(HKEY_LOCAL_MACHINE, gina::kTrialKey, KEY_WOW64_64KEY, 0),
            ERROR_SUCCESS);
  EXPECT_EQ(gina.wlIsKeyDisabled(0, 115, 1), 1);
  SetTrialJournal(first);  // the key made again
  EXPECT_EQ(gina.wlRestoreAll(), 1);
  ClearTrialJournal();
  EXPECT_EQ(gina.wlIsKeyDisabled(0, 9, 1), 1);  // the restore went to the journal only
  EXPECT_EQ(Lines(ReadFileText(first)),
            (std::vector<std::string>{"wlDisableKey(0, 27, 1, 1)", "wlRestoreAll()"}));
  EXPECT_EQ(Lines(ReadFileText(second)), std::vector<std::string>{"wlDisableKey(0, 27, 2, 1)"});
}

// A guest can set environment variables for the account; they must not unlock anything.
TEST_F(LockGinaTest, TheGuestsEnvironmentVariableDoesNotSwitchOnTrialMode) {
  const std::wstring journal = appData.path() + L"calls.txt";
  SetEnvironmentVariableW(L"LOCKGINA_JOURNAL", journal.c_str());
  Target& target = Target::Fresh();
  EXPECT_EQ(gina.wlDisableKey(0, 9, 1, 1), 1);
  EXPECT_EQ(gina.wlIsKeyDisabled(0, 9, 1), 1);
  AltTab();
  EXPECT_EQ(target.Count(WM_SYSKEYDOWN, VK_TAB), 0);
  EXPECT_EQ(gina.wlRestoreAll(), 1);
  SetEnvironmentVariableW(L"LOCKGINA_JOURNAL", nullptr);
  EXPECT_EQ(GetFileAttributesW(journal.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(LockGinaTest, AltTabIsSwallowedWhileBlockedAndPassesAfterRestoreAllWhileTabAlwaysPasses) {
  Target& target = Target::Fresh();
  EXPECT_EQ(gina.wlDisableKey(0, 9, 1, 1), 1);
  EXPECT_EQ(gina.wlIsKeyDisabled(0, 9, 1), 1);
  AltTab();
  Tab();
  EXPECT_EQ(target.Count(WM_SYSKEYDOWN, VK_TAB), 0);
  EXPECT_EQ(target.Count(WM_KEYDOWN, VK_TAB), 1);
  EXPECT_EQ(target.Count(WM_SYSKEYDOWN, VK_MENU), 1);  // Alt alone still reaches the window
  EXPECT_EQ(gina.wlRestoreAll(), 1);
  EXPECT_EQ(gina.wlIsKeyDisabled(0, 9, 1), 0);
  AltTab();
  Tab();
  EXPECT_EQ(target.Count(WM_SYSKEYDOWN, VK_TAB), 1);
  EXPECT_EQ(target.Count(WM_KEYDOWN, VK_TAB), 2);
}

TEST_F(LockGinaTest, ReleasingOneCombinationKeepsTheOthers) {
  Target& target = Target::Fresh();
  gina.wlDisableKey(0, 9, 1, 1);
  gina.wlDisableKey(0, 27, 2, 1);
  EXPECT_EQ(gina.wlGetDisabledKey(0), (1 << 16) | 9);
  EXPECT_EQ(gina.wlGetDisabledKey(1), (2 << 16) | 27);
  EXPECT_EQ(gina.wlGetDisabledKey(2), -1);
  EXPECT_EQ(gina.wlDisableKey(0, 27, 2, 0), 0);
  AltTab();
  Key(VK_CONTROL, false);
  Key(VK_ESCAPE, false);
  Key(VK_ESCAPE, true);
  Key(VK_CONTROL, true);
  Pump(250ms);
  EXPECT_EQ(target.Count(WM_SYSKEYDOWN, VK_TAB), 0);
  EXPECT_EQ(target.Count(WM_KEYDOWN, VK_ESCAPE), 1);
}

TEST_F(LockGinaTest, KeysAndButtonsAreReportedWithTheirModifiers) {
  Target& target = Target::Fresh();
  ASSERT_EQ(gina.wlSetKeyPostMessage(target.hwnd, 1468, 1469), 1);
  Key(VK_LSHIFT, false);
  Key('A', false);
  Key('A', true);
  Key(VK_LSHIFT, true);
  Pump(300ms);
  std::vector<std::pair<UINT, LPARAM>> reports;
  for (const MSG& m : Target::seen) {
    if (m.message == 1468 || m.message == 1469) {
      reports.emplace_back(m.message, m.lParam);
      EXPECT_EQ(reinterpret_cast<HWND>(m.wParam), GetForegroundWindow());
    }
  }
  EXPECT_EQ(reports, (std::vector<std::pair<UINT, LPARAM>>{{1468, (4 << 16) | VK_LSHIFT},
                                                           {1468, (4 << 16) | 'A'},
                                                           {1469, (4 << 16) | 'A'},
                                                           {1469, VK_LSHIFT}}));
  gina.wlSetKeyPostMessage(target.hwnd, 0, 1469);  // releases only
  Target::seen.clear();
  Key('B', false);
  Key('B', true);
  Pump(200ms);
  int presses = 0, releases = 0;
  for (const MSG& m : Target::seen) {
    presses += m.message == 1468;
    releases += m.message == 1469;
  }
  EXPECT_EQ(presses, 0);
  EXPECT_EQ(releases, 1);
}

TEST_F(LockGinaTest, ShellPartsAreHiddenJournaledAndShownAgain) {
  FakeTaskbar& bar = FakeTaskbar::Fresh();
  EXPECT_EQ(gina.wlDisableItem(3, 1), 1);
  EXPECT_EQ(gina.wlDisableItem(5, 1), 1);
  EXPECT_EQ(gina.wlIsItemDisabled(3), 1);
  Pump(100ms);
  EXPECT_FALSE(Shown(bar.start));
  EXPECT_FALSE(Shown(bar.tray));
  EXPECT_TRUE(Shown(bar.links));
  EXPECT_EQ(gina.wlDisableItem(1, 1), 1);
  Pump(100ms);
  EXPECT_FALSE(Shown(bar.bar));
  EXPECT_NE(RestoreJournal().find("Shell_TrayWnd"), std::string::npos);
  EXPECT_EQ(gina.wlDisableItem(6, 1), 0);  // no such part
  // Wine's own taskbar window, hidden from the start, must stay hidden.
  HWND wines = nullptr;
  for (HWND h = FindWindowW(L"Shell_TrayWnd", nullptr); h;
       h = FindWindowExW(nullptr, h, L"Shell_TrayWnd", nullptr))
    if (h != bar.bar) wines = h;
  const bool winesShown = wines && Shown(wines);
  EXPECT_EQ(gina.wlRestoreAll(), 1);
  Pump(100ms);
  EXPECT_TRUE(Shown(bar.bar));
  EXPECT_TRUE(Shown(bar.start));
  EXPECT_TRUE(Shown(bar.tray));
  if (wines) {
    EXPECT_EQ(Shown(wines), winesShown);
  }
  EXPECT_EQ(RestoreJournal(), "");
}

TEST_F(LockGinaTest, AShownTaskbarIsHiddenAgainWhenItComesBack) {
  FakeTaskbar& bar = FakeTaskbar::Fresh();
  gina.wlDisableItem(1, 1);
  Pump(100ms);
  ShowWindow(bar.bar, SW_SHOWNA);                                   // as a restarted Explorer would
  EXPECT_TRUE(PumpUntil([&] { return !Shown(bar.bar); }, 5000ms));  // the watchdog's next round
}

TEST_F(LockGinaTest, AccessibilityOriginalsAreSavedBeforeAnythingChanges) {
  EXPECT_EQ(gina.wlDisableItem(7, 1), 1);
  const std::vector<std::string> saved = Lines(RestoreJournal());
  ASSERT_EQ(saved.size(), 5u);  // sticky, filter and toggle keys, high contrast, mouse keys
  for (const std::string& line : saved) EXPECT_TRUE(line.starts_with("access ")) << line;
  gina.wlRestoreAll();
  EXPECT_EQ(RestoreJournal(), "");
}

TEST_F(LockGinaTest, RestoreAllUndoesWhatACrashedProgramLeft) {
  FakeTaskbar& bar = FakeTaskbar::Fresh();
  const std::wstring host = ExeDirectory() + L"gina_host.exe";
  std::wstring command = L"\"" + host + L"\" crash";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(host.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &si, &pi));
  // The bar is ours: it hides when this thread delivers the other program's request.
  ASSERT_TRUE(
      PumpUntil([&] { return WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0; }, 20000ms));
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  EXPECT_EQ(code, 3u);  // it died without restoring anything
  Pump(100ms);
  EXPECT_FALSE(Shown(bar.bar));
  const std::string left = RestoreJournal();
  EXPECT_NE(left.find("Shell_TrayWnd"), std::string::npos);
  EXPECT_NE(left.find("access 0 "), std::string::npos);

  EXPECT_EQ(gina.wlRestoreAll(), 1);
  EXPECT_TRUE(PumpUntil([&] { return Shown(bar.bar); }, 2000ms));
  EXPECT_EQ(RestoreJournal(), "");
}

TEST_F(LockGinaTest, CtrlAltDelIsReportedBlockedOnlyUnderTheMachinePolicies) {
  EXPECT_EQ(gina.wlIsAdmin(), 1);  // Wine runs everything as an administrator
  gina.wlUninstallGina();
  EXPECT_EQ(gina.wlIsGinaInstalled(), 0);
  EXPECT_EQ(gina.wlNeedGinaInstall(), 1);
  EXPECT_EQ(gina.wlDisableKey(0, 46, 3, 1), 0);
  EXPECT_EQ(EdgeSwipe(), std::nullopt);
  EXPECT_EQ(gina.wlInstallGina(0), 1);
  EXPECT_EQ(gina.wlIsGinaInstalled(), 1);
  EXPECT_EQ(gina.wlNeedGinaInstall(), 0);
  EXPECT_EQ(EdgeSwipe(), 0u);  // no swipes in from the edges while the policies are in force
  EXPECT_EQ(gina.wlDisableKey(0, 46, 3, 1), 1);
  EXPECT_EQ(gina.wlIsKeyDisabled(0, 46, 3), 1);
  EXPECT_EQ(gina.wlDisableKey(0, 46, 3, 0), 0);
  EXPECT_EQ(gina.wlUninstallGina(), 1);
  EXPECT_EQ(gina.wlIsGinaInstalled(), 0);
  EXPECT_EQ(EdgeSwipe(), std::nullopt);
}

TEST_F(LockGinaTest, TheRemainingFunctionsExistAndAnswer) {
  EXPECT_EQ(gina.wlVersion(0), 131084);
  EXPECT_EQ(gina.wlIsNTSystem(), 1);
  EXPECT_EQ(gina.wlWinVersion(), 5);
  EXPECT_EQ(gina.wlGetKeyState(VK_F24), 0);
  EXPECT_EQ(gina.wlSetKeyCallback(nullptr), 0);
  EXPECT_EQ(gina.wlEnableAutologin(1), 0);
  EXPECT_EQ(gina.wlMapScancode(0x1D, 0x38), 0);
  EXPECT_EQ(gina.wlDisableDesktopIcon(0, 1), 0);
  EXPECT_EQ(gina.wlRestoreDesktopIcons(), 1);
  EXPECT_GE(gina.wlDesktopIconCount(), 0);
  Target& target = Target::Fresh();
  EXPECT_EQ(gina.wlSetKeyState('C', 1), 1);
  EXPECT_EQ(gina.wlSetKeyState('C', 0), 1);
  Pump(200ms);
  EXPECT_EQ(target.Count(WM_KEYDOWN, 'C'), 1);
  ASSERT_NE(gina.wlExitWindows, nullptr);  // not called: it would end the Wine session
  EXPECT_EQ(gina.wlSetKeySendMessage(target.hwnd, 1468, 0), 1);
  Target::seen.clear();
  Key('D', false);
  Key('D', true);
  Pump(200ms);
  int presses = 0;
  for (const MSG& m : Target::seen) presses += m.message == 1468 && m.lParam == 'D';
  EXPECT_EQ(presses, 1);
  EXPECT_EQ(gina.wlExit(), 1);
}

}  // namespace
}  // namespace sentavo::test
