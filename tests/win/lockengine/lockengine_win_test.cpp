// The lock engine's components with their real windows under Wine: the hot key, the tray icon,
// the mouse positioner, the directories, the key message window, the run-once entry and the
// replacement start button in a taskbar of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <optional>
#include <utility>

#include "fakes.h"
#include "formats/registry_key_win.h"
#include "formats/registry_win.h"
#include "lockengine/bu_directories_win.h"
#include "lockengine/bu_mouse_positionner_win.h"
#include "lockengine/bu_tray_icon_win.h"
#include "lockengine/global_hot_key_win.h"
#include "lockengine/handles_win.h"
#include "lockengine/systemlock_win.h"
#include "win_test_support.h"

namespace sentavo::lockengine::test {
namespace {

using sentavo::test::Key;
using sentavo::test::Pump;
using sentavo::test::PumpUntil;
using namespace std::chrono_literals;
using Log = std::vector<std::string>;

HWND MessageOnlyWindow() {
  return CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// One visible, focused window for the whole run: under Wine without a window manager,
// destroying a focused window costs seconds.
HWND FocusWindow() {
  static const HWND w = CreateWindowW(L"STATIC", L"focus", WS_POPUP | WS_VISIBLE | WS_BORDER, 300,
                                      300, 200, 100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(w);
  Pump(100ms);
  return w;
}

// ---- TGlobalHotKey ----

TEST(GlobalHotKeyWin, TheClientsKeyIsCtrlAltShift0AndFiresOnWmHotkeyAndOnTheKeys) {
  const HWND other = MessageOnlyWindow();
  TGlobalHotKey hotKey(nullptr, "GlobalHotKey1", MakeWin32HotKeyBackend());
  hotKey.BeginLoading();
  hotKey.SetKey(57392);
  hotKey.EndLoading();
  ASSERT_TRUE(hotKey.Registered());
  // Modifiers 7 and key 48: that exact combination is taken now, a neighbour is not.
  EXPECT_FALSE(RegisterHotKey(other, 1, MOD_ALT | MOD_CONTROL | MOD_SHIFT, '0'));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
  EXPECT_TRUE(RegisterHotKey(other, 2, MOD_ALT | MOD_CONTROL, '0'));
  UnregisterHotKey(other, 2);

  int fired = 0;
  hotKey.OnHotKey = [&](ui::Component& sender) {
    EXPECT_EQ(&sender, &hotKey);
    ++fired;
  };
  SendMessageW(ToHwnd(hotKey.Window()), WM_HOTKEY, 0, MAKELPARAM(7, 48));
  EXPECT_EQ(fired, 1);
  FocusWindow();
  const WORD keys[] = {VK_CONTROL, VK_MENU, VK_SHIFT, '0'};
  for (WORD vk : keys) Key(vk, false);
  for (int i = 3; i >= 0; --i) Key(keys[i], true);
  EXPECT_TRUE(PumpUntil([&] { return fired == 2; }, 3000ms));

  hotKey.SetEnabled(false);
  EXPECT_TRUE(RegisterHotKey(other, 1, MOD_ALT | MOD_CONTROL | MOD_SHIFT, '0'));
  UnregisterHotKey(other, 1);
  DestroyWindow(other);
}

// ---- TBUTrayIcon ----

class RecordingTray : public Win32TrayBackend {
 public:
  RecordingTray(ui::Component* owner, Log* log) : Win32TrayBackend(owner), log_(log) {}
  void Notify(TrayCommand c, const TrayRecord& r) override {
    log_->push_back(c == TrayCommand::Add ? "add" : c == TrayCommand::Modify ? "modify" : "delete");
    Win32TrayBackend::Notify(c, r);
  }
  void ReportError(const std::string& text) override { log_->push_back("error " + text); }

 private:
  Log* log_;
};

class RecordingMenu : public PopupMenuRef {
 public:
  RecordingMenu(Log* log) : PopupMenuRef(nullptr, "PopupMenu1"), log_(log) {}
  MenuHandle Handle() const override { return 0; }
  void Popup(std::int32_t x, std::int32_t y) override {
    POINT p;
    GetCursorPos(&p);
    log_->push_back(x == p.x && y == p.y ? "menu at cursor" : "menu elsewhere");
  }

 private:
  Log* log_;
};

TEST(TrayIconWin, TheRecordIsTheShellsFirstFormWithTheTipCut) {
  TrayRecord r;
  r.window = 0x1234;
  r.icon = 0x42;
  r.tip = TrayTip(std::string(70, 'x'));
  const NOTIFYICONDATAW nid = MakeNotifyIconData(r);
  EXPECT_EQ(nid.cbSize, NOTIFYICONDATAW_V1_SIZE);
  EXPECT_EQ(nid.cbSize, offsetof(NOTIFYICONDATAW, szTip) + 64 * sizeof(WCHAR));
  if (sizeof(void*) == 8) {
    EXPECT_NE(nid.cbSize, 88u);
  }
  EXPECT_EQ(nid.uID, 1u);
  EXPECT_EQ(nid.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(nid.uCallbackMessage, 1025u);
  EXPECT_EQ(nid.hWnd, reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(std::wstring(nid.szTip), std::wstring(63, L'x'));
}

TEST(TrayIconWin, TheTrayWindowFiresTheEventsOfEachMouseMessageInOrder) {
  Log log;
  TBUTrayIcon icon(nullptr, "BUTrayIcon1", std::make_unique<RecordingTray>(nullptr, &log));
  RecordingMenu menu(&log);
  icon.PopupMenu = &menu;
  icon.DropDownMenu = &menu;
  auto record = [&](TNotifyEvent& e, const char* name) {
    e = [&log, name](ui::Component&) { log.push_back(name); };
  };
  record(icon.OnClick, "Click");
  record(icon.OnDblClick, "DblClick");
  record(icon.OnMouseMove, "MouseMove");
  record(icon.OnMouseUp, "MouseUp");
  record(icon.OnLeftButtonDown, "LeftButtonDown");
  record(icon.OnLeftButtonUp, "LeftButtonUp");
  record(icon.OnLeftButtonDblClick, "LeftButtonDblClick");
  record(icon.OnRightButtonDown, "RightButtonDown");
  record(icon.OnRightButtonUp, "RightButtonUp");
  record(icon.OnRightButtonDblClick, "RightButtonDblClick");
  record(icon.OnMiddleButtonDown, "MiddleButtonDown");
  record(icon.OnMiddleButtonUp, "MiddleButtonUp");
  record(icon.OnMiddlebuttonDblClk, "MiddlebuttonDblClk");
  const HWND tray = ToHwnd(icon.TrayWindow());
  for (UINT m = WM_MOUSEMOVE; m <= WM_MBUTTONDBLCLK + 1; ++m) SendMessageW(tray, 1025, 1, m);
  EXPECT_EQ(log, (Log{"MouseMove",
                      "LeftButtonDown",
                      "menu at cursor",
                      "LeftButtonUp",
                      "MouseUp",
                      "Click",
                      "LeftButtonDblClick",
                      "DblClick",
                      "RightButtonDown",
                      "menu at cursor",
                      "RightButtonUp",
                      "MouseUp",
                      "Click",
                      "RightButtonDblClick",
                      "DblClick",
                      "MiddleButtonDown",
                      "MiddleButtonUp",
                      "MouseUp",
                      "Click",
                      "MiddlebuttonDblClk",
                      "DblClick"}));
  log.clear();
  icon.OnClick = [](ui::Component&) { throw std::runtime_error("Klepnutí selhalo"); };
  SendMessageW(tray, 1025, 1, WM_LBUTTONUP);
  SendMessageW(tray, 1025, 1, WM_MOUSEMOVE);
  EXPECT_EQ(log, (Log{"LeftButtonUp", "MouseUp", "error Klepnutí selhalo", "MouseMove"}));
  // Anything else goes to the default window procedure.
  EXPECT_EQ(SendMessageW(tray, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST(TrayIconWin, TheIconIsAddedAgainWhenTheShellAnnouncesANewTaskbar) {
  Log log;
  TBUTrayIcon icon(nullptr, "BUTrayIcon1", std::make_unique<RecordingTray>(nullptr, &log));
  const HWND tray = ToHwnd(icon.TrayWindow());
  EXPECT_EQ(GetAncestor(tray, GA_PARENT), GetDesktopWindow());  // top-level: hears broadcasts
  icon.SetHint("Sentavo|druhá část");
  icon.SetActive(true);
  log.clear();
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(PumpUntil([&] { return !log.empty(); }, 3000ms));
  EXPECT_EQ(log, Log{"add"});
}

TEST(TrayIconWin, TheAnimationRunsOnItsTimer) {
  class Frames : public ImageListRef {
   public:
    HICON icons[3] = {LoadIconW(nullptr, IDI_APPLICATION), LoadIconW(nullptr, IDI_ERROR),
                      LoadIconW(nullptr, IDI_WARNING)};
    int Count() const override { return 3; }
    IconHandle IconAt(int i) const override { return FromHicon(icons[i]); }
  } frames;
  Log log;
  TBUTrayIcon icon(nullptr, "BUTrayIcon1", std::make_unique<RecordingTray>(nullptr, &log));
  icon.Icons = &frames;
  icon.SetDelay(20);
  icon.SetAnimated(true);
  Pump(150ms);
  EXPECT_EQ(icon.FrameIndex(), 0);  // inactive: the ticks change nothing
  icon.SetActive(true);
  EXPECT_TRUE(PumpUntil([&] { return icon.FrameIndex() == 2; }, 3000ms));
  EXPECT_NE(icon.Icon(), 0u);
  icon.SetAnimated(false);
  const int frame = icon.FrameIndex();
  Pump(150ms);
  EXPECT_EQ(icon.FrameIndex(), frame);
}

TEST(TrayIconWin, HidingTheApplicationHidesTheWindowThatOwnsTheForm) {
  class Form : public ui::Component, public FormWindow {
   public:
    HWND application =
        CreateWindowW(L"STATIC", L"app", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    HWND form = CreateWindowW(L"STATIC", L"form", WS_POPUP, 0, 0, 10, 10, application, nullptr,
                              nullptr, nullptr);
    Form() : ui::Component(nullptr, "LockWindow") {}
    ~Form() override { DestroyComponents(); }
    WindowHandle FormHandle() const override { return FromHwnd(form); }
  } form;
  auto& icon = ui::MakeOwned<TBUTrayIcon>(form, "BUTrayIcon1", MakeWin32TrayBackend(&form));
  icon.SetApplicationVisible(true);
  EXPECT_TRUE(IsWindowVisible(form.application));
  icon.SetApplicationVisible(false);
  EXPECT_FALSE(IsWindowVisible(form.application));
  EXPECT_FALSE(icon.ApplicationVisible());
  icon.SetVisibleInTaskList(false);  // Wine's kernel32 has the old function: it must not fail
  EXPECT_FALSE(icon.VisibleInTaskList());
}

// ---- TBUMousePositionner ----

TEST(MousePositionnerWin, ExecuteExLandsTheCursorExactly) {
  TBUMousePositionner mover(nullptr, "BUMousePositionner1", SystemCursor());
  SetCursorPos(500, 600);
  mover.ExecuteEx({100, 200}, 1, 1);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 200);
  mover.ExecuteEx({333, 77}, 4, 1);
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 333);
  EXPECT_EQ(p.y, 77);
}

TEST(MousePositionnerWin, ExecuteLandsOnTheControlsCentre) {
  const HWND w = FocusWindow();
  WindowGeometry control(w);
  TBUMousePositionner mover(nullptr, "BUMousePositionner1", SystemCursor());
  mover.Control = &control;
  SetCursorPos(5, 5);
  mover.Execute(3, 1);
  RECT r;
  GetClientRect(w, &r);
  POINT centre{r.right / 2, r.bottom / 2};
  ClientToScreen(w, &centre);
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, centre.x);
  EXPECT_EQ(p.y, centre.y);
}

// ---- TBUDirectories ----

std::string WithSlash(std::wstring w) {
  if (!w.empty() && w.back() != L'\\') w += L'\\';
  return sentavo::test::Utf8(w);
}

std::wstring RegistryText(HKEY root, const wchar_t* key, const wchar_t* value) {
  wchar_t text[1024] = {};
  DWORD size = sizeof text;
  RegGetValueW(root, key, value, RRF_RT_REG_SZ | RRF_NOEXPAND, nullptr, text, &size);
  return text;
}

// ---- The registry: the one interface of both programs, and its key wrapper ----

class RegistryWin : public ::testing::Test {
 protected:
  static constexpr wchar_t kKey[] = L"Software\\SentavoTest\\Registry";
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
  static std::optional<DWORD> Dword(const wchar_t* name) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
      return std::nullopt;
    return value;
  }
  Registry& registry = ProcessRegistry();
  const std::string key = "Software\\SentavoTest\\Registry";
};

// The lock screen's policy values: the key is created, a leading backslash ignored, each value a
// DWORD; the key stays usable until the handle goes.
TEST_F(RegistryWin, AnOpenedKeyTakesDwordsAndIsCreatedWhenMissing) {
  {
    const auto k = registry.OpenOrCreateKey(RegistryRoot::CurrentUser, "\\" + key);
    ASSERT_NE(k, nullptr);
    EXPECT_TRUE(k->SetDword("DisableTaskMgr", 1));
    EXPECT_TRUE(k->SetDword("DisableRegistryTools", 0));
  }
  EXPECT_EQ(Dword(L"DisableTaskMgr"), 1u);
  EXPECT_EQ(Dword(L"DisableRegistryTools"), 0u);
  // A DWORD is no string to ReadString.
  EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, key, "DisableTaskMgr").status,
            ReadStatus::NotString);
}

TEST_F(RegistryWin, StringsAreReadWrittenAndDeletedWithEachFailureTold) {
  EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, key, "Text").status, ReadStatus::NoKey);
  EXPECT_FALSE(registry.WriteString(RegistryRoot::CurrentUser, key, "Text", "x", false));
  EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, key, "Text").status, ReadStatus::NoKey);
  EXPECT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, key, "Text", "Žďár", true));
  const RegistryString read = registry.ReadString(RegistryRoot::CurrentUser, key, "Text");
  EXPECT_EQ(read.status, ReadStatus::Ok);
  EXPECT_EQ(read.value, "Žďár");
  EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, key, "Text"));
  EXPECT_FALSE(registry.DeleteValue(RegistryRoot::CurrentUser, key, "Text"));
  EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, key, "Text").status,
            ReadStatus::NoValue);
}

// Moving a key hands the one handle over: the source is empty and closes nothing, the target
// still writes.
TEST_F(RegistryWin, AMovedKeyHasOneOwner) {
  RegKey first;
  ASSERT_EQ(first.Create(HKEY_CURRENT_USER, kKey, KEY_SET_VALUE), ERROR_SUCCESS);
  RegKey second(std::move(first));
  EXPECT_FALSE(first);
  ASSERT_TRUE(second);
  RegKey third;
  third = std::move(second);
  EXPECT_FALSE(second);
  const DWORD seven = 7;
  EXPECT_EQ(RegSetValueExW(third.get(), L"Moved", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&seven), sizeof seven),
            ERROR_SUCCESS);
  EXPECT_EQ(Dword(L"Moved"), 7u);
  EXPECT_EQ(RegKey().Open(HKEY_CURRENT_USER, L"Software\\SentavoTest\\Missing", KEY_READ),
            ERROR_FILE_NOT_FOUND);
}

TEST(DirectoriesWin, TheWinePrefixsFoldersComeWithTheirBackslash) {
  TBUDirectories dirs(nullptr, "BUDirectories1", SystemDirectories());
  wchar_t buf[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, buf);
  EXPECT_EQ(dirs.CurrentDirectory(), WithSlash(buf));
  GetWindowsDirectoryW(buf, MAX_PATH);
  EXPECT_EQ(dirs.WindowsDirectory(), WithSlash(buf));
  EXPECT_EQ(_stricmp(dirs.WindowsDirectory().c_str(), "C:\\windows\\"), 0);
  GetSystemDirectoryW(buf, MAX_PATH);
  EXPECT_EQ(dirs.SystemDirectory(), WithSlash(buf));
  GetTempPathW(MAX_PATH, buf);
  EXPECT_EQ(dirs.TempPath(), sentavo::test::Utf8(buf));  // already ends in one: no second
  EXPECT_FALSE(dirs.TempPath().ends_with("\\\\"));
  EXPECT_EQ(dirs.ProgramFiles(), "C:\\Program Files\\");
  const wchar_t* shell = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const std::wstring desktop = RegistryText(HKEY_CURRENT_USER, shell, L"Desktop");
  ASSERT_FALSE(desktop.empty());
  EXPECT_EQ(dirs.Desktop(), WithSlash(desktop));
  EXPECT_EQ(dirs.Startup(), WithSlash(RegistryText(HKEY_CURRENT_USER, shell, L"Startup")));
  EXPECT_EQ(dirs.StartMenu(), WithSlash(RegistryText(HKEY_CURRENT_USER, shell, L"Start Menu")));
}

TEST(DirectoriesWin, ACurrentDirectoryLongerThanTheBufferGivesNothing) {
  sentavo::test::WinTempDir base;
  std::wstring deep = base.path();
  deep.append(255 - deep.size(), L'd');  // 255 characters: more than the 250 the buffer holds
  ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + deep).c_str(), nullptr));
  wchar_t before[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, before);
  if (SetCurrentDirectoryW(deep.c_str())) {
    TBUDirectories dirs(nullptr, "BUDirectories1", SystemDirectories());
    EXPECT_EQ(dirs.CurrentDirectory(), "");
    SetCurrentDirectoryW(before);
  } else {
    ADD_FAILURE() << "the system refused the long directory: " << GetLastError();
  }
  RemoveDirectoryW((L"\\\\?\\" + deep).c_str());
}

// ---- TSystemLock on Windows ----

class SystemLockWin : public ::testing::Test {
 protected:
  FakeGina gina;
  Win32SystemLockPlatform platform{gina, L"SentavoTestTray"};
};

TEST_F(SystemLockWin, TheKeyMessageWindowHandles1468And1469AndNothingElse) {
  TSystemLock lock(nullptr, "SysLock", platform);
  Log events;
  lock.SetOnKeyDown([&](WindowHandle w, std::uint16_t key, TShiftState s) {
    events.push_back("down " + std::to_string(w) + " " + std::to_string(key) +
                     (s.alt ? " alt" : "") + (s.ctrl ? " ctrl" : "") + (s.shift ? " shift" : ""));
  });
  POINT cursor;
  lock.SetOnMouseUp([&](WindowHandle, TMouseButton b, TShiftState, std::int32_t x, std::int32_t y) {
    events.push_back(std::string(b == TMouseButton::mbRight ? "right" : "other") +
                     (x == cursor.x && y == cursor.y ? " at cursor" : " elsewhere"));
  });
  const HWND window = ToHwnd(lock.KeyMessageWindowHandle());
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(gina.calls.back(), "wlSetKeyPostMessage(" +
                                   std::to_string(lock.KeyMessageWindowHandle()) + ", 1468, 1469)");
  SetCursorPos(640, 480);
  GetCursorPos(&cursor);
  PostMessageW(window, 1468, 0x99, (9 << 16) | 9);
  PostMessageW(window, 1469, 0x99, (2 << 16) | 2);
  PostMessageW(window, 1470, 0x99, 65);
  Pump(100ms);
  EXPECT_EQ(events, (Log{"down 153 9 alt", "right at cursor"}));
  EXPECT_EQ(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0), 0);
}

TEST_F(SystemLockWin, AsFrontAppWritesAndDeletesTheRunOnceValue) {
  const wchar_t* key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";
  ASSERT_EQ(RegKey().Create(HKEY_LOCAL_MACHINE, key, KEY_ALL_ACCESS), ERROR_SUCCESS);
  TSystemLock lock(nullptr, "SysLock", platform);
  lock.SetasFrontApp(true);
  wchar_t exe[MAX_PATH];
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, L"SystemLockFrontApp"), exe);
  lock.SetasFrontApp(false);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, key, L"SystemLockFrontApp"), L"");
}

TEST_F(SystemLockWin, WinesTaskbarHasNoStartButtonSoNothingIsBuilt) {
  Win32SystemLockPlatform real(gina);
  TSystemLock lock(nullptr, "SysLock", real);
  lock.SetReplaceStartmenu(true);
  EXPECT_EQ(lock.StartPanelHandle(), 0u);
  EXPECT_EQ(gina.calls, (Log{"wlDisableItem(3, 0)", "wlDisableItem(3, 1)"}));
}

// A taskbar of the test's own, with a red start button in its top-left corner.
struct TestTaskbar {
  HWND bar = nullptr;
  HWND button = nullptr;
  TestTaskbar() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SentavoTestTray";
    RegisterClassW(&wc);
    wc.lpszClassName = L"Button";  // a class of this program's own that shadows the system's
    wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 0));
    RegisterClassW(&wc);
    bar = CreateWindowExW(WS_EX_TOOLWINDOW, L"SentavoTestTray", L"", WS_POPUP | WS_VISIBLE, 0, 984,
                          1280, 40, nullptr, nullptr, wc.hInstance, nullptr);
    button = CreateWindowW(L"Button", L"Start", WS_CHILD | WS_VISIBLE, 0, 0, 48, 40, bar, nullptr,
                           wc.hInstance, nullptr);
    UpdateWindow(button);
    Pump(100ms);
  }
  static TestTaskbar& Get() {
    static TestTaskbar* t = new TestTaskbar;
    return *t;
  }
};

class TrackedMenu : public PopupMenuRef {
 public:
  explicit TrackedMenu(ui::Component* owner, Log* log)
      : PopupMenuRef(owner, "StartMenu1"), log_(log) {
    AppendMenuW(menu_, MF_STRING, 1, L"Zobrazit Sentavo");
    AppendMenuW(menu_, MF_STRING, 2, L"Konec");
  }
  ~TrackedMenu() override { DestroyMenu(menu_); }
  MenuHandle Handle() const override { return reinterpret_cast<MenuHandle>(menu_); }
  // Really shown; a timer closes it should nothing else do so.
  void Popup(std::int32_t x, std::int32_t y) override {
    log_->push_back("popup " + std::to_string(x) + "," + std::to_string(y));
    const UINT_PTR timer =
        SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_NONOTIFY, x, y, 0, FocusWindow(), nullptr);
    KillTimer(nullptr, timer);
  }

 private:
  HMENU menu_ = CreatePopupMenu();
  Log* log_;
};

class TestSpeedButton : public CopyableButton {
 public:
  TestSpeedButton(ui::Component* owner, std::string name, std::wstring caption)
      : CopyableButton(owner, std::move(name)), caption_(std::move(caption)) {}
  ~TestSpeedButton() override {
    if (window_) DestroyWindow(window_);
  }
  std::unique_ptr<CopyableButton> CopyStoredProperties() const override {
    return std::make_unique<TestSpeedButton>(nullptr, std::string(), caption_);
  }
  void SetOnClick(std::function<void()> handler) override { onClick_ = std::move(handler); }
  void PlaceIn(WindowHandle panel, std::int32_t w, std::int32_t h) override {
    window_ = CreateWindowW(L"STATIC", caption_.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, w, h,
                            ToHwnd(panel), nullptr, nullptr, nullptr);
  }
  void Click() override {
    if (onClick_) onClick_();
  }
  HWND window() const { return window_; }

 private:
  std::wstring caption_;
  HWND window_ = nullptr;
  std::function<void()> onClick_;
};

TEST_F(SystemLockWin, APictureOfTheStartButtonLiesInTheTaskbarAnd1217ClicksIt) {
  TestTaskbar& taskbar = TestTaskbar::Get();
  Log log;
  FakeForm form;
  auto& lock = ui::MakeOwned<TSystemLock>(form, "SysLock", platform);
  TrackedMenu menu(&form, &log);
  lock.SetStartMenu(&menu);
  lock.OnStartButton = [&](TSystemLock&, std::int32_t x, std::int32_t y) {
    log.push_back("fired " + std::to_string(x) + "," + std::to_string(y));
  };
  lock.SetReplaceStartmenu(true);
  const HWND panel = ToHwnd(lock.StartPanelHandle());
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(GetParent(panel), taskbar.bar);
  RECT r;
  GetWindowRect(panel, &r);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 984);
  EXPECT_EQ(r.right, 48);
  EXPECT_EQ(r.bottom, 1024);
  const HWND picture = FindWindowExW(panel, nullptr, L"SentavoStartPicture", nullptr);
  ASSERT_NE(picture, nullptr);
  EXPECT_TRUE(IsWindowVisible(picture));
  // The copied pixels are the red of the real button.
  Pump(100ms);
  RedrawWindow(picture, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const HDC dc = GetDC(picture);
  EXPECT_EQ(GetPixel(dc, 24, 20), RGB(255, 0, 0));
  ReleaseDC(picture, dc);

  gina.winVersions = {5};
  SendMessageW(panel, 1217, 0, 0);
  // Upwards: Wine reports no item rectangles for a closed menu, so the height is 0 + 7.
  EXPECT_EQ(log, (Log{"popup 0,984", "fired 0,977", "popup 0,977"}));

  lock.SetReplaceStartmenu(false);
  EXPECT_FALSE(IsWindow(panel));
}

TEST_F(SystemLockWin, ACopiedSpeedButtonLiesInThePanelAndClicksLikeTheReplacement) {
  TestTaskbar::Get();
  Log log;
  FakeForm form;
  auto& source = ui::MakeOwned<TestSpeedButton>(form, "SpeedButton1", L"Start");
  auto& lock = ui::MakeOwned<TSystemLock>(form, "SysLock", platform);
  lock.SetStartbutton(&source);
  int clicks = 0;
  lock.OnStartButton = [&](TSystemLock&, std::int32_t, std::int32_t) { ++clicks; };
  lock.SetReplaceStartmenu(true);
  const HWND panel = ToHwnd(lock.StartPanelHandle());
  ASSERT_NE(panel, nullptr);
  const HWND copy = FindWindowExW(panel, nullptr, L"STATIC", nullptr);
  ASSERT_NE(copy, nullptr);
  wchar_t caption[32];
  GetWindowTextW(copy, caption, 32);
  EXPECT_EQ(std::wstring(caption), L"Start");
  EXPECT_EQ(source.name(), "SpeedButton1");
  EXPECT_EQ(source.window(), nullptr);  // the source itself is not moved
  SendMessageW(panel, 1217, 0, 0);
  EXPECT_EQ(clicks, 1);
  lock.RestoreAll();
  EXPECT_FALSE(IsWindow(panel));
  EXPECT_FALSE(IsWindow(copy));
}

TEST(SystemLockWithTheLibrary, KeysTheLibrarySeesArriveAsOnKeyDown) {
  sentavo::test::WinTempDir appData;
  SetEnvironmentVariableW(L"LOCALAPPDATA", appData.path().c_str());
  sentavo::test::ClearTrialJournal();  // the real library, whatever an earlier run left
  Log events;
  {
    TSystemLock lock(
        nullptr, "SysLock",
        DefaultSystemLockPlatform());  // the process's lockgina.dll, found beside this program
    lock.SetOnKeyDown([&](WindowHandle w, std::uint16_t key, TShiftState) {
      if (key == 'K')
        events.push_back(w == FromHwnd(GetForegroundWindow()) ? "K here" : "K elsewhere");
    });
    const HWND focus = FocusWindow();
    ASSERT_EQ(GetForegroundWindow(), focus);
    Key('K', false);
    Key('K', true);
    EXPECT_TRUE(PumpUntil([&] { return !events.empty(); }, 3000ms));
  }
  EXPECT_EQ(events, Log{"K here"});
}

}  // namespace
}  // namespace sentavo::lockengine::test
