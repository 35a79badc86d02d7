#include "formats/station.h"

#include <gtest/gtest.h>

#include <string>

namespace sentavo {
namespace {

LocalTime At(int h, int m, int s, int offset = 60) {
  return LocalTime{DateTime{2026, 12, 10, h, m, s, 0}, offset};
}

StationStatus Guest() {
  StationStatus s;
  s.pc = "PC-07";
  s.uid = "1179722422";
  s.state = StationState::Guest;
  s.code = "4712";
  s.secondsLeft = 2530;
  s.since = At(14, 0, 0);
  s.updated = At(14, 3, 22);
  s.guarded = true;
  s.version = "1.2";
  s.lastCommand = CommandOutcome{"addTime", At(14, 2, 0), "ok"};
  return s;
}

TEST(LocalTimes, AreWrittenToTheSecondWithTheirOffsetAndReadBack) {
  EXPECT_EQ(FormatLocalTime(At(14, 3, 22)), "2026-12-10T14:03:22+01:00");
  EXPECT_EQ(FormatLocalTime(At(9, 0, 0, -330)), "2026-12-10T09:00:00-05:30");
  LocalTime withMs = At(1, 2, 3);
  withMs.local.millisecond = 999;
  EXPECT_EQ(FormatLocalTime(withMs), "2026-12-10T01:02:03+01:00");
  EXPECT_EQ(ParseLocalTime("2026-12-10T09:00:00-05:30"), At(9, 0, 0, -330));
  EXPECT_EQ(ParseLocalTime("2026-12-10T13:03:22Z"), At(13, 3, 22, 0));
  for (const char* bad :
       {"", "2026-12-10T14:03:22", "2026-12-10 14:03:22+01:00", "2026-13-10T14:03:22+01:00",
        "2026-12-10T24:00:00+01:00", "2026-12-10T14:03:22+1:00", "2026-12-10T14:03:22+01:00x",
        "2026-12-10T14:03:2a+01:00", "2026-12-10T14:03:22+15:00"}) {
    EXPECT_FALSE(ParseLocalTime(bad)) << bad;
  }
}

TEST(LocalTimes, CompareAcrossOffsets) {
  EXPECT_DOUBLE_EQ(SecondsBetween(At(14, 0, 0, 60), At(13, 0, 30, 0)), 30.0);
  EXPECT_DOUBLE_EQ(SecondsBetween(At(14, 0, 0), At(13, 59, 0)), -60.0);
}

TEST(StationStatusCodec, RoundTripsEveryField) {
  const StationStatus s = Guest();
  EXPECT_EQ(DecodeStatus(EncodeStatus(s)), s);
  StationStatus locked;
  locked.pc = "PC-01";
  locked.since = locked.updated = At(8, 0, 0);
  const std::string json = EncodeStatus(locked);
  EXPECT_NE(json.find("\"secondsLeft\": null"), std::string::npos) << json;
  EXPECT_NE(json.find("\"state\": \"locked\""), std::string::npos) << json;
  EXPECT_EQ(json.find("lastCommand"), std::string::npos) << json;
  EXPECT_EQ(DecodeStatus(json), locked);
}

TEST(StationStatusCodec, RefusesWhatIsNotAWholeWellTypedStatus) {
  const std::string good = EncodeStatus(Guest());
  EXPECT_TRUE(DecodeStatus(good));
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, good.size() / 2, good.size() - 3}) {
    EXPECT_FALSE(DecodeStatus(good.substr(0, cut))) << cut;
  }
  auto with = [&](const std::string& from, const std::string& to) {
    std::string s = good;
    const std::size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return s.replace(at, from.size(), to);
  };
  EXPECT_FALSE(DecodeStatus(with("\"guest\"", "\"open\"")));
  EXPECT_FALSE(DecodeStatus(with("2530", "-1")));
  EXPECT_FALSE(DecodeStatus(with("2530", "\"2530\"")));
  EXPECT_FALSE(DecodeStatus(with("2530", "99999999999")));
  EXPECT_FALSE(DecodeStatus(with("true", "1")));
  EXPECT_FALSE(DecodeStatus(with("\"PC-07\"", "7")));
  EXPECT_FALSE(DecodeStatus(with("14:03:22+01:00", "14:03:22")));
  EXPECT_FALSE(DecodeStatus(with("\"result\": \"ok\"", "\"result\": 0")));
  EXPECT_FALSE(DecodeStatus("[]"));
  EXPECT_FALSE(DecodeStatus("\xff\xfe{}"));
  EXPECT_FALSE(DecodeStatus(std::string("{\"pc\": \"\xc3\x28\"}")));  // not UTF-8
  // Nothing larger than a status can be is read at all, however well formed.
  std::string padded = good;
  padded.insert(padded.size() - 2, std::string(kMaxStationFileBytes, ' '));
  EXPECT_FALSE(DecodeStatus(padded));
  EXPECT_FALSE(DecodeStatus(std::string(100000, '[')));
}

TEST(Staleness, AStationSilentForMoreThanThirtySecondsIsUnavailable) {
  const StationStatus s = Guest();  // updated 14:03:22 +01:00
  EXPECT_FALSE(IsStale(s, At(14, 3, 52)));
  EXPECT_TRUE(IsStale(s, At(14, 3, 53)));
  EXPECT_FALSE(IsStale(s, At(13, 3, 40, 0)));  // the operator's PC in another offset
  EXPECT_FALSE(IsStale(s, At(15, 3, 40, 120)));
  EXPECT_TRUE(IsStale(s, At(14, 5, 0)));
}

TEST(StationCommands, RoundTripAndAreCheckedBeforeAnythingIsDone) {
  for (const StationCommand& c :
       {StationCommand{LockCommand{}}, StationCommand{AddTimeCommand{30}},
        StationCommand{MessageCommand{"Za 5 minut zavíráme. \"Díky\""}}}) {
    const DecodedCommand d = DecodeCommand(EncodeCommand(c));
    ASSERT_TRUE(d.command) << d.error;
    EXPECT_EQ(*d.command, c);
    EXPECT_EQ(d.name, CommandName(c));
  }
  EXPECT_EQ(EncodeCommand(LockCommand{}), "{\n  \"command\": \"lock\"\n}\n");
  EXPECT_TRUE(DecodeCommand(R"({"command": "addTime", "minutes": 600})").command);
  EXPECT_TRUE(DecodeCommand(R"({"command": "addTime", "minutes": 1})").command);
  EXPECT_TRUE(
      DecodeCommand(R"({"command": "message", "text": ")" + std::string(200, 'x') + "\"}").command);
  // 200 characters of two bytes each are still 200 characters.
  std::string czech;
  for (int i = 0; i < 200; ++i) czech += "ž";
  EXPECT_TRUE(DecodeCommand(R"({"command": "message", "text": ")" + czech + "\"}").command);

  struct Bad {
    std::string json, name, error;
  };
  for (const Bad& b : std::initializer_list<Bad>{
           {R"({"command": "addTime", "minutes": 0})", "addTime", "minutes out of range 1-600"},
           {R"({"command": "addTime", "minutes": 601})", "addTime", "minutes out of range 1-600"},
           {R"({"command": "addTime", "minutes": 30.5})", "addTime", "minutes missing"},
           {R"({"command": "addTime", "minutes": "30"})", "addTime", "minutes missing"},
           {R"({"command": "addTime"})", "addTime", "minutes missing"},
           {R"({"command": "message"})", "message", "text missing"},
           {R"({"command": "message", "text": ")" + czech + "ž\"}", "message",
            "text longer than 200 characters"},
           {R"({"command": "format C:"})", "format C:", "unknown command"},
           {R"({"command": 1})", "", "no command"},
           {R"({"command": "lock")", "", "not a JSON object"},
           {"", "", "not a JSON object"},
           {std::string(kMaxStationFileBytes + 1, ' '), "", "file too large"},
       }) {
    const DecodedCommand d = DecodeCommand(b.json);
    EXPECT_FALSE(d.command) << b.json;
    EXPECT_EQ(d.name, b.name) << b.json;
    EXPECT_EQ(d.error, b.error) << b.json;
  }
}

TEST(StationFiles, StayInTheirFolder) {
  EXPECT_EQ(StationFile("\\\\server\\kody\\", kStatusFolder, "PC-07"),
            "\\\\server\\kody\\stav\\PC-07.json");
  EXPECT_EQ(StationFile("C:\\s\\", kCommandFolder, "..\\x/y:z"), "C:\\s\\prikazy\\___x_y_z.json");
  EXPECT_EQ(StationFile("C:\\s\\", kCommandFolder, ""), "C:\\s\\prikazy\\_.json");
}

}  // namespace
}  // namespace sentavo
