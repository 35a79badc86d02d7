#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>

#include "formats/code_record.h"
#include "formats/codes_list.h"
#include "formats/config_record.h"
#include "formats/issuing.h"
#include "formats/station.h"
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

std::string BaseName(const std::string& path) {
  return path.substr(path.find_last_of("/\\") + 1);
}

// The computer's files with a log of how the tool writes them ("replace NAME", "batch", "add NAME",
// "finish"), and a batch that can be told to fail at one of its files or to find a name taken
// that the folder did not show.
class WatchedFiles final : public FileAccess {
 public:
  std::vector<std::string> log;
  int failingAdd = 0;  // the Add that fails (1 for the first); 0 for none
  int failure = io::kDiskFull;
  std::set<std::string> takenMeanwhile;  // file names another writer takes after the listing

  bool IsFile(const std::string& path) const override { return real_.IsFile(path); }
  bool IsFolder(const std::string& path) const override { return real_.IsFolder(path); }
  ReadResult Read(const std::string& path, std::size_t maxBytes) const override {
    return real_.Read(path, maxBytes);
  }
  int Replace(const std::string& path, std::span<const std::uint8_t> data) override {
    log.push_back("replace " + BaseName(path));
    return real_.Replace(path, data);
  }
  int Remove(const std::string& path) override { return real_.Remove(path); }
  std::optional<std::string> RealName(const std::string& path) const override {
    return real_.RealName(path);
  }
  std::vector<FolderFile> ListFiles(const std::string& folder) const override {
    return real_.ListFiles(folder);
  }
  std::unique_ptr<FileBatch> StartBatch() override {
    log.push_back("batch");
    return std::make_unique<Batch>(*this, real_.StartBatch());
  }

 private:
  class Batch final : public FileBatch {
   public:
    Batch(WatchedFiles& files, std::unique_ptr<FileBatch> real)
        : files_(files), real_(std::move(real)) {}
    int Add(const std::string& path, std::span<const std::uint8_t> data) override {
      files_.log.push_back("add " + BaseName(path));
      if (++adds_ == files_.failingAdd) return files_.failure;
      if (files_.takenMeanwhile.contains(BaseName(path))) return io::kFileExists;
      return real_->Add(path, data);
    }
    int Finish() override {
      files_.log.push_back("finish");
      return real_->Finish();
    }

   private:
    WatchedFiles& files_;
    std::unique_ptr<FileBatch> real_;
    int adds_ = 0;
  };

  LocalFiles real_;
};

class SentavoCodes : public ::testing::Test {
 protected:
  int Run(std::vector<std::string> args) { return RunWith(files_, std::move(args)); }
  int RunWith(FileAccess& files, std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    ToolEnv env{out_, err_, files, clock_, formats_, kSep};
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

TEST_F(SentavoCodes, ShowReadsStationStatusAndCommandFilesAsTheProgramsDo) {
  StationStatus s;
  s.pc = "PC-07";
  s.state = StationState::Guest;
  s.code = "4712";
  s.secondsLeft = 42;
  s.since = s.updated = LocalTime{{2026, 12, 10, 14, 0, 0}, 60};
  s.lastCommand = CommandOutcome{"addTime", s.since, "refused: no guest period runs"};
  const std::string status = EncodeStatus(s);
  std::filesystem::create_directories(dir_.File("stav"));
  std::filesystem::create_directories(dir_.File("prikazy"));
  WriteBytes(dir_.File("stav/PC-07.json"), {status.begin(), status.end()});
  ASSERT_EQ(Run({"show", dir_.File("stav/PC-07.json")}), 0) << err();
  EXPECT_NE(out().find("\"kind\": \"status\""), std::string::npos) << out();
  EXPECT_NE(out().find("\"state\": \"guest\""), std::string::npos) << out();
  EXPECT_NE(out().find("\"secondsLeft\": 42"), std::string::npos) << out();
  EXPECT_NE(out().find("\"since\": \"2026-12-10T14:00:00+01:00\""), std::string::npos) << out();
  EXPECT_NE(out().find("\"result\": \"refused: no guest period runs\""), std::string::npos);

  const std::string command = EncodeCommand(AddTimeCommand{30});
  WriteBytes(dir_.File("prikazy/PC-07.json"), {command.begin(), command.end()});
  ASSERT_EQ(Run({"show", dir_.File("prikazy/PC-07.json")}), 0) << err();
  EXPECT_NE(out().find("\"command\": \"addTime\""), std::string::npos) << out();
  EXPECT_NE(out().find("\"minutes\": 30"), std::string::npos) << out();
  // Files the programs would not take are refused with the reason.
  const std::string tooMuch = R"({"command": "addTime", "minutes": 6000})";
  WriteBytes(dir_.File("prikazy/PC-08.json"), {tooMuch.begin(), tooMuch.end()});
  EXPECT_EQ(Run({"show", dir_.File("prikazy/PC-08.json")}), 1);
  EXPECT_NE(err().find("minutes out of range"), std::string::npos) << err();
  EXPECT_EQ(Run({"show", dir_.File("prikazy/PC-07.json"), "--as", "status"}), 1);
}

TEST_F(SentavoCodes, VouchersIssueTheCodesAndWriteTheirSlipsAsAnHtmlPage) {
  ASSERT_EQ(Run({"vouchers", "--html", dir_.File("poukazky.html"), "--share", dir_.path(),
                 "--count", "12", "--seconds", "5400", "--type", "once", "--establishment",
                 "Kavárna", "--list", dir_.File("codes.dat")}),
            0)
      << err();
  const auto names = List();
  ASSERT_EQ(names.size(), 12u);
  const auto bytes = ReadBytes(dir_.File("poukazky.html"));
  const std::string html(bytes.begin(), bytes.end());
  for (const auto& n : names) {
    EXPECT_EQ(Code(n)->secondsLeft, 5400) << n;
    EXPECT_NE(html.find("<span class=\"code\">" + n + "</span>"), std::string::npos) << n;
  }
  EXPECT_NE(html.find("1 h 30 min"), std::string::npos);
  EXPECT_NE(html.find("Platí do: 10.12.2026 14:30:00"), std::string::npos) << html.substr(0, 2000);
  const std::string printed = out();
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'),
            12);  // the CSV lines, as issue prints
  // No page without codes to put on it, and none for more than a sheet can sensibly hold.
  EXPECT_EQ(Run({"vouchers", "--html", dir_.File("x.html"), "--share", dir_.path(), "--count", "0",
                 "--seconds", "60", "--type", "once"}),
            2);
  EXPECT_EQ(Run({"vouchers", "--share", dir_.path(), "--count", "3", "--seconds", "60", "--type",
                 "once"}),
            2);
  EXPECT_EQ(List().size(), 12u);
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

TEST_F(SentavoCodes, ABatchWritesTheSameBytesAsCodesIssuedOneByOne) {
  const std::vector<std::string> common = {"--seconds",       "900",
                                           "--type",          "once",
                                           "--from",          "2026-12-24",
                                           "--establishment", "Kavárna",
                                           "--rights",        "alttab,ctrlaltdel"};
  auto args = [&](std::string share, std::vector<std::string> extra) {
    std::vector<std::string> a = {"issue", "--share", share};
    a.insert(a.end(), extra.begin(), extra.end());
    a.insert(a.end(), common.begin(), common.end());
    return a;
  };
  ASSERT_EQ(Run(args(dir_.path(), {"--count", "4", "--list", dir_.File("codes.dat")})), 0) << err();
  std::vector<std::string> names;
  std::istringstream lines(out());
  for (std::string line; std::getline(lines, line);)
    names.push_back(line.substr(0, line.find(',')));
  ASSERT_EQ(names.size(), 4u);

  TempDir single;
  for (const std::string& name : names) {
    ASSERT_EQ(Run(args(single.path(), {"--name", name, "--list", single.File("codes.dat")})), 0)
        << err();
  }
  EXPECT_EQ(single.Names().size(), dir_.Names().size());  // four codes and the list, nothing else
  for (const std::string& name : names) {
    EXPECT_EQ(ReadBytes(dir_.File(name + ".dat")), ReadBytes(single.File(name + ".dat"))) << name;
  }
  EXPECT_EQ(ReadBytes(dir_.File("codes.dat")), ReadBytes(single.File("codes.dat")));
}

TEST_F(SentavoCodes, OnlyABatchLeavesTheFlushToItsEndAndTheListComesAfterIt) {
  WatchedFiles files;
  ASSERT_EQ(RunWith(files, {"issue", "--share", dir_.path(), "--name", "one", "--seconds", "600",
                            "--type", "once", "--list", dir_.File("codes.dat")}),
            0)
      << err();
  // "Uložit kód" and --name: the code's own flushed replacement, never a batch.
  EXPECT_EQ(files.log, (std::vector<std::string>{"replace one.dat", "replace codes.dat"}));

  files.log.clear();
  ASSERT_EQ(RunWith(files, {"issue", "--share", dir_.path(), "--count", "2", "--seconds", "600",
                            "--type", "once", "--list", dir_.File("codes.dat")}),
            0)
      << err();
  ASSERT_EQ(files.log.size(), 5u);
  EXPECT_EQ(files.log[0], "batch");
  EXPECT_TRUE(files.log[1].starts_with("add ") && files.log[2].starts_with("add "));
  EXPECT_EQ(files.log[3], "finish");
  EXPECT_EQ(files.log[4], "replace codes.dat");
}

TEST_F(SentavoCodes, ANameTakenWhileTheBatchRunsIsDrawnAgainNotOverwritten) {
  WatchedFiles files;
  files.takenMeanwhile = {"827533966.dat"};  // the first draw, taken after the folder was read
  ASSERT_EQ(RunWith(files, {"issue", "--share", dir_.path(), "--count", "2", "--seconds", "3600",
                            "--type", "daily"}),
            0)
      << err();
  EXPECT_EQ(out(),
            "621383883,3600,9.12.2026 14:30:00,10.12.2026 14:30:00,daily\n"
            "171229689,3600,9.12.2026 14:30:00,10.12.2026 14:30:00,daily\n");
  EXPECT_FALSE(files.IsFile(dir_.File("827533966.dat")));
}

TEST_F(SentavoCodes, TheExtensionInAnotherLetterCaseTakesANameWhereTheFileSystemSaysSo) {
  WriteBytes(dir_.File("827533966.DAT"), std::vector<std::uint8_t>(5728, 7));
  ASSERT_EQ(Run({"issue", "--share", dir_.path(), "--count", "1", "--seconds", "3600", "--type",
                 "daily"}),
            0)
      << err();
#ifdef _WIN32
  EXPECT_TRUE(out().starts_with("621383883,")) << out();  // one file to Windows: drawn again
#else
  EXPECT_TRUE(out().starts_with("827533966,")) << out();  // two names here: the code is issued
#endif
  EXPECT_EQ(ReadBytes(dir_.File("827533966.DAT")), std::vector<std::uint8_t>(5728, 7));
}

TEST_F(SentavoCodes, ABatchCutOffHalfWayLeavesWholeRecordsAndNoList) {
  WatchedFiles files;
  files.failingAdd = 3;
  EXPECT_EQ(RunWith(files, {"issue", "--share", dir_.path(), "--count", "5", "--seconds", "3600",
                            "--type", "once", "--list", dir_.File("codes.dat")}),
            1);
  EXPECT_NE(err().find("Disk full"), std::string::npos) << err();
  // The two codes before the failure, each a whole record; no temporary file, no list.
  const std::vector<std::string> names = dir_.Names();
  const std::string printed = out();
  ASSERT_EQ(names.size(), 2u);
  for (const std::string& name : names) {
    EXPECT_TRUE(name.ends_with(".dat") && name.find(".~") == std::string::npos) << name;
    EXPECT_TRUE(DecodeCodeRecord(ReadBytes(dir_.File(name)))) << name;
    EXPECT_NE(printed.find(name.substr(0, name.size() - 4) + ","), std::string::npos) << printed;
  }
  EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 2);
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
