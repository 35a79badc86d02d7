// A code is never stranded: Sentavo.run names the running period's code from its claim to its
// end, a start after a crash hands that code back, and a claim that no live client keeps up goes
// stale.
#include <functional>

#include "client_fakes.h"

namespace sentavo::client::test {
namespace {

constexpr const char* kRunFile = "C:\\Sentavo\\Sentavo.run";

class StrandedCode : public ClientTest {
 protected:
  // The code Sentavo.run names: its first line (the second is the period's start).
  std::string RunFile() const {
    const auto it = files.files.find(kRunFile);
    if (it == files.files.end()) return "(none)";
    const std::string content(it->second.begin(), it->second.end());
    return content.substr(0, content.find('\n'));
  }

  // The same PC started again after its client died: a Sentavo.cfg naming the shared folder.
  std::unique_ptr<LockScreen> Restart() {
    TConfigRecord config;
    config.rights = DefaultIssueRights();
    config.adminPassword = "vamor";
    config.establishment = kEstablishment;
    config.serverPath = kServer;
    const auto bytes = EncodeConfigRecord(config);
    files.files["C:\\Sentavo\\Sentavo.cfg"] = Bytes(bytes.begin(), bytes.end());
    auto next = std::make_unique<LockScreen>(services);
    next->Start();
    return next;
  }
};

TEST_F(StrandedCode, SentavoRunNamesTheCodeFromItsClaimToEveryEndOfThePeriod) {
  const std::pair<const char*, std::function<void()>> ends[] = {
      {"log-off", [this] { screen.OnOdhlasitUseraClick(); }},
      {"hot key", [this] { screen.OnHotKey(); }},
      {"expiry", [this] { Ticks(30); }},
      {"validity end",
       [this] {
         clock.Set({2026, 12, 3, 18, 0, 0});
         Ticks(1);
       }},
  };
  for (const auto& [name, end] : ends) {
    SCOPED_TRACE(name);
    clock.Set(kNoon);
    PutCode("r", IssuedCode(20));
    EXPECT_EQ(RunFile(), "(none)");
    Enter("r");
    ASSERT_EQ(screen.countdown(), 20);
    EXPECT_EQ(RunFile(), CodePath("r"));
    Ticks(2);
    EXPECT_EQ(RunFile(), CodePath("r"));
    end();
    EXPECT_EQ(screen.countdown(), -1);
    EXPECT_EQ(RunFile(), "(none)");
    EXPECT_FALSE(files.Record(CodePath("r")).loggedIn);
    screen.OnHotKey();
  }

  // Neither a refused code nor the administrator's period has a code to hand back.
  TCodeRecord other = IssuedCode();
  other.establishment = "Jinde";
  PutCode("x", other);
  Enter("x");
  Enter("vamor");
  Ticks(2);
  EXPECT_EQ(RunFile(), "(none)");
}

TEST_F(StrandedCode, AStartAfterACrashHandsTheCodeBackWithItsTimeLeft) {
  PutCode("k", IssuedCode(600));
  Enter("k");
  Ticks(7);
  const TCodeRecord lastWritten = files.Record(CodePath("k"));
  ASSERT_TRUE(lastWritten.loggedIn);
  // The client dies here: no end of the period runs.
  files.writes.clear();
  const auto next = Restart();

  TCodeRecord released = lastWritten;
  released.loggedIn = false;
  EXPECT_EQ(files.Record(CodePath("k")), released);
  ASSERT_EQ(files.writes.size(), 1u);
  EXPECT_EQ(files.writes[0].first, CodePath("k"));
  EXPECT_EQ(RunFile(), "(none)");

  // The guest logs in again and has the 593 seconds that were left.
  next->OnKodChanged("k");
  next->OnKodEnter();
  EXPECT_EQ(next->countdown(), 593);
  EXPECT_EQ(next->view().infoLabel.text, texts::kUserLoggedIn);
}

TEST_F(StrandedCode, ASentavoRunThatNamesNoClaimedCodeInTheShareIsOnlyDeleted) {
  // Files a forged Sentavo.run may point at, each of which must stay as it is.
  TCodeRecord claimed = IssuedCode();
  claimed.loggedIn = true;
  const auto whole = EncodeCodeRecord(claimed);
  const Bytes record(whole.begin(), whole.end());
  files.files["C:\\Sentavo\\claimed.dat"] = record;       // beside the program
  files.files["S:\\codes\\\\sub\\claimed.dat"] = record;  // below the share
  files.files["S:\\codes\\claimed.dat"] = record;         // joined otherwise
  files.files["S:\\codes\\\\claimed.txt"] = record;       // not a code file
  files.files["S:\\codes\\\\short.dat"] = Bytes(record.begin(), record.end() - 1);
  Bytes longer = record;
  longer.push_back(0);
  files.files["S:\\codes\\\\long.dat"] = longer;
  TCodeRecord free = IssuedCode();
  PutCode("free", free);
  const auto before = files.files;

  const std::string forged[] = {
      "",
      "garbage\x01\xff",
      "C:\\Sentavo\\claimed.dat",
      "S:\\codes\\\\sub\\claimed.dat",
      "S:\\codes\\\\..\\codes\\\\claimed.dat",
      "S:\\codes\\claimed.dat",
      "S:\\codes\\\\claimed.txt",
      "S:\\codes\\\\short.dat",
      "S:\\codes\\\\long.dat",
      "S:\\codes\\\\free.dat",
      "S:\\codes\\\\gone.dat",
      "S:\\codes\\\\CON.dat",
      CodePath("free") + std::string(kMaxRunFileSize, ' '),
  };
  for (const std::string& content : forged) {
    SCOPED_TRACE(content.substr(0, 40));
    files.files[kRunFile] = Bytes(content.begin(), content.end());
    files.writes.clear();
    Restart();
    EXPECT_TRUE(files.writes.empty());
    EXPECT_EQ(RunFile(), "(none)");
    auto now = files.files;
    now.erase("C:\\Sentavo\\Sentavo.cfg");
    auto expected = before;
    expected.erase("C:\\Sentavo\\Sentavo.cfg");
    EXPECT_EQ(now, expected);
  }
}

// A live client rewrites lastUse every second: a claim more than five minutes old is no one's.
TEST_F(StrandedCode, AClaimNotKeptUpForMoreThanFiveMinutesCountsAsFree) {
  const std::pair<DateTime, bool> lastUses[] = {
      {{2026, 12, 2, 11, 55, 0}, false},  // exactly five minutes: still in use
      {{2026, 12, 2, 11, 54, 59}, true},  // five minutes and a second
      {{2026, 12, 2, 11, 59, 59}, false}, {{2026, 12, 2, 12, 0, 0}, false},
      {{2026, 12, 2, 12, 30, 0}, false},  // ahead of this PC's clock: another PC's, set later
      {{2026, 11, 30, 9, 0, 0}, true},
  };
  for (const auto& [lastUse, free] : lastUses) {
    SCOPED_TRACE(FormatIso(lastUse));
    screen.OnHotKey();
    TCodeRecord record = IssuedCode();
    record.loggedIn = true;
    record.lastUse = ToOleDate(lastUse);
    PutCode("s", record);
    Enter("s");
    if (free) {
      EXPECT_EQ(screen.view().infoLabel.text, texts::kUserLoggedIn);
      EXPECT_EQ(screen.countdown(), 3600);
      EXPECT_EQ(files.Record(CodePath("s")).lastUse, ToOleDate(kNoon));  // claimed anew
    } else {
      EXPECT_EQ(screen.view().infoLabel.text, texts::kAlreadyLoggedIn);
      EXPECT_EQ(screen.countdown(), -1);
      EXPECT_EQ(files.Record(CodePath("s")), record);
    }
  }
}

}  // namespace
}  // namespace sentavo::client::test
