// The guard's session around the lock screen's model, with the pipe replaced by memory: what a
// window is sent when it connects, events in and changes out, a window that goes away and a new
// one mid-period, hostile frames, and the window's side of it shown to behave as the model itself.
#include "guard/guard_session.h"

#include <deque>

#include "client_fakes.h"
#include "guard/remote_lock_screen.h"

namespace sentavo::guard {
namespace {

using namespace sentavo::client;
using namespace sentavo::client::test;

class FakeLibrary final : public MachineLibrary {
 public:
  bool installed = true;
  int installs = 0;
  bool IsGinaInstalled() override { return installed; }
  bool InstallGina() override { return ++installs, installed = true; }
  bool TrialMode() override { return false; }
};

// The window's end as the guard sees it: every frame it was sent, decoded.
class Window final : public Transport {
 public:
  std::vector<ToClient> got;
  void Send(std::vector<std::uint8_t> frame) override {
    FrameReader reader;
    reader.Feed(frame);
    const auto body = reader.Next();
    ASSERT_TRUE(body.has_value());
    const auto message = DecodeToClient(*body);
    ASSERT_TRUE(message.has_value());
    got.push_back(*message);
  }
  template <class M>
  std::vector<M> All() const {
    std::vector<M> out;
    for (const ToClient& m : got)
      if (const auto* x = std::get_if<M>(&m)) out.push_back(*x);
    return out;
  }
  std::optional<LockScreenView> LastView() const {
    const auto views = All<ViewMessage>();
    if (views.empty()) return std::nullopt;
    return views.back().view;
  }
  Log Switches() const {
    Log log;
    for (const ToClient& m : got) {
      if (const auto* s = std::get_if<SwitchMessage>(&m))
        log.push_back(SwitchName(s->index) + (s->value ? "=1" : "=0"));
      if (std::holds_alternative<RestoreAllMessage>(m)) log.push_back("RestoreAll");
    }
    return log;
  }
};

std::vector<std::uint8_t> Body(const ToGuard& m) {
  const auto frame = EncodeFrame(m);
  return {frame.begin() + 4, frame.end()};
}

class GuardSessionTest : public ::testing::Test {
 protected:
  static constexpr DateTime kNoon{2026, 12, 2, 12, 0, 0};
  static constexpr const char* kServer = "S:\\codes\\";

  ManualClock clock{kNoon};
  CzechFormats formats;
  MemoryFiles files;
  FakePolicies policies;
  FakeEnvironment environment;
  FakeIdentity identity;
  FakeLibrary library;
  Log log;
  GuardServices services{
      clock,       formats,  files,   policies,
      environment, identity, library, [this](std::string_view s) {
                           log.emplace_back(s); }};
  GuardSession session{services};

  void SetUp() override {
    files.folders.insert("C:\\");
    // Sentavo.cfg beside the guard names the shared folder and the establishment.
    ClientSettings settings{kDefaultSwitches, "Kavárna", "heslo123", "", kServer};
    const auto cfg = EncodeConfigRecord(ClientRecordFromSettings(settings));
    files.files["C:\\Sentavo\\Sentavo.cfg"] = Bytes(cfg.begin(), cfg.end());
    session.Start();
  }

  bool Event(LockEventKind kind, std::string text = {}) {
    LockEvent e = MakeEvent(kind);
    e.text = std::move(text);
    return session.OnFrame(Body(ToGuard{e}));
  }
  void Connect(Window& w) {
    session.OnConnected(w);
    ASSERT_TRUE(session.OnFrame(Body(ToGuard{Hello{}})));
  }
  void PutCode(const std::string& code, int seconds) {
    IssueRequest q;
    q.rights = DefaultIssueRights();
    q.rights[RightIndex(Right::alttab)] = true;
    q.reusable = true;
    q.seconds = seconds;
    q.establishment = "Kavárna";
    q.validFrom = {2026, 12, 1, 10, 0, 0};
    q.validTo = {2026, 12, 3, 18, 0, 0};
    q.codeType = kCodeTypeOnce;
    const auto bytes = EncodeCodeRecord(BuildIssuedRecord(q, {2026, 12, 1, 9, 0, 0}, formats));
    files.files[CodePath(code)] = Bytes(bytes.begin(), bytes.end());
  }
  static std::string CodePath(const std::string& code) {
    return std::string(kServer) + "\\" + code + ".dat";
  }
  // The switches as the model's check boxes stand, in their order: what a new window must apply.
  Log SwitchedNow() const {
    Log log;
    for (std::size_t i = 0; i < kSwitchCount; ++i)
      log.push_back(SwitchName(i) + (session.model().view().switches[i] ? "=1" : "=0"));
    return log;
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      clock.Advance(1);
      session.OnTimer1();
    }
  }
};

TEST_F(GuardSessionTest, AWindowThatSaysHelloGetsTheSwitchesTheViewAndWhatWasKeptForIt) {
  Ticks(2);  // nobody listens: the locked seconds' window actions are not kept
  Window w;
  session.OnConnected(w);
  EXPECT_TRUE(w.got.empty()) << "nothing before Hello";
  ASSERT_TRUE(session.OnFrame(Body(ToGuard{Hello{}})));
  EXPECT_EQ(w.Switches(), AllSixteen(true));
  ASSERT_TRUE(w.LastView().has_value());
  EXPECT_EQ(w.LastView()->odpocetLED, "locked");
  EXPECT_TRUE(w.LastView()->stayOnTop);
  EXPECT_TRUE(w.All<RequestsMessage>().empty());
  // The switches come first, so that the window is locked before it shows anything.
  EXPECT_TRUE(std::holds_alternative<SwitchMessage>(w.got.front()));
}

TEST_F(GuardSessionTest, TheLogonComponentsNoticeWaitsForTheFirstWindow) {
  GuardSession fresh{services};
  library.installed = false;
  fresh.Start();
  EXPECT_EQ(library.installs, 1);
  Window w;
  fresh.OnConnected(w);
  ASSERT_TRUE(fresh.OnFrame(Body(ToGuard{Hello{}})));
  const auto requests = w.All<RequestsMessage>();
  ASSERT_EQ(requests.size(), 1u);
  ASSERT_EQ(requests[0].requests.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<ui::Message>(requests[0].requests[0]));
}

TEST_F(GuardSessionTest, NothingIsTakenBeforeHelloNorASecondHelloAndNoFrameThatIsNotAMessage) {
  Window w;
  session.OnConnected(w);
  EXPECT_FALSE(Event(LockEventKind::KodEnter));
  EXPECT_FALSE(session.OnFrame(std::vector<std::uint8_t>{kProtocolVersion, 1, 0}));
  ASSERT_TRUE(session.OnFrame(Body(ToGuard{Hello{}})));
  EXPECT_FALSE(session.OnFrame(Body(ToGuard{Hello{}})));
  EXPECT_FALSE(session.OnFrame(std::vector<std::uint8_t>{}));
  EXPECT_EQ(log.size(), 4u) << "each refusal is logged";
}

TEST_F(GuardSessionTest, AMalformedFrameLeavesTheModelUntouched) {
  PutCode("4711", 600);
  Window w;
  Connect(w);
  ASSERT_TRUE(Event(LockEventKind::KodChanged, "4711"));
  const LockScreenView before = session.model().view();
  w.got.clear();
  // A KodEnter with a byte left over, then a KodChanged whose text is not UTF-8.
  auto enter = Body(ToGuard{MakeEvent(LockEventKind::KodEnter)});
  enter.push_back(0);
  EXPECT_FALSE(session.OnFrame(enter));
  auto changed = Body(ToGuard{MakeEvent(LockEventKind::KodChanged, "ab")});
  changed.back() = 0xFF;
  EXPECT_FALSE(session.OnFrame(changed));
  EXPECT_EQ(session.model().view(), before);
  EXPECT_EQ(session.model().countdown(), -1);
  EXPECT_TRUE(w.got.empty());
}

TEST_F(GuardSessionTest, AGuestsCodeUnlocksThroughThePipeAndOnlyChangesAreSent) {
  PutCode("4711", 600);
  Window w;
  Connect(w);
  w.got.clear();
  ASSERT_TRUE(Event(LockEventKind::KodChanged, "4711"));
  ASSERT_EQ(w.All<ViewMessage>().size(), 1u);
  EXPECT_EQ(w.LastView()->kod.text, "4711");
  w.got.clear();
  ASSERT_TRUE(Event(LockEventKind::KodEnter));
  EXPECT_EQ(session.model().countdown(), 600);
  EXPECT_FALSE(w.LastView()->stayOnTop);
  // The code's rights, applied in the session: Alt+Tab stays blocked.
  EXPECT_NE(std::find(w.Switches().begin(), w.Switches().end(), "alttab=1"), w.Switches().end());
  w.got.clear();
  ASSERT_TRUE(Event(LockEventKind::ZobrazitSentavo));
  EXPECT_TRUE(w.All<ViewMessage>().empty()) << "an unchanged view is not sent again";
}

TEST_F(GuardSessionTest, AWindowThatGoesAwayMidPeriodTakesNoTimeWithItAndTheNextSeesTheSame) {
  PutCode("4711", 600);
  Window first;
  Connect(first);
  Event(LockEventKind::KodChanged, "4711");
  Event(LockEventKind::KodEnter);
  Ticks(5);
  EXPECT_EQ(first.LastView()->odpocetLED, "0:09:55");
  session.OnDisconnected();  // killed
  Ticks(3);                  // the countdown and the write-back go on without a window
  EXPECT_EQ(session.model().countdown(), 592);
  const TCodeRecord stored = files.Record(CodePath("4711"));
  EXPECT_EQ(stored.secondsLeft, 592);
  EXPECT_TRUE(stored.loggedIn);

  Window second;
  Connect(second);
  EXPECT_EQ(second.LastView()->odpocetLED, "0:09:52");
  EXPECT_FALSE(second.LastView()->stayOnTop);
  // The new window's library gets the period's switches, not the lock's.
  EXPECT_EQ(second.Switches(), SwitchedNow());
  EXPECT_NE(second.Switches(), AllSixteen(true));
  Ticks(1);
  EXPECT_EQ(second.LastView()->odpocetLED, "0:09:51");
}

TEST_F(GuardSessionTest, APointerOffTheEntryIsMovedBackWhileLocked) {
  Window w;
  Connect(w);
  w.got.clear();
  LockEvent inside = MakeEvent(LockEventKind::Pointer);
  inside.point = {200, 200};
  ASSERT_TRUE(session.OnFrame(Body(ToGuard{inside})));
  EXPECT_TRUE(w.All<MovePointerMessage>().empty());
  LockEvent outside = MakeEvent(LockEventKind::Pointer);
  outside.point = {900, 700};
  ASSERT_TRUE(session.OnFrame(Body(ToGuard{outside})));
  ASSERT_EQ(w.All<MovePointerMessage>().size(), 1u);
  EXPECT_EQ(w.All<MovePointerMessage>()[0], (MovePointerMessage{kPointerHome, 1, 1}));
}

TEST_F(GuardSessionTest, TheAdministratorsPasswordReachesTheWindowOnlyWithTheSettingsPage) {
  Window w;
  Connect(w);
  EXPECT_EQ(session.model().view().adminheslo, "heslo123");
  EXPECT_EQ(w.LastView()->adminheslo, "");
  Event(LockEventKind::KodChanged, "heslo123");
  Event(LockEventKind::KodEnter);
  ASSERT_TRUE(w.LastView()->tabSheet2Visible);
  EXPECT_EQ(w.LastView()->adminheslo, "heslo123");
  Event(LockEventKind::OdhlasitAdmina);
  EXPECT_FALSE(w.LastView()->tabSheet2Visible);
  EXPECT_EQ(w.LastView()->adminheslo, "");
}

// Whatever runs in the lock window's process (a guest's code in it) can send any event; the guard
// takes only those the window shows a control for. The hidden password box must not become the
// password, nor "Konec" end the lock.
TEST_F(GuardSessionTest, EventsOfControlsTheWindowDoesNotShowAreIgnored) {
  Window w;
  Connect(w);
  ASSERT_FALSE(session.model().view().tabSheet2Visible);
  EXPECT_TRUE(Event(LockEventKind::AdminhesloChanged, "guest"));
  EXPECT_TRUE(Event(LockEventKind::ServercestaChanged, "C:\\guest\\"));
  EXPECT_TRUE(Event(LockEventKind::Konec));
  EXPECT_TRUE(Event(LockEventKind::OdhlasitUseraClick));  // disabled while locked
  EXPECT_FALSE(session.ended());
  EXPECT_EQ(session.model().view().adminheslo, "heslo123");
  EXPECT_EQ(session.model().view().servercesta, kServer);
  Event(LockEventKind::KodChanged, "guest");
  Event(LockEventKind::KodEnter);
  EXPECT_FALSE(session.model().view().tabSheet2Visible) << "the injected password admitted";
  // The real password opens the settings page, and its events are taken there.
  Event(LockEventKind::KodChanged, "heslo123");
  Event(LockEventKind::KodEnter);
  ASSERT_TRUE(session.model().view().tabSheet2Visible);
  EXPECT_TRUE(Event(LockEventKind::ProvozChanged, "Jinde"));
  EXPECT_EQ(session.model().view().provoz, "Jinde");
}

// ---- The window's side.

// Both ends of the pipe in memory: the window's frames go straight into the session.
class Loopback final : public GuardLink, public Transport {
 public:
  explicit Loopback(GuardSession& session) : session_(session) {}
  void Send(std::vector<std::uint8_t> frame) override {  // from the window
    FrameReader reader;
    reader.Feed(frame);
    const auto body = reader.Next();
    ASSERT_TRUE(body.has_value());
    if (!session_.OnFrame(*body)) ++refused;
  }
  std::optional<std::vector<std::uint8_t>> Receive() override {
    if (toWindow.empty()) return std::nullopt;
    auto body = std::move(toWindow.front());
    toWindow.pop_front();
    return body;
  }
  bool Reconnected() override { return std::exchange(reconnected, false); }
  void Drop() override { ++dropped; }

  struct GuardEnd final : Transport {
    explicit GuardEnd(Loopback& l) : l(l) {}
    void Send(std::vector<std::uint8_t> frame) override {
      l.toWindow.emplace_back(frame.begin() + 4, frame.end());
    }
    Loopback& l;
  } guardEnd{*this};

  std::deque<std::vector<std::uint8_t>> toWindow;
  bool reconnected = false;
  int refused = 0, dropped = 0;

 private:
  GuardSession& session_;
};

TEST_F(GuardSessionTest, TheWindowsProxyBehavesAsTheModelItself) {
  PutCode("4711", 600);
  Loopback pipe(session);
  FakeSysLock lock;
  FakePointer pointer;
  RemoteLockScreen remote(pipe, lock, pointer);
  session.OnConnected(pipe.guardEnd);
  remote.Start();
  remote.OnTimer2();
  EXPECT_EQ(lock.log, SwitchedNow());
  lock.log.clear();
  session.OnTimer1();  // a locked second puts every switch in force, in this session too
  remote.OnTimer2();
  ASSERT_GE(lock.log.size(), kSwitchCount);
  EXPECT_EQ(Log(lock.log.end() - kSwitchCount, lock.log.end()), AllSixteen(true));
  EXPECT_EQ(remote.view(), ViewForWindow(session.model().view()));

  remote.OnKodChanged("4711");
  remote.OnKodEnter();
  remote.OnTimer2();
  EXPECT_EQ(remote.view().infoLabel.text, "Přihlášen uživatel.");
  EXPECT_FALSE(remote.view().stayOnTop);
  Ticks(1);
  remote.OnTimer2();
  EXPECT_EQ(remote.view().odpocetLED, "0:09:59");
  // The pointer is reported once where it is, and again only when it moves.
  pointer.pos = {300, 300};
  remote.OnTimer2();
  remote.OnTimer2();
  EXPECT_EQ(pipe.refused, 0);

  // The guard restarts: the window says Hello again and is given everything anew.
  lock.log.clear();
  session.OnDisconnected();
  session.OnConnected(pipe.guardEnd);
  pipe.reconnected = true;
  remote.OnTimer2();
  EXPECT_EQ(lock.log.size(), kSwitchCount);
  EXPECT_EQ(remote.view(), ViewForWindow(session.model().view()));

  // "Konec" ends the program in the guard and in the window alike; nothing more is sent.
  remote.OnOdhlasitUseraClick();
  remote.OnKodChanged("heslo123");
  remote.OnKodEnter();
  remote.OnKonec();
  remote.OnTimer2();
  EXPECT_TRUE(session.ended());
  EXPECT_TRUE(remote.ended());
  bool endAsked = false;
  for (const ui::Request& r : remote.TakeRequests())
    endAsked |= std::holds_alternative<ui::EndProgramRequest>(r);
  EXPECT_TRUE(endAsked);
  EXPECT_EQ(pipe.dropped, 0);
}

TEST_F(GuardSessionTest, AWindowDropsAGuardWhoseBytesMakeNoSense) {
  Loopback pipe(session);
  FakeSysLock lock;
  FakePointer pointer;
  RemoteLockScreen remote(pipe, lock, pointer);
  pipe.toWindow.push_back({kProtocolVersion, 103, 16, 1});  // a seventeenth switch
  remote.OnTimer2();
  EXPECT_EQ(pipe.dropped, 1);
  EXPECT_TRUE(lock.log.empty());
}

}  // namespace
}  // namespace sentavo::guard
