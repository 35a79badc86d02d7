#include "administration/overview.h"

#include <gtest/gtest.h>

#include "admin_fixture.h"

namespace sentavo::admin::test {
namespace {

using Msgs = std::vector<Message>;
using Names = std::vector<std::string>;

const std::string kStav = kShare + "stav\\";
const std::string kPrikazy = kShare + "prikazy\\";

// Seconds before (negative: after) the fixture clock's now, in the station's own offset.
LocalTime Ago(const DateTime& now, double seconds, int offset = 60) {
  DateTime t = *FromOleDate(ToOleDate(now) - seconds / 86400.0 + (offset - 60) / 1440.0);
  t.millisecond = 0;
  return {t, offset};
}

class Overview : public AdminTest {
 protected:
  void SetUp() override {
    // The operator's PC runs at +01:00: UTC is an hour behind the local clock.
    clock.utcMs = static_cast<std::uint32_t>(
        ((clock.now.hour - 1) * 3600 + clock.now.minute * 60 + clock.now.second) * 1000 +
        clock.now.millisecond);
    files.AddFolder(kShare + "stav");
  }

  StationStatus Station(const std::string& pc, StationState state, double reportedAgo) {
    StationStatus s;
    s.pc = pc;
    s.uid = "1179722422";
    s.state = state;
    s.since = Ago(clock.now, 600);
    s.updated = Ago(clock.now, reportedAgo);
    s.guarded = true;
    s.version = "1.0";
    return s;
  }
  void Put(const StationStatus& s, const std::string& fileName = {}) {
    files.Put(kStav + (fileName.empty() ? s.pc + ".json" : fileName), EncodeStatus(s));
  }

  const OverviewTab& overview() { return codes().view().overview; }
  Names Stations() {
    Names out;
    for (const OverviewRow& r : overview().rows) out.push_back(r.pocitac);
    return out;
  }
  const OverviewRow& Row(const std::string& pc) {
    for (const OverviewRow& r : overview().rows) {
      if (r.pocitac == pc) return r;
    }
    ADD_FAILURE() << "no row " << pc;
    static const OverviewRow none;
    return none;
  }
  void Select(const std::string& pc) {
    for (std::size_t i = 0; i < overview().rows.size(); ++i) {
      if (overview().rows[i].station == pc) return codes().OnPrehledSelected(i);
    }
    ADD_FAILURE() << "no row " << pc;
  }
};

TEST_F(Overview, RowsShowEachStatusFileAndMarkStaleAndDamagedOnesUnavailable) {
  StationStatus guest = Station("pc-b", StationState::Guest, 2);
  guest.code = "4711";
  guest.secondsLeft = 3909;
  Put(guest);
  StationStatus locked = Station("PC-A", StationState::Locked, 5);
  locked.guarded = false;
  Put(locked);
  Put(Station("Pc-C", StationState::Admin, 29));  // under 30 s: still reporting
  StationStatus stale = Station("pc-d", StationState::Guest, 31);
  stale.code = "88";
  stale.secondsLeft = 100;
  Put(stale);
  files.Put(kStav + "broken.json", std::string("{\"pc\": \"broken\", "));
  std::string big = EncodeStatus(Station("big", StationState::Locked, 1));
  big.insert(big.size() - 2, kMaxStationFileBytes, ' ');  // valid JSON, only too large
  files.Put(kStav + "big.json", big);
  std::string typed = EncodeStatus(Station("typed", StationState::Guest, 1));
  typed.replace(typed.find("\"secondsLeft\": null"), 19, "\"secondsLeft\": \"600\"");
  files.Put(kStav + "typed.json", typed);
  Put(Station("PC-A", StationState::Admin, 1), "liar.json");  // another PC's name
  Put(Station("unread", StationState::Locked, 1));
  files.FailRead(kStav + "unread.json", io::kAccessDenied);
  files.Put(kStav + "notes.txt", std::string("x"));
  files.Put(kStav + "pc-e.json.~1a2b.tmp", EncodeStatus(Station("pc-e", StationState::Locked, 1)));
  StartLoggedIn();

  EXPECT_EQ(Stations(),
            (Names{"big", "broken", "liar", "PC-A", "pc-b", "Pc-C", "pc-d", "typed", "unread"}));
  EXPECT_EQ(Row("pc-b"), (OverviewRow{"pc-b", "pc-b", "Host", "4711", "1:05:09", "9:16:53",
                                      "9:26:51", "ano", ""}));
  EXPECT_EQ(Row("PC-A"),
            (OverviewRow{"PC-A", "PC-A", "Zamčeno", "", "", "9:16:53", "9:26:48", "ne", ""}));
  EXPECT_EQ(Row("Pc-C").stav, "Správce");
  // Silent for longer than 30 s: its time left is no longer known, the last report still is.
  EXPECT_EQ(Row("pc-d"),
            (OverviewRow{"pc-d", "pc-d", "Nedostupný", "88", "", "9:16:53", "9:26:22", "ano", ""}));
  for (const char* damaged : {"big", "broken", "liar", "typed", "unread"}) {
    EXPECT_EQ(Row(damaged), (OverviewRow{damaged, damaged, "Nedostupný", "", "", "", "", "", ""}))
        << damaged;
  }
}

TEST_F(Overview, NothingIsReadBeforeTheLoginAndAMissingFolderGivesNoRows) {
  Put(Station("PC1", StationState::Locked, 1));
  TConfigRecord config;
  config.adminPassword = "tajne";
  config.serverPath = kShare;
  PutConfig(config);
  ASSERT_EQ(Messages(Start()), Msgs{});
  codes().OnPrehledRefresh();
  EXPECT_TRUE(overview().rows.empty());

  // The login reads the folder at once, before the first tick of the window's timer.
  ASSERT_EQ(Messages(LogIn("tajne")), Msgs{});
  EXPECT_EQ(Stations(), Names{"PC1"});
  EXPECT_EQ(overview().watchFolder, kShare + "stav\\");

  // A path being typed is not read; the saved one is.
  codes().OnServercestaChanged("\\\\server\\jinde");  // no final backslash, no such folder
  codes().OnPrehledRefresh();
  EXPECT_EQ(Stations(), Names{"PC1"});
  EXPECT_EQ(Messages(codes().OnUlozitNastaveni()), Msgs{Info(text::kSettingsSaved)});
  codes().OnPrehledRefresh();
  EXPECT_TRUE(overview().rows.empty());
  EXPECT_EQ(overview().watchFolder, "\\\\server\\jinde\\stav\\");
}

TEST_F(Overview, TimesShowInTheOperatorsZoneWithTheDateWhenNotToday) {
  const LocalTime now = LocalNowWithOffset(clock);
  EXPECT_EQ(now.offsetMinutes, 60);
  EXPECT_EQ(now.local, clock.now);
  CzechFormats cz;
  EXPECT_EQ(FormatMoment(Ago(clock.now, 3), now, cz), "9:26:50");
  // Reported at +00:00: an hour earlier on that PC's clock, the same moment on ours.
  const LocalTime utc = Ago(clock.now, 3, 0);
  EXPECT_EQ(utc.local.hour, 8);
  EXPECT_EQ(FormatMoment(utc, now, cz), "9:26:50");
  // Half past midnight of the 15th at +02:00 is half past eleven of today at +01:00.
  EXPECT_EQ(FormatMoment(LocalTime{{2026, 3, 15, 0, 30, 0}, 120}, now, cz), "23:30:00");
  EXPECT_EQ(FormatMoment(Ago(clock.now, 86400), now, cz), "13.3.2026 9:26:53");
  EXPECT_EQ(FormatMoment(Ago(clock.now, 10 * 3600), now, cz), "13.3.2026 23:26:53");

  EXPECT_EQ(FormatRemaining(0), "0:00:00");
  EXPECT_EQ(FormatRemaining(59), "0:00:59");
  EXPECT_EQ(FormatRemaining(3909), "1:05:09");
  EXPECT_EQ(FormatRemaining(360000), "100:00:00");
}

TEST_F(Overview, TheOffsetComesFromTheClockAcrossMidnightToo) {
  const auto offset = [&](DateTime local, int utcH, int utcM, int utcS) {
    clock.now = local;
    clock.utcMs = static_cast<std::uint32_t>((utcH * 3600 + utcM * 60 + utcS) * 1000 + 3);
    return LocalNowWithOffset(clock).offsetMinutes;
  };
  EXPECT_EQ(offset({2026, 7, 1, 14, 0, 0}, 12, 0, 0), 120);
  EXPECT_EQ(offset({2026, 7, 1, 20, 0, 0}, 1, 0, 0), -300);  // UTC is already the next day
  EXPECT_EQ(offset({2026, 7, 1, 0, 30, 0}, 19, 0, 0), 330);  // UTC is still the day before
  EXPECT_EQ(offset({2026, 7, 1, 10, 0, 0}, 10, 0, 1), 0);
  EXPECT_EQ(offset({2026, 7, 1, 3, 0, 0}, 13, 0, 0), -600);
}

TEST_F(Overview, TheSelectionFollowsThePcAcrossRefreshes) {
  Put(Station("PC-A", StationState::Locked, 1));
  Put(Station("PC-B", StationState::Locked, 1));
  StartLoggedIn();
  EXPECT_FALSE(overview().selected);
  EXPECT_FALSE(overview().actionsEnabled);

  Select("PC-B");
  EXPECT_EQ(overview().selected, 1u);
  EXPECT_TRUE(overview().actionsEnabled);
  Put(Station("aaa", StationState::Locked, 1));  // sorts before both, ignoring case
  codes().OnPrehledRefresh();
  EXPECT_EQ(Stations(), (Names{"aaa", "PC-A", "PC-B"}));
  EXPECT_EQ(overview().selected, 2u);
  EXPECT_EQ(overview().selectedStation, "PC-B");

  files.Remove(kStav + "PC-B.json");
  codes().OnPrehledRefresh();
  EXPECT_FALSE(overview().selected);
  EXPECT_FALSE(overview().actionsEnabled);
  // Not chosen again when it comes back: the operator has moved on.
  Put(Station("PC-B", StationState::Locked, 1));
  codes().OnPrehledRefresh();
  EXPECT_FALSE(overview().selected);

  codes().OnPrehledSelected(7);
  EXPECT_FALSE(overview().selected);
  EXPECT_FALSE(overview().actionsEnabled);
}

class OverviewCommands : public Overview {
 protected:
  void SetUp() override {
    Overview::SetUp();
    Put(Station("PC-A", StationState::Guest, 1));
    Put(Station("PC-B", StationState::Locked, 1));
    StartLoggedIn();
    Select("PC-A");
  }
  std::string Command(const std::string& pc) { return files.Text(kPrikazy + pc + ".json"); }
};

TEST_F(OverviewCommands, EachActionWritesTheSelectedPcsCommandFileWhole) {
  EXPECT_FALSE(files.IsFolder(kShare + "prikazy"));
  EXPECT_EQ(Messages(codes().OnZamknout()), Msgs{});
  EXPECT_TRUE(files.IsFolder(kShare + "prikazy"));
  EXPECT_EQ(Command("PC-A"), EncodeCommand(LockCommand{}));
  EXPECT_EQ(Command("PC-A"), "{\n  \"command\": \"lock\"\n}\n");
  EXPECT_FALSE(files.IsFile(kPrikazy + "PC-B.json"));

  EXPECT_EQ(Messages(codes().OnPridatCas(" 30 ")), Msgs{});
  EXPECT_EQ(Command("PC-A"), EncodeCommand(AddTimeCommand{30}));
  Select("PC-B");
  EXPECT_EQ(Messages(codes().OnZprava("Za 5 minut zavíráme.")), Msgs{});
  EXPECT_EQ(Command("PC-B"), EncodeCommand(MessageCommand{"Za 5 minut zavíráme."}));
  EXPECT_EQ(Command("PC-A"), EncodeCommand(AddTimeCommand{30}));
}

TEST_F(OverviewCommands, MinutesOutsideOneToSixHundredAreRefusedAndNothingIsWritten) {
  for (const char* bad : {"", " ", "0", "601", "1000", "-5", "+5", "1.5", "30 min", "abc", "١٢"}) {
    EXPECT_EQ(Messages(codes().OnPridatCas(bad)), Msgs{Error(text::kBadMinutes)}) << bad;
  }
  EXPECT_FALSE(files.IsFile(kPrikazy + "PC-A.json"));
  EXPECT_EQ(Messages(codes().OnPridatCas("600")), Msgs{});
  EXPECT_EQ(Command("PC-A"), EncodeCommand(AddTimeCommand{600}));
  EXPECT_EQ(Messages(codes().OnPridatCas("1")), Msgs{});
  EXPECT_EQ(Command("PC-A"), EncodeCommand(AddTimeCommand{1}));
  EXPECT_EQ(ParseMinutes("007"), 7);
}

TEST_F(OverviewCommands, AMessageIsUpToTwoHundredCharactersNotBytes) {
  EXPECT_EQ(Messages(codes().OnZprava("")), Msgs{Error(text::kEmptyMessage)});
  EXPECT_EQ(Messages(codes().OnZprava(" \t\r\n")), Msgs{Error(text::kEmptyMessage)});
  std::string longest;
  for (int i = 0; i < 200; ++i) longest += "ř";  // 400 bytes
  std::string tooLong = longest + "x";
  EXPECT_EQ(Messages(codes().OnZprava(tooLong)), Msgs{Error(text::kLongMessage)});
  EXPECT_FALSE(files.IsFile(kPrikazy + "PC-A.json"));
  EXPECT_EQ(Messages(codes().OnZprava(longest)), Msgs{});
  EXPECT_EQ(Command("PC-A"), EncodeCommand(MessageCommand{longest}));
  EXPECT_EQ(DecodeCommand(Command("PC-A")).command, StationCommand(MessageCommand{longest}));
}

TEST_F(OverviewCommands, AFailedWriteIsReportedInCzech) {
  files.FailCreateFolder(kShare + "prikazy", io::kAccessDenied);
  EXPECT_EQ(Messages(codes().OnZamknout()),
            Msgs{Error("Příkaz pro PC-A nelze zapsat: přístup byl odepřen")});
  files.FailCreateFolder(kShare + "prikazy", io::kOk);
  files.FailReplace(kPrikazy + "PC-A.json", io::kDiskFull);
  EXPECT_EQ(Messages(codes().OnPridatCas("5")),
            Msgs{Error("Příkaz pro PC-A nelze zapsat: disk je plný")});
  files.RemoveFolder(kShare);
  files.RemoveFolder(kShare + "prikazy");
  files.FailReplace(kPrikazy + "PC-A.json", io::kOk);
  EXPECT_EQ(Messages(codes().OnZamknout()),
            Msgs{Error("Příkaz pro PC-A nelze zapsat: sdílená složka nebyla nalezena")});
  EXPECT_EQ(overview().prikazInfo, text::kLastCommandNone);

  codes().OnPrehledSelected(std::nullopt);
  EXPECT_EQ(Messages(codes().OnZamknout()), Msgs{Error(text::kNoSelection)});
}

TEST_F(OverviewCommands, TheLabelSaysWhatWasSentAndWhatThePcAnswered) {
  EXPECT_EQ(overview().prikazInfo, "Poslední příkaz: žádný");
  codes().OnZamknout();
  EXPECT_EQ(overview().prikazInfo,
            "Odesláno: Zamknout (9:26:53), čeká na vyzvednutí.\nPoslední příkaz: žádný");
  // The PC deletes its command file when it takes it, and reports the outcome.
  files.Remove(kPrikazy + "PC-A.json");
  StationStatus a = Station("PC-A", StationState::Guest, 1);
  a.lastCommand = CommandOutcome{"addTime", Ago(clock.now, 3), "not guarded"};
  Put(a);
  codes().OnPrehledRefresh();
  EXPECT_EQ(overview().prikazInfo,
            "Odesláno: Zamknout (9:26:53), počítač si jej vyzvedl.\n"
            "Poslední příkaz: Přidat čas (9:26:50) – odmítnuto: not guarded");
  Select("PC-B");
  EXPECT_EQ(overview().prikazInfo, "Poslední příkaz: žádný");
  StationStatus b = Station("PC-B", StationState::Locked, 1);
  b.lastCommand = CommandOutcome{"lock", Ago(clock.now, 2), "ok"};
  Put(b);
  codes().OnPrehledRefresh();
  EXPECT_EQ(overview().prikazInfo, "Poslední příkaz: Zamknout (9:26:51) – provedeno");
}

TEST_F(Overview, HostileTextsAreShownTamedAndCut) {
  StationStatus s = Station("PC1", StationState::Guest, 1);
  s.code = std::string("a\r\nb\x07") + std::string(100, 'x');
  s.lastCommand = CommandOutcome{"reboot\n", Ago(clock.now, 1), std::string(300, 'r')};
  Put(s);
  StartLoggedIn();
  Select("PC1");
  const std::string code = Row("PC1").kod;
  EXPECT_EQ(code, "a??b?" + std::string(59, 'x') + "…");
  EXPECT_EQ(overview().prikazInfo,
            "Poslední příkaz: reboot? (9:26:52) – odmítnuto: " + std::string(64, 'r') + "…");
}

}  // namespace
}  // namespace sentavo::admin::test
