// The station's report in the shared folder, the operator's commands, and the guest's warnings
// before the end of a period.
#include <algorithm>

#include "client/warnings.h"
#include "client_fakes.h"
#include "formats/station.h"

namespace sentavo::client::test {
namespace {

constexpr const char* kStatusFile = "S:\\codes\\stav\\PC-07.json";
constexpr const char* kCommandFile = "S:\\codes\\prikazy\\PC-07.json";

class Station : public ClientTest {
 protected:
  void SetUp() override {
    station.computerName = "PC-07";
    ClientTest::SetUp();
  }

  StationStatus Status() const {
    const auto it = files.files.find(kStatusFile);
    if (it == files.files.end()) {
      ADD_FAILURE() << "no status file";
      return {};
    }
    const auto s = DecodeStatus(std::string(it->second.begin(), it->second.end()));
    EXPECT_TRUE(s) << "the status does not decode";
    return s.value_or(StationStatus{});
  }
  int StatusWrites() const {
    return static_cast<int>(std::count_if(files.writes.begin(), files.writes.end(),
                                          [](const auto& w) { return w.first == kStatusFile; }));
  }
  void Command(const std::string& json) {
    files.files[kCommandFile] = Bytes(json.begin(), json.end());
  }
  // A reusable code of `seconds`, entered and counted for one second.
  void StartPeriod(int seconds = 600) {
    PutCode("4712", IssuedCode(seconds));
    Enter("4712");
    Ticks(1);
    ASSERT_EQ(screen.countdown(), seconds - 1);
  }
  std::vector<ui::NoticeRequest> Notices() {
    std::vector<ui::NoticeRequest> out;
    for (const ui::Request& r : screen.TakeRequests()) {
      if (const auto* n = std::get_if<ui::NoticeRequest>(&r)) out.push_back(*n);
    }
    return out;
  }
  static LocalTime At(int h, int m, int s) { return LocalTime{DateTime{2026, 12, 2, h, m, s}, 0}; }
};

TEST_F(Station, ReportsItsStateAtEachChangeAndEveryFiveSeconds) {
  Ticks(1);
  StationStatus s = Status();
  EXPECT_EQ(s.pc, "PC-07");
  EXPECT_EQ(s.state, StationState::Locked);
  EXPECT_EQ(s.code, "");
  EXPECT_EQ(s.secondsLeft, std::nullopt);
  EXPECT_EQ(s.since, At(12, 0, 1));
  EXPECT_EQ(s.updated, At(12, 0, 1));
  EXPECT_FALSE(s.guarded);
  EXPECT_EQ(s.version, "1.2");
  EXPECT_EQ(s.uid, screen.view().uid);
  EXPECT_NE(std::find(environment.created.begin(), environment.created.end(), "S:\\codes\\stav"),
            environment.created.end());
  // Nothing changes for four seconds: nothing is written; the fifth brings the report again.
  Ticks(4);
  EXPECT_EQ(StatusWrites(), 1);
  Ticks(1);
  EXPECT_EQ(StatusWrites(), 2);
  EXPECT_EQ(Status().updated, At(12, 0, 6));
  EXPECT_EQ(Status().since, At(12, 0, 1));

  StartPeriod(600);  // 12:00:07
  s = Status();
  EXPECT_EQ(s.state, StationState::Guest);
  EXPECT_EQ(s.code, "4712");
  EXPECT_EQ(s.secondsLeft, 599);
  EXPECT_EQ(s.since, At(12, 0, 7));
  Ticks(5);
  EXPECT_EQ(Status().secondsLeft, 594);
  EXPECT_EQ(Status().since, At(12, 0, 7));

  screen.OnOdhlasitUseraClick();
  Ticks(1);
  EXPECT_EQ(Status().state, StationState::Locked);
  EXPECT_EQ(Status().since, At(12, 0, 13));
}

TEST_F(Station, AShareThatCannotBeWrittenCostsTheReportAndNothingElse) {
  files.readOnly.insert(kStatusFile);
  StartPeriod(600);
  Ticks(3);
  EXPECT_EQ(screen.countdown(), 596);
  EXPECT_EQ(files.Record(CodePath("4712")).secondsLeft, 596);
  EXPECT_FALSE(files.files.contains(kStatusFile));
  files.readOnly.clear();
  Ticks(5);  // the next round
  EXPECT_EQ(Status().state, StationState::Guest);
}

TEST_F(Station, LockEndsTheGuestsPeriodAsALogOffAndIsCarriedOutOnce) {
  StartPeriod(600);
  Command(R"({"command": "lock"})");
  Ticks(1);
  ExpectLocked();
  const TCodeRecord stored = files.Record(CodePath("4712"));
  EXPECT_FALSE(stored.loggedIn);
  EXPECT_EQ(stored.secondsLeft, 598);  // the second that ends with the lock is counted first
  EXPECT_FALSE(files.files.contains(kCommandFile));
  const StationStatus s = Status();
  EXPECT_EQ(s.state, StationState::Locked);
  ASSERT_TRUE(s.lastCommand);
  EXPECT_EQ(s.lastCommand->command, "lock");
  EXPECT_EQ(s.lastCommand->result, "ok");
  EXPECT_EQ(s.lastCommand->at, At(12, 0, 2));
  // A lock of a locked station is no error.
  Command(R"({"command": "lock"})");
  Ticks(1);
  EXPECT_EQ(Status().lastCommand->result, "ok");
  ExpectLocked();
}

TEST_F(Station, AddTimeGrowsTheCodeOnlyOnAGuardedStationDuringAGuestsPeriod) {
  StartPeriod(600);
  Command(R"({"command": "addTime", "minutes": 30})");
  Ticks(1);
  EXPECT_EQ(screen.countdown(), 598) << "a guest could write this file: no time from it";
  EXPECT_TRUE(Status().lastCommand->result.starts_with("refused: this station has no guard"));

  station.guarded = true;
  Command(R"({"command": "addTime", "minutes": 30})");
  Ticks(1);
  EXPECT_EQ(screen.countdown(), 597 + 1800);
  EXPECT_EQ(files.Record(CodePath("4712")).secondsLeft, 597 + 1800);
  EXPECT_EQ(screen.view().odpocetLED, "0:39:57");
  EXPECT_EQ(Status().lastCommand->result, "ok");
  EXPECT_EQ(Status().secondsLeft, 597 + 1800);

  screen.OnOdhlasitUseraClick();
  Command(R"({"command": "addTime", "minutes": 30})");
  Ticks(1);
  EXPECT_EQ(Status().lastCommand->result, "refused: no guest period runs");
  EXPECT_EQ(files.Record(CodePath("4712")).secondsLeft, 597 + 1800);
}

TEST_F(Station, AMessageIsANoticeOfThirtySeconds) {
  Command(R"({"command": "message", "text": "Za 10 minut zavíráme."})");
  Ticks(1);
  EXPECT_EQ(Notices(), (std::vector<ui::NoticeRequest>{{"Za 10 minut zavíráme.", 30, false}}));
  StartPeriod(600);
  Command(R"({"command": "message", "text": "Ahoj"})");
  Ticks(1);
  EXPECT_EQ(Notices(), (std::vector<ui::NoticeRequest>{{"Ahoj", 30, true}}));
}

TEST_F(Station, AFileThatIsNoCommandIsDeletedReportedAndNeverCarriedOut) {
  StartPeriod(600);
  station.guarded = true;
  const std::string longName(100, 'x');
  for (const std::string& bad :
       {std::string(R"({"command": "addTime", "minutes": 601})"),
        std::string(R"({"command": "addTime", "minutes": -5})"),
        std::string(R"({"command": "wipe"})"), std::string(R"({"command": ")") + longName + "\"}",
        std::string("{\"command\": \"lock\""), std::string("\xff\xfe"),
        std::string(kMaxStationFileBytes + 1, ' ')}) {
    const std::int32_t before = screen.countdown();
    Command(bad);
    Ticks(1);
    EXPECT_EQ(screen.countdown(), before - 1) << bad.substr(0, 60);
    EXPECT_FALSE(files.files.contains(kCommandFile)) << bad.substr(0, 60);
    const StationStatus s = Status();
    ASSERT_TRUE(s.lastCommand);
    EXPECT_TRUE(s.lastCommand->result.starts_with("refused: ")) << s.lastCommand->result;
    EXPECT_LE(s.lastCommand->command.size(), 32u);
    EXPECT_EQ(s.state, StationState::Guest);
  }
  EXPECT_TRUE(Notices().empty());
}

TEST_F(Station, ACommandThatCannotBeDeletedIsNotCarriedOut) {
  StartPeriod(600);
  files.undeletable.insert(kCommandFile);
  Command(R"({"command": "lock"})");
  Ticks(3);
  EXPECT_EQ(screen.countdown(), 596);
  EXPECT_EQ(Status().state, StationState::Guest);
  EXPECT_EQ(Status().lastCommand->result, "refused: the command file cannot be deleted");
}

TEST_F(Station, ANamelessStationNeitherReportsNorTakesCommands) {
  station.computerName.clear();
  Command(R"({"command": "lock"})");
  StartPeriod(600);
  Ticks(6);
  EXPECT_FALSE(files.files.contains(kStatusFile));
  EXPECT_TRUE(files.files.contains(kCommandFile));
  EXPECT_EQ(screen.countdown(), 593);
}

TEST(WarningSchedule, GivesTheWarningsStillAheadOnceEach) {
  auto given = [](std::int64_t start, int step = 1) {
    WarningSchedule w;
    w.Arm(start);
    std::vector<std::pair<std::int64_t, Warning>> out;
    for (std::int64_t left = start - step; left >= 0; left -= step) {
      if (const auto due = w.Due(left)) out.emplace_back(left, *due);
    }
    return out;
  };
  using P = std::vector<std::pair<std::int64_t, Warning>>;
  EXPECT_EQ(given(600), (P{{300, Warning::FiveMinutes}, {60, Warning::OneMinute}}));
  EXPECT_EQ(given(180), (P{{60, Warning::OneMinute}}));
  EXPECT_EQ(given(300), (P{{60, Warning::OneMinute}}));  // five minutes: that warning is now
  EXPECT_EQ(given(30), P{});
  // Ticks that come late: the 5-minute warning given late, and the 1-minute one when the first
  // was missed altogether.
  EXPECT_EQ(given(603, 7), (P{{295, Warning::FiveMinutes}, {57, Warning::OneMinute}}));
  WarningSchedule w;
  w.Arm(400);
  EXPECT_EQ(w.Due(50), Warning::OneMinute);
  EXPECT_EQ(w.Due(40), std::nullopt);
  EXPECT_EQ(WarningText(Warning::FiveMinutes), "Zbývá 5 minut.");
  EXPECT_EQ(WarningText(Warning::OneMinute), "Zbývá 1 minuta.");
}

TEST_F(Station, TheGuestIsWarnedFiveAndOneMinuteBeforeTheEndAndTheTrayTipShowsTheTime) {
  StartPeriod(600);  // 599 left
  EXPECT_EQ(screen.view().trayHint, "Sentavo – zbývá 0:09:59");
  std::vector<std::pair<int, std::string>> warned;
  for (int i = 0; i < 600 && screen.countdown() > 0; ++i) {
    Ticks(1);
    for (const ui::NoticeRequest& n : Notices()) {
      EXPECT_EQ(n.seconds, 15);
      EXPECT_TRUE(n.countdown);
      warned.emplace_back(screen.countdown(), n.text);
    }
  }
  EXPECT_EQ(warned, (std::vector<std::pair<int, std::string>>{{300, "Zbývá 5 minut."},
                                                              {60, "Zbývá 1 minuta."}}));
  Ticks(1);
  EXPECT_EQ(screen.view().trayHint, "Sentavo");
}

TEST_F(Station, TheValidityWindowsCloseWarnsWhenItComesFirst) {
  clock.Set({2026, 12, 3, 17, 50, 0});  // the code is valid until 18:00:00 today
  StartPeriod(3600);
  std::vector<std::string> warned;
  for (int i = 0; i < 700 && screen.countdown() > 0; ++i) {
    Ticks(1);
    for (const ui::NoticeRequest& n : Notices()) {
      warned.push_back(FormatIso(clock.LocalNow()) + " " + n.text);
    }
  }
  EXPECT_EQ(warned, (std::vector<std::string>{"2026-12-03T17:55:01 Zbývá 5 minut.",
                                              "2026-12-03T17:59:01 Zbývá 1 minuta."}));
}

}  // namespace
}  // namespace sentavo::client::test
