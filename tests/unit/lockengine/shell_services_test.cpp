// The hot key, the tray icon, the mouse positioner and the directory lookups against recording
// doubles of the system.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "fakes.h"
#include "lockengine/bu_directories.h"
#include "lockengine/bu_mouse_positionner.h"
#include "lockengine/bu_tray_icon.h"
#include "lockengine/global_hot_key.h"

namespace sentavo::lockengine::test {
namespace {

using Log = std::vector<std::string>;

// ---- TGlobalHotKey ----

class FakeHotKeys : public HotKeyBackend {
 public:
  explicit FakeHotKeys(Log* log) : log_(log) {}
  void Attach(std::function<void()> fired) override { fire = std::move(fired); }
  bool Register(const HotKeyCode& code) override {
    log_->push_back("register " + std::to_string(code.modifiers) + " " + std::to_string(code.key));
    return accept;
  }
  void Unregister() override { log_->push_back("unregister"); }
  WindowHandle Window() const override { return 0x42; }
  std::function<void()> fire;
  bool accept = true;

 private:
  Log* log_;
};

TEST(GlobalHotKey, ShortcutsSplitIntoModifiersAndKey) {
  EXPECT_EQ(SplitShortCut(57392), (HotKeyCode{7, 48}));
  EXPECT_EQ(SplitShortCut(0x2000 | 0x41), (HotKeyCode{4, 0x41}));
  EXPECT_EQ(SplitShortCut(0x8000 | 0x73), (HotKeyCode{1, 0x73}));
  EXPECT_EQ(SplitShortCut(0x4000 | 0x1FFF), (HotKeyCode{2, 0xFF}));  // the low 8 bits only
}

TEST(GlobalHotKey, TheClientsStoredKeyRegistersWhileLoadingAndOnlyOnce) {
  Log log;
  auto* keys = new FakeHotKeys(&log);
  FakeForm form;
  auto& hotKey =
      ui::MakeOwned<TGlobalHotKey>(form, "GlobalHotKey1", std::unique_ptr<HotKeyBackend>(keys));
  EXPECT_TRUE(hotKey.Enabled());
  EXPECT_TRUE(log.empty());  // nothing at creation
  hotKey.BeginLoading();
  hotKey.SetKey(57392);
  hotKey.EndLoading();
  EXPECT_EQ(log, Log{"register 7 48"});
  EXPECT_TRUE(hotKey.Registered());
  hotKey.SetKey(57392);  // the same key: untouched
  EXPECT_EQ(log.size(), 1u);

  int fired = 0;
  hotKey.OnHotKey = [&](ui::Component& sender) {
    EXPECT_EQ(&sender, &hotKey);
    ++fired;
  };
  keys->fire();
  EXPECT_EQ(fired, 1);
}

TEST(GlobalHotKey, DisabledKeysAreStoredNotRegisteredAndRefusalsAreRetried) {
  Log log;
  auto* keys = new FakeHotKeys(&log);
  {
    TGlobalHotKey hotKey(nullptr, "k", std::unique_ptr<HotKeyBackend>(keys));
    hotKey.SetEnabled(false);
    hotKey.SetKey(0x2000 | 0x41);
    EXPECT_TRUE(log.empty());
    keys->accept = false;  // another program holds it
    hotKey.SetEnabled(true);
    EXPECT_FALSE(hotKey.Registered());
    keys->accept = true;
    hotKey.SetEnabled(true);
    EXPECT_TRUE(hotKey.Registered());
    hotKey.SetKey(0x8000 | 0x73);
    EXPECT_EQ(log, (Log{"register 4 65", "register 4 65", "unregister", "register 1 115"}));
    log.clear();
    keys->fire();  // no handler: nothing happens
  }
  EXPECT_EQ(log, Log{"unregister"});  // destruction gives the key back
}

// ---- TBUTrayIcon ----

class FakeTray : public TrayBackend {
 public:
  explicit FakeTray(Log* log) : log_(log) {}
  ~FakeTray() override { log_->push_back("backend gone"); }
  void Attach(Handlers h) override { handlers = std::move(h); }
  WindowHandle Window() const override { return 0x70; }
  void Notify(TrayCommand c, const TrayRecord& r) override {
    static const char* names[] = {"add", "modify", "delete"};
    log_->push_back(std::string(names[static_cast<int>(c)]) + " icon " + std::to_string(r.icon) +
                    " tip '" + r.tip + "'");
    last = r;
  }
  IconHandle ApplicationIcon() override { return 1; }
  IconHandle TakeIcon(IconHandle icon) override { return icon + 1000; }
  void SetTimer(bool running, std::uint32_t interval) override {
    timer = running;
    this->interval = interval;
  }
  Point CursorPos() override { return {1200, 1010}; }
  void ShowApplicationWindow(bool visible) override {
    log_->push_back(visible ? "show application" : "hide application");
  }
  bool CanRegisterServiceProcess() const override { return hasService; }
  void RegisterServiceProcess(bool hide) override {
    log_->push_back(hide ? "service hide" : "service show");
  }
  void ReportError(const std::string& text) override { log_->push_back("error: " + text); }

  Handlers handlers;
  TrayRecord last;
  bool timer = false;
  std::uint32_t interval = 0;
  bool hasService = false;

 private:
  Log* log_;
};

class Frames : public ImageListRef {
 public:
  int count = 3;
  int Count() const override { return count; }
  IconHandle IconAt(int index) const override { return 10 + static_cast<IconHandle>(index); }
};

class TrayIconTest : public ::testing::Test {
 protected:
  Log log;
  FakeForm form;
  FakeTray* tray = new FakeTray(&log);
  TBUTrayIcon& icon =
      ui::MakeOwned<TBUTrayIcon>(form, "BUTrayIcon1", std::unique_ptr<TrayBackend>(tray));

  void Record(TNotifyEvent& event, const std::string& name) {
    event = [this, name](ui::Component& sender) {
      EXPECT_EQ(&sender, &icon);
      log.push_back(name);
    };
  }
  void RecordAll() {
    Record(icon.OnClick, "Click");
    Record(icon.OnDblClick, "DblClick");
    Record(icon.OnMouseMove, "MouseMove");
    Record(icon.OnMouseUp, "MouseUp");
    Record(icon.OnLeftButtonDown, "LeftButtonDown");
    Record(icon.OnLeftButtonUp, "LeftButtonUp");
    Record(icon.OnLeftButtonDblClick, "LeftButtonDblClick");
    Record(icon.OnRightButtonDown, "RightButtonDown");
    Record(icon.OnRightButtonUp, "RightButtonUp");
    Record(icon.OnRightButtonDblClick, "RightButtonDblClick");
    Record(icon.OnMiddleButtonDown, "MiddleButtonDown");
    Record(icon.OnMiddleButtonUp, "MiddleButtonUp");
    Record(icon.OnMiddlebuttonDblClk, "MiddlebuttonDblClk");
  }
  Log Fire(std::intptr_t message) {
    log.clear();
    tray->handlers.callback(message);
    return log;
  }
};

TEST_F(TrayIconTest, CreationShowsNothingYet) {
  EXPECT_TRUE(log.empty());
  EXPECT_FALSE(icon.Active());
  EXPECT_TRUE(icon.ApplicationVisible());
  EXPECT_TRUE(icon.VisibleInTaskList());
  EXPECT_EQ(icon.Delay(), 100u);
  EXPECT_FALSE(tray->timer);
  const TrayRecord& r = icon.Record();
  EXPECT_EQ(r.window, 0x70u);
  EXPECT_EQ(r.id, 1u);
  EXPECT_EQ(r.flags, 7u);
  EXPECT_EQ(r.callbackMessage, 1025u);
  EXPECT_EQ(r.icon, 1001u);  // a copy of the application's icon
}

TEST_F(TrayIconTest, ActiveHintAndIconReachTheShell) {
  icon.SetHint("Sentavo|the rest is not shown");
  EXPECT_TRUE(log.empty());  // not shown yet: nothing to modify
  icon.SetActive(true);
  icon.SetActive(true);  // no comparison: added again
  icon.SetIcon(5);
  icon.SetHint(std::string(70, 'x'));
  icon.SetActive(false);
  EXPECT_EQ(log, (Log{"add icon 1001 tip 'Sentavo'", "add icon 1001 tip 'Sentavo'",
                      "modify icon 1005 tip 'Sentavo'",
                      "modify icon 1005 tip '" + std::string(63, 'x') + "'",
                      "delete icon 1005 tip '" + std::string(63, 'x') + "'"}));
}

TEST(TrayTip, CutsAtTheBarAndAt63Utf16UnitsWithoutSplittingACharacter) {
  EXPECT_EQ(TrayTip("a|b|c"), "a");
  EXPECT_EQ(TrayTip("|hidden"), "");
  EXPECT_EQ(TrayTip("Zobrazit Sentavo"), "Zobrazit Sentavo");
  const std::string czech = "\xC4\x8D";  // one unit in UTF-16, two bytes here
  std::string many;
  for (int i = 0; i < 70; ++i) many += czech;
  std::string sixtyThree;
  for (int i = 0; i < 63; ++i) sixtyThree += czech;
  EXPECT_EQ(TrayTip(many), sixtyThree);
  const std::string smile = "\xF0\x9F\x98\x80";  // two units
  const std::string tip = TrayTip(std::string(62, 'a') + smile);
  EXPECT_EQ(tip, std::string(62, 'a'));  // the pair would make 64
  EXPECT_EQ(TrayTip(std::string(61, 'a') + smile + "b"), std::string(61, 'a') + smile);
}

TEST_F(TrayIconTest, EveryMouseMessageFiresItsEventsInOrder) {
  RecordAll();
  EXPECT_EQ(Fire(512), Log{"MouseMove"});
  EXPECT_EQ(Fire(513), Log{"LeftButtonDown"});
  EXPECT_EQ(Fire(514), (Log{"LeftButtonUp", "MouseUp", "Click"}));
  EXPECT_EQ(Fire(515), (Log{"LeftButtonDblClick", "DblClick"}));
  EXPECT_EQ(Fire(516), Log{"RightButtonDown"});
  EXPECT_EQ(Fire(517), (Log{"RightButtonUp", "MouseUp", "Click"}));
  EXPECT_EQ(Fire(518), (Log{"RightButtonDblClick", "DblClick"}));
  EXPECT_EQ(Fire(519), Log{"MiddleButtonDown"});
  EXPECT_EQ(Fire(520), (Log{"MiddleButtonUp", "MouseUp", "Click"}));
  EXPECT_EQ(Fire(521), (Log{"MiddlebuttonDblClk", "DblClick"}));
  EXPECT_TRUE(Fire(522).empty());
  EXPECT_TRUE(Fire(0x0400).empty());
}

TEST_F(TrayIconTest, OneMenuAsBothMenusOpensOnLeftPressAndBeforeTheRightReleaseEvents) {
  RecordAll();
  FakeMenu& menu = ui::MakeOwned<FakeMenu>(form, "PopupMenu1", &log);
  icon.PopupMenu = &menu;
  icon.DropDownMenu = &menu;
  EXPECT_EQ(Fire(513), (Log{"LeftButtonDown", "popup PopupMenu1 at 1200,1010"}));
  EXPECT_EQ(Fire(517), (Log{"popup PopupMenu1 at 1200,1010", "RightButtonUp", "MouseUp", "Click"}));
  EXPECT_EQ(Fire(514), (Log{"LeftButtonUp", "MouseUp", "Click"}));  // no menu on release
}

TEST_F(TrayIconTest, AFailingHandlerIsReportedAndTheIconGoesOnWorking) {
  RecordAll();
  icon.OnMouseUp = [](ui::Component&) { throw std::runtime_error("Handler failed"); };
  EXPECT_EQ(Fire(514), (Log{"LeftButtonUp", "error: Handler failed"}));  // Click is not reached
  EXPECT_EQ(Fire(512), Log{"MouseMove"});
}

TEST_F(TrayIconTest, TheAnimationRunsThroughTheFramesOnlyWhileActive) {
  Frames frames;
  icon.Icons = &frames;
  icon.SetDelay(40);
  EXPECT_FALSE(tray->timer);
  icon.SetAnimated(true);
  EXPECT_TRUE(tray->timer);
  EXPECT_EQ(tray->interval, 40u);
  tray->handlers.tick();  // not active: nothing
  EXPECT_EQ(icon.FrameIndex(), 0);
  icon.SetActive(true);
  std::vector<IconHandle> shown;
  for (int i = 0; i < 4; ++i) {
    tray->handlers.tick();
    shown.push_back(icon.Icon());
  }
  EXPECT_EQ(shown, (std::vector<IconHandle>{1011, 1012, 1010, 1011}));  // frames 1, 2, 0, 1
  EXPECT_EQ(tray->last.icon, 1011u);
  frames.count = 0;
  tray->handlers.tick();
  EXPECT_EQ(icon.Icon(), 1011u);
  icon.SetAnimated(false);
  EXPECT_FALSE(tray->timer);
}

TEST_F(TrayIconTest, TheIconComesBackWhenTheTaskbarIsCreatedAgain) {
  tray->handlers.taskbarCreated();
  EXPECT_TRUE(log.empty());
  icon.SetActive(true);
  log.clear();
  tray->handlers.taskbarCreated();
  EXPECT_EQ(log, Log{"add icon 1001 tip ''"});
}

TEST_F(TrayIconTest, ApplicationWindowAndTaskList) {
  icon.SetApplicationVisible(false);
  icon.SetApplicationVisible(false);
  icon.SetApplicationVisible(true);
  icon.SetVisibleInTaskList(false);  // no RegisterServiceProcess: only stored
  EXPECT_FALSE(icon.VisibleInTaskList());
  tray->hasService = true;
  icon.SetVisibleInTaskList(false);  // same value: nothing
  icon.SetVisibleInTaskList(true);
  icon.SetVisibleInTaskList(false);
  EXPECT_EQ(log, (Log{"hide application", "hide application", "show application", "service show",
                      "service hide"}));
}

TEST(TrayIconEnd, DestructionTakesTheIconAwayAndLeavesTheTaskListAlone) {
  Log log;
  auto* tray = new FakeTray(&log);
  tray->hasService = true;
  {
    TBUTrayIcon icon(nullptr, "t", std::unique_ptr<TrayBackend>(tray));
    icon.SetAnimated(true);
    icon.SetActive(true);
    log.clear();
  }
  EXPECT_EQ(log, (Log{"delete icon 1001 tip ''", "backend gone"}));
}

// ---- TBUMousePositionner ----

class FakeCursor : public CursorDevice {
 public:
  Point at;
  Log log;
  Point CursorPos() override { return at; }
  void SetCursorPos(Point p) override {
    at = p;
    log.push_back("move " + std::to_string(p.x) + "," + std::to_string(p.y));
  }
  void Sleep(std::uint32_t ms) override { log.push_back("sleep " + std::to_string(ms)); }
};

class FakeGeometry : public ControlGeometry {
 public:
  Rect client{0, 0, 101, 51};
  Point origin{200, 300};
  Rect ClientRect() const override { return client; }
  Point ClientToScreen(Point p) const override { return {p.x + origin.x, p.y + origin.y}; }
};

TEST(MousePositionner, RoundsHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-0.5), 0);
  EXPECT_EQ(RoundHalfEven(-1.5), -2);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(RoundHalfEven(-2.6), -3);
}

TEST(MousePositionner, ExecuteExStepsAndSkipsStepsThatGoNowhere) {
  FakeCursor cursor;
  TBUMousePositionner mover(nullptr, "m", cursor);
  cursor.at = {100, 200};
  mover.ExecuteEx({100, 200}, 1, 1);
  EXPECT_TRUE(cursor.log.empty());  // neither moved nor slept
  cursor.at = {500, 600};
  mover.ExecuteEx({100, 200}, 1, 1);
  EXPECT_EQ(cursor.log, (Log{"move 100,200", "sleep 1"}));
  cursor.log.clear();
  cursor.at = {0, 0};
  mover.ExecuteEx({3, 0}, 2, 5);
  EXPECT_EQ(cursor.log, (Log{"move 2,0", "sleep 5", "move 3,0", "sleep 5"}));
  cursor.log.clear();
  cursor.at = {1, 0};
  mover.ExecuteEx({2, 0}, 2, 5);  // 0.5 rounds to 0: the first step is skipped
  EXPECT_EQ(cursor.log, (Log{"move 2,0", "sleep 5"}));
  cursor.log.clear();
  mover.ExecuteEx({9, 9}, 0, 5);
  mover.ExecuteEx({9, 9}, -3, 5);
  EXPECT_TRUE(cursor.log.empty());
}

TEST(MousePositionner, ExecuteAimsAtTheControlsCentreAnewAtEveryStep) {
  class Wandering : public FakeCursor {
   public:
    void SetCursorPos(Point p) override {
      FakeCursor::SetCursorPos(p);
      if (log.size() == 1) at.x += 30;  // the user pushes the mouse after the first step
    }
  } cursor;
  FakeGeometry control;
  TBUMousePositionner mover(nullptr, "m", cursor);
  mover.Execute(3, 2);
  EXPECT_TRUE(cursor.log.empty());  // no control
  mover.Control = &control;
  mover.Execute(0, 2);
  EXPECT_TRUE(cursor.log.empty());
  cursor.at = {0, 0};
  // Centre (50, 25) + (200, 300) = (250, 325). After the push the cursor is at (113, 108): half
  // of what is left gives 181.5 and 216.5, which round to the even 182 and 216.
  mover.Execute(3, 2);
  EXPECT_EQ(cursor.log,
            (Log{"move 83,108", "sleep 2", "move 182,216", "sleep 2", "move 250,325", "sleep 2"}));
}

// ---- TBUDirectories ----

class FakeDirectories : public DirectorySource {
 public:
  std::map<SystemFolder, std::string> folders;
  FakeRegistry registry;
  std::string SystemFolderPath(SystemFolder f) override {
    return folders.contains(f) ? folders[f] : std::string();
  }
  Registry& SystemRegistry() override { return registry; }
};

TEST(Directories, EveryResultEndsInOneBackslashOrIsEmpty) {
  FakeDirectories source;
  source.folders = {{SystemFolder::Current, "C:\\work"},
                    {SystemFolder::Windows, "C:\\Windows"},
                    {SystemFolder::Temp, "C:\\Temp\\"}};
  source.registry.Set(RegistryRoot::LocalMachine, kCurrentVersionKey, "ProgramFilesDir",
                      "C:\\Program Files");
  TBUDirectories dirs(nullptr, "d", source);
  EXPECT_EQ(dirs.CurrentDirectory(), "C:\\work\\");
  EXPECT_EQ(dirs.WindowsDirectory(), "C:\\Windows\\");
  EXPECT_EQ(dirs.TempPath(), "C:\\Temp\\");
  EXPECT_EQ(dirs.SystemDirectory(), "");
  EXPECT_EQ(dirs.ProgramFiles(), "C:\\Program Files\\");
}

TEST(Directories, ShellFoldersReadTheirOwnValueAndAnyTroubleGivesNothing) {
  FakeDirectories source;
  TBUDirectories dirs(nullptr, "d", source);
  EXPECT_EQ(dirs.Startup(), "");  // no key
  const std::map<std::string, std::function<std::string(const TBUDirectories&)>> byValue = {
      {"AppData", &TBUDirectories::ApplicationData}, {"Cache", &TBUDirectories::Cache},
      {"Cookies", &TBUDirectories::Cookies},         {"Desktop", &TBUDirectories::Desktop},
      {"Favorites", &TBUDirectories::Favorites},     {"Fonts", &TBUDirectories::Fonts},
      {"History", &TBUDirectories::History},         {"NetHood", &TBUDirectories::NetHood},
      {"Personal", &TBUDirectories::Personal},       {"Programs", &TBUDirectories::Programs},
      {"Recent", &TBUDirectories::Recent},           {"SendTo", &TBUDirectories::SendTo},
      {"Start Menu", &TBUDirectories::StartMenu},    {"Startup", &TBUDirectories::Startup},
      {"Templates", &TBUDirectories::Templates}};
  for (const auto& [value, getter] : byValue)
    source.registry.Set(RegistryRoot::CurrentUser, kShellFoldersKey, value, "D:\\" + value);
  for (const auto& [value, getter] : byValue) EXPECT_EQ(getter(dirs), "D:\\" + value + "\\");
  source.registry.Set(RegistryRoot::CurrentUser, kShellFoldersKey, "Cookies", "1234", false);
  EXPECT_EQ(dirs.Cookies(), "");  // not a string
  source.registry.keys[{RegistryRoot::CurrentUser, kShellFoldersKey}].erase("Fonts");
  EXPECT_EQ(dirs.Fonts(), "");
  source.registry.Set(RegistryRoot::CurrentUser, kShellFoldersKey, "Recent", "");
  EXPECT_EQ(dirs.Recent(), "");
}

TEST(Directories, ADirectoryThatDoesNotFitTheBufferIsRefused) {
  std::u16string buffer(250, u'\0');
  const std::u16string fits(249, u'd');
  buffer.replace(0, fits.size(), fits);
  EXPECT_EQ(TextFromBuffer(buffer, 249), fits);
  EXPECT_EQ(TextFromBuffer(buffer, 250), u"");  // needs 250 plus the zero
  EXPECT_EQ(TextFromBuffer(buffer, 400), u"");
  EXPECT_EQ(TextFromBuffer(buffer, 0), u"");  // the call failed
  std::u16string zeroInside = u"C:\\A";
  zeroInside += u'\0';
  zeroInside += u"junk";
  EXPECT_EQ(TextFromBuffer(zeroInside, 9), u"C:\\A");
}

}  // namespace
}  // namespace sentavo::lockengine::test
