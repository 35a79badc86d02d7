// Every guest's period leaves one line in the station's usage log, whichever way it ends, and a
// shared folder that cannot take it loses none.
#include "client_fakes.h"
#include "formats/usage_log.h"

namespace sentavo::client::test {
namespace {

constexpr const char* kLog = "S:\\codes\\log\\PC-07-2026-12.csv";
constexpr const char* kQueue = "C:\\Sentavo\\Sentavo.logq";

class PeriodLog : public ClientTest {
 protected:
  void SetUp() override {
    station.computerName = "PC-07";
    ClientTest::SetUp();
  }
  std::string LogText() const {
    const auto it = files.files.find(kLog);
    return it == files.files.end() ? "" : std::string(it->second.begin(), it->second.end());
  }
  std::vector<UsageLine> Lines() const { return DecodeUsageLines(LogText()); }
  void Period(const std::string& code, int seconds = 600) {
    PutCode(code, IssuedCode(seconds));
    Enter(code);
    ASSERT_EQ(screen.countdown(), seconds) << code;
  }
};

TEST_F(PeriodLog, EachWayAPeriodEndsIsOneLine) {
  Period("odhlasit");
  Ticks(7);
  screen.OnOdhlasitUseraClick();
  Period("vyprsi", 5);
  Ticks(6);
  Period("spravce");
  Ticks(2);
  files.files["S:\\codes\\prikazy\\PC-07.json"] = Bytes{
      '{', '"', 'c', 'o', 'm', 'm', 'a', 'n', 'd', '"', ':', '"', 'l', 'o', 'c', 'k', '"', '}'};
  Ticks(1);
  clock.Set({2026, 12, 3, 17, 59, 50});  // the codes are valid until 18:00:00
  Period("platnost");
  Ticks(12);
  // An administrator's period is no guest's: no line.
  Enter("vamor");
  Ticks(3);
  screen.OnOdhlasitAdmina();

  const std::string text = LogText();
  ASSERT_TRUE(text.starts_with(UsageLogHeader()));
  EXPECT_EQ(text.find(UsageLogHeader(), 1), std::string::npos) << "one header";
  const std::vector<UsageLine> lines = Lines();
  ASSERT_EQ(lines.size(), 4u) << text;
  EXPECT_EQ(lines[0], (UsageLine{"PC-07",
                                 "odhlasit",
                                 {2026, 12, 2, 12, 0, 0},
                                 {2026, 12, 2, 12, 0, 7},
                                 7,
                                 PeriodEnding::LogOff}));
  EXPECT_EQ(lines[1], (UsageLine{"PC-07",
                                 "vyprsi",
                                 {2026, 12, 2, 12, 0, 7},
                                 {2026, 12, 2, 12, 0, 12},
                                 5,
                                 PeriodEnding::Expiry}));
  EXPECT_EQ(lines[2].code, "spravce");
  EXPECT_EQ(lines[2].ending, PeriodEnding::Operator);
  EXPECT_EQ(lines[2].seconds, 3);  // the second that ends with the lock counts
  EXPECT_EQ(lines[3].code, "platnost");
  EXPECT_EQ(lines[3].ending, PeriodEnding::Validity);
  EXPECT_EQ(lines[3].end, (DateTime{2026, 12, 3, 18, 0, 1}));
  EXPECT_EQ(lines[3].seconds, 11);
}

TEST_F(PeriodLog, AShareThatCannotTakeTheLineKeepsItBesideTheProgramUntilItCan) {
  files.readOnly.insert(kLog);
  Period("a");
  Ticks(3);
  screen.OnOdhlasitUseraClick();
  Period("b");
  Ticks(4);
  screen.OnOdhlasitUseraClick();
  EXPECT_FALSE(files.files.contains(kLog));
  ASSERT_TRUE(files.files.contains(kQueue));
  EXPECT_EQ(
      DecodeUsageLines(std::string(files.files[kQueue].begin(), files.files[kQueue].end())).size(),
      2u);
  files.readOnly.clear();
  Period("c");
  Ticks(1);
  screen.OnOdhlasitUseraClick();
  const std::vector<UsageLine> lines = Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].code, "a");
  EXPECT_EQ(lines[0].seconds, 3);
  EXPECT_EQ(lines[1].code, "b");
  EXPECT_EQ(lines[2].code, "c");
  EXPECT_FALSE(files.files.contains(kQueue));
  // A queue someone damaged gives back the lines that are whole and nothing else.
  const std::string damaged = EncodeUsageLine(lines[0]) + "PC-07;x;garbage\r\n";
  files.files[kQueue] = Bytes(damaged.begin(), damaged.end());
  Period("d");
  screen.OnOdhlasitUseraClick();
  ASSERT_EQ(Lines().size(), 5u);
  EXPECT_EQ(Lines()[3], lines[0]);
  EXPECT_EQ(Lines()[4].code, "d");
}

// The PC went down during a period: its next start hands the code back and logs the period as
// far as the code file knows it, from the start Sentavo.run kept.
TEST_F(PeriodLog, APeriodACrashEndedIsLoggedAtTheNextStart) {
  Period("pad");
  Ticks(9);
  const Bytes run = files.files.at("C:\\Sentavo\\Sentavo.run");
  const std::string content(run.begin(), run.end());
  EXPECT_EQ(content.substr(content.find('\n') + 1), "2026-12-02T12:00:00 600");
  // No end of the period: the program is gone. The same PC starts again.
  TConfigRecord config;
  config.rights = DefaultIssueRights();
  config.adminPassword = "vamor";
  config.establishment = kEstablishment;
  config.serverPath = kServer;
  const auto cfg = EncodeConfigRecord(config);
  files.files["C:\\Sentavo\\Sentavo.cfg"] = Bytes(cfg.begin(), cfg.end());
  clock.Advance(120);
  LockScreen next(services);
  next.Start();
  const std::vector<UsageLine> lines = Lines();
  ASSERT_EQ(lines.size(), 1u) << LogText();
  EXPECT_EQ(lines[0], (UsageLine{"PC-07",
                                 "pad",
                                 {2026, 12, 2, 12, 0, 0},
                                 {2026, 12, 2, 12, 0, 9},
                                 9,
                                 PeriodEnding::Recovery}));
  EXPECT_FALSE(files.Record(CodePath("pad")).loggedIn);
}

}  // namespace
}  // namespace sentavo::client::test
