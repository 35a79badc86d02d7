#include <gtest/gtest.h>

#include <sstream>

#include "formats/code_record.h"
#include "formats/codes_list.h"
#include "formats/config_record.h"
#include "formats/issuing.h"
#include "test_support.h"
#include "tool.h"

namespace sentavo {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

#ifdef _WIN32
constexpr char kSep = '\\';
#else
constexpr char kSep = '/';
#endif

class SentavoCodes : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    ToolEnv env{out_, err_, files_, clock_, formats_, kSep};
    return RunSentavoCodes(args, env);
  }
  std::string out() const { return out_.str(); }
  std::string err() const { return err_.str(); }
  std::optional<TCodeRecord> Code(const std::string& name) const {
    return DecodeCodeRecord(ReadBytes(dir_.File(name + ".dat")));
  }
  std::vector<std::string> List() const {
    const auto bytes = ReadBytes(dir_.File("codes.dat"));
    return ParseCodesList(std::string(bytes.begin(), bytes.end()));
  }

  TempDir dir_;
  LocalFiles files_;
  test::FixedClock clock_{{2026, 12, 9, 14, 30, 0}, 12345};
  CzechFormats formats_;
  std::ostringstream out_, err_;
};

TEST_F(SentavoCodes, IssueWritesTheRecordTheAdministrationProgramWould) {
  ASSERT_EQ(
      Run({"issue", "--share", dir_.path(), "--name", "Novák 1", "--seconds", "3600", "--type",
           "daily", "--reusable", "--establishment", "Kavárna", "--rights", "alttab,nowinkeys"}),
      0)
      << err();
  EXPECT_EQ(out(), "created " + dir_.File("Novák 1.dat") + "\n");
  EXPECT_EQ(ReadBytes(dir_.File("Novák 1.dat")).size(), 5728u);

  IssueRequest q;
  q.rights[RightIndex(Right::alttab)] = q.rights[RightIndex(Right::nowinkeys)] = true;
  q.reusable = true;
  q.seconds = 3600;
  q.establishment = "Kavárna";
  q.validFrom = {2026, 12, 9, 14, 30, 0};
  q.validTo = {2026, 12, 10, 14, 30, 0};
  q.codeType = kCodeTypeDaily;
  EXPECT_EQ(Code("Novák 1"), BuildIssuedRecord(q, clock_.LocalNow(), formats_));
}

TEST_F(SentavoCodes, DefaultsAreTheAdministrationProgramsStartState) {
  ASSERT_EQ(
      Run({"issue", "--share", dir_.path(), "--name", "x", "--seconds", "60", "--type", "once"}), 0)
      << err();
  const auto r = Code("x");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->rights, DefaultIssueRights());
  EXPECT_FALSE(r->reusable);
  EXPECT_EQ(r->codeType, kCodeTypeOnce);
  EXPECT_EQ(r->establishment, "");
  EXPECT_EQ(r->validFromDateText + " " + r->validFromTimeText, "9.12.2026 14:30:00");
  EXPECT_EQ(r->validToDateText + " " + r->validToTimeText, "10.12.2026 14:30:00");
}

TEST_F(SentavoCodes, ExplicitWindowAndDateOnlyBounds) {
  ASSERT_EQ(Run({"issue", "--share", dir_.path(), "--name", "w", "--seconds", "32767", "--type",
                 "once", "--from", "2027-01-02", "--to", "2027-01-05"}),
            0)
      << err();
  const auto r = Code("w");
  EXPECT_EQ(r->secondsLeft, 32767);
  EXPECT_EQ(r->validFromDateText + " " + r->validFromTimeText, "2.1.2027 0:00:00");
  EXPECT_EQ(r->validToDateText + " " + r->validToTimeText, "5.1.2027 23:59:59");
}

TEST_F(SentavoCodes, ShowGivesEveryFieldBack) {
  ASSERT_EQ(Run({"issue", "--share", dir_.path(), "--name", "s", "--seconds", "120", "--type",
                 "daily", "--establishment", "Škola \"U lípy\"", "--rights", ""}),
            0);
  ASSERT_EQ(Run({"show", dir_.File("s.dat")}), 0) << err();
  const std::string json = out();
  for (const char* expected :
       {"\"kind\": \"code\"", "\"ctrlaltdel\": false", "\"nowinkeys\": false",
        "\"reusable\": false", "\"active\": true", "\"secondsLeft\": 120",
        "\"establishment\": \"Škola \\\"U lípy\\\"\"", "\"validFromDate\": {",
        "\"local\": \"2026-12-09T00:00:00\"", "\"raw\": 46365",
        "\"local\": \"2026-12-08T14:30:00\"", "\"codeType\": 1", "\"dailySeconds\": 120",
        "\"loggedIn\": false", "\"validToDateText\": \"10.12.2026\"",
        "\"validToTimeText\": \"14:30:00\"", "\"bytes328to334\": [\n      1,",
        "\"bytes3172to5719AllZero\": true", "\"created\": {"}) {
    EXPECT_NE(json.find(expected), std::string::npos) << expected << "\n" << json;
  }
}

TEST_F(SentavoCodes, ShowRefusesAnythingButAWholeRecord) {
  WriteBytes(dir_.File("short.dat"), std::vector<std::uint8_t>(5727, 0));
  EXPECT_EQ(Run({"show", dir_.File("short.dat")}), 1);
  EXPECT_EQ(out(), "");
  const std::string message = err();
  EXPECT_NE(message.find("not a whole code record (5727 bytes"), std::string::npos) << message;
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;

  WriteBytes(dir_.File("long.dat"), std::vector<std::uint8_t>(5729, 0));
  EXPECT_EQ(Run({"show", dir_.File("long.dat")}), 1);
  WriteBytes(dir_.File("Sentavo.cfg"), std::vector<std::uint8_t>(1000, 0));
  EXPECT_EQ(Run({"show", dir_.File("Sentavo.cfg")}), 1);
  EXPECT_NE(err().find("config record (1000 bytes"), std::string::npos) << err();
  EXPECT_EQ(Run({"show", dir_.File("nothing.dat")}), 1);
}

TEST_F(SentavoCodes, ShowReadsConfigurationAndListFiles) {
  TConfigRecord c;
  c.asFrontApp = true;
  c.rights[RightIndex(Right::ctrlaltdel)] = true;
  c.adminPassword = "vamor";
  c.serverPath = "\\\\srv\\kódy\\";
  const auto bytes = EncodeConfigRecord(c);
  WriteBytes(dir_.File("settings.bin"), {bytes.begin(), bytes.end()});
  ASSERT_EQ(Run({"show", dir_.File("settings.bin")}), 0) << err();  // told apart by its size
  EXPECT_NE(out().find("\"kind\": \"config\""), std::string::npos);
  EXPECT_NE(out().find("\"asFrontApp\": true"), std::string::npos);
  EXPECT_NE(out().find("\"serverPath\": \"\\\\\\\\srv\\\\kódy\\\\\""), std::string::npos) << out();

  const std::string list = "a\r\n\xE8\r\n\r\nz";
  WriteBytes(dir_.File("codes.dat"), {list.begin(), list.end()});
  ASSERT_EQ(Run({"show", dir_.File("codes.dat")}), 0);
  EXPECT_NE(out().find("\"a\",\n    \"č\",\n    \"\",\n    \"z\""), std::string::npos) << out();
  ASSERT_EQ(Run({"show", dir_.File("codes.dat"), "--as", "code"}), 1);
}

TEST_F(SentavoCodes, ListGetsNewNamesOnlyAsSaveCodeAddsThem) {
  const std::string list = dir_.File("codes.dat");
  const std::vector<std::string> base = {"issue",  "--share", dir_.path(), "--seconds", "600",
                                         "--type", "once",    "--list",    list};
  auto with = [&](std::vector<std::string> extra) {
    auto args = base;
    args.insert(args.end(), extra.begin(), extra.end());
    return args;
  };
  ASSERT_EQ(Run(with({"--name", "one"})), 0) << err();
  ASSERT_EQ(Run(with({"--name", "dva"})), 0);
  ASSERT_EQ(Run(with({"--name", "one"})), 0);
  EXPECT_EQ(out(), "replaced " + dir_.File("one.dat") + "\n");
  EXPECT_EQ(List(), (std::vector<std::string>{"one", "dva"}));
  const auto raw = ReadBytes(list);
  EXPECT_EQ(std::string(raw.begin(), raw.end()), "one\r\ndva\r\n");
}

TEST_F(SentavoCodes, CountIssuesGeneratedNamesAndPrintsVoucherLines) {
  WriteBytes(dir_.File("827533966.dat"),
             std::vector<std::uint8_t>(5728, 0));  // first draw is taken
  ASSERT_EQ(Run({"issue", "--share", dir_.path(), "--count", "3", "--seconds", "3600", "--type",
                 "daily", "--list", dir_.File("codes.dat")}),
            0)
      << err();
  EXPECT_EQ(out(),
            "621383883,3600,9.12.2026 14:30:00,10.12.2026 14:30:00,daily\n"
            "171229689,3600,9.12.2026 14:30:00,10.12.2026 14:30:00,daily\n"
            "1188868577,3600,9.12.2026 14:30:00,10.12.2026 14:30:00,daily\n");
  const auto names = List();
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], "621383883");
  for (const auto& n : names) EXPECT_EQ(Code(n)->secondsLeft, 3600) << n;
  EXPECT_EQ(ReadBytes(dir_.File("827533966.dat")),
            std::vector<std::uint8_t>(5728, 0));  // untouched
}

TEST_F(SentavoCodes, ConfigWritesWhatTheAdministrationProgramSaves) {
  const std::string path = dir_.File("Sentavo.cfg");
  ASSERT_EQ(Run({"config", "--out", path, "--server-path", "\\\\srv\\kódy", "--establishment",
                 "Knihovna"}),
            0)
      << err();
  const auto bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 1040u);
  EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 16),
            (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
  const auto config = DecodeConfigRecord(bytes);
  EXPECT_EQ(config->adminPassword, "vamor");
  EXPECT_EQ(config->establishment, "Knihovna");
  EXPECT_EQ(config->serverPath, "\\\\srv\\kódy\\");
  EXPECT_EQ(config->backgroundFile, "");
  EXPECT_EQ(Run({"config", "--out", path, "--establishment", "Niño"}), 2);
  EXPECT_EQ(ReadBytes(path), bytes);  // refused before anything is written
}

TEST_F(SentavoCodes, BadArgumentsWriteNothing) {
  const std::vector<std::vector<std::string>> bad = {
      {"issue", "--share", dir_.path(), "--name", "a", "--seconds", "59", "--type", "once"},
      {"issue", "--share", dir_.path(), "--name", "a", "--seconds", "32768", "--type", "once"},
      {"issue", "--share", dir_.path(), "--name", "a", "--seconds", "1e3", "--type", "once"},
      {"issue", "--share", dir_.path(), "--name", "a", "--seconds", "60", "--type", "weekly"},
      {"issue", "--share", dir_.File("missing"), "--name", "a", "--seconds", "60", "--type",
       "once"},
      {"issue", "--share", dir_.path(), "--name", "../a", "--seconds", "60", "--type", "once"},
      {"issue", "--share", dir_.path(), "--name", "NUL", "--seconds", "60", "--type", "once"},
      {"issue", "--share", dir_.path(), "--name", "a", "--seconds", "60", "--type", "once",
       "--establishment", "Niño"},
      {"issue", "--share", dir_.path(), "--name", "a", "--seconds", "60", "--type", "once",
       "--rights", "alttab,nope"},
      {"issue", "--share", dir_.path(), "--name", "a", "--seconds", "60", "--type", "once",
       "--from", "2026-02-30"},
      {"issue", "--share", dir_.path(), "--name", "a", "--count", "2", "--seconds", "60", "--type",
       "once"},
      {"issue", "--share", dir_.path(), "--name", "a", "--seconds", "60", "--type", "once",
       "--colour", "red"},
      {"issue", "--share", dir_.path(), "--name", "a", "--seconds"},
      {"frobnicate"},
      {},
  };
  for (const auto& args : bad) {
    std::string line;
    for (const auto& a : args) line += a + " ";
    EXPECT_EQ(Run(args), 2) << line;
    EXPECT_NE(err().find("sentavo-codes: "), std::string::npos) << line;
  }
  EXPECT_TRUE(dir_.Names().empty());
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out().find("usage: sentavo-codes show"), std::string::npos);
}

}  // namespace
}  // namespace sentavo
