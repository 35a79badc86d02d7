#include <gtest/gtest.h>

#include "admin_fixture.h"

namespace sentavo::admin::test {
namespace {

using Msgs = std::vector<Message>;

TEST_F(AdminTest, WithoutConfigurationTheDefaultPasswordIsInForceAndWarnedAboutAtEveryShowing) {
  EXPECT_EQ(Start(),
            (Requests{Showing(AdminWindow::Login, true), Info(text::kDefaultPasswordWarning)}));
  EXPECT_EQ(program->state().workingFolder, "C:\\Sentavo\\");
  EXPECT_EQ(settings().adminheslo, "vamor");
  EXPECT_EQ(settings().servercesta, "C:\\");
  EXPECT_EQ(settings().provoz, "");
  EXPECT_EQ(settings().pozadiFile, "");

  for (const std::string wrong : {"VAMOR", "vamor ", "", "vamo"}) {
    EXPECT_EQ(LogIn(wrong), (Requests{Error(text::kWrongPassword)})) << wrong;
    EXPECT_EQ(login().view().adminpass, wrong);
    EXPECT_TRUE(login().view().visible);
    EXPECT_FALSE(codes().view().visible);
  }

  EXPECT_EQ(LogIn("vamor"),
            (Requests{Showing(AdminWindow::Codes, true), Showing(AdminWindow::Login, false)}));
  EXPECT_EQ(codes().view().activeTab, CodeTab::VydaneKody);

  // Closing the code window shows the login again, which reads the configuration again.
  codes().OnProvozChanged("neuloženo");
  EXPECT_EQ(codes().OnClose(),
            (Requests{Showing(AdminWindow::Codes, false), Showing(AdminWindow::Login, true),
                      Info(text::kDefaultPasswordWarning)}));
  EXPECT_EQ(login().view().adminpass, "vamor");
  EXPECT_EQ(settings().provoz, "neuloženo");  // without a file only the password is reset
  EXPECT_EQ(login().OnKonec(), (Requests{ui::EndProgramRequest{}}));
}

TEST_F(AdminTest, TheConfigurationFillsTheSettingsAndItsPasswordAdmits) {
  TConfigRecord config;
  config.asFrontApp = true;
  config.adminPassword = "Žluťoučký";
  config.establishment = "Kavárna";
  config.serverPath = "\\\\server\\kody";
  config.backgroundFile = "C:\\obrázky\\pozadí.jpg";
  PutConfig(config);
  const auto fileBefore = files.Get(kConfig);

  EXPECT_EQ(Messages(Start()), Msgs{});  // another password: no warning
  EXPECT_EQ(settings().adminheslo, "Žluťoučký");
  EXPECT_EQ(settings().provoz, "Kavárna");
  EXPECT_EQ(settings().servercesta, "\\\\server\\kody\\");
  EXPECT_EQ(settings().pozadiFile, "C:\\obrázky\\pozadí.jpg");
  EXPECT_EQ(program->state().config, config);
  EXPECT_EQ(files.Get(kConfig), fileBefore);  // showing never writes

  EXPECT_EQ(Messages(LogIn("vamor")), Msgs{Error(text::kWrongPassword)});
  EXPECT_EQ(Messages(LogIn("žluťoučký")), Msgs{Error(text::kWrongPassword)});
  EXPECT_EQ(Messages(LogIn("Žluťoučký")), Msgs{});

  // Unsaved edits are replaced by the file's values at the next showing of the login.
  codes().OnAdminhesloChanged("jiné");
  codes().OnServercestaChanged("D:\\");
  EXPECT_EQ(Messages(codes().OnClose()), Msgs{});
  EXPECT_EQ(settings().adminheslo, "Žluťoučký");
  EXPECT_EQ(settings().servercesta, "\\\\server\\kody\\");
}

TEST_F(AdminTest, AnEmptySavedPasswordAdmitsAnEmptyBoxWithoutWarning) {
  PutConfig(TConfigRecord{});
  EXPECT_EQ(Messages(Start()), Msgs{});
  EXPECT_EQ(settings().servercesta, "\\");
  EXPECT_EQ(Messages(LogIn("")), Msgs{});
  EXPECT_TRUE(codes().view().visible);
}

TEST_F(AdminTest, AShortConfigurationIsReportedAndLeavesTheDefaultPasswordInForce) {
  TConfigRecord config;
  config.adminPassword = "tajne";
  const ConfigRecordBytes bytes = EncodeConfigRecord(config);
  files.Put(kConfig, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 1000));

  EXPECT_EQ(Start(),
            (Requests{Showing(AdminWindow::Login, true), Stop("Read beyond end of file")}));
  EXPECT_EQ(Stop("Read beyond end of file").text, "Read beyond end of file.");
  EXPECT_EQ(Stop("x").caption, "Sentavo ADMIN");
  EXPECT_EQ(settings().adminheslo, "vamor");
  EXPECT_EQ(program->state().config, TConfigRecord{});
  EXPECT_EQ(Messages(LogIn("tajne")), Msgs{Error(text::kWrongPassword)});
  EXPECT_EQ(Messages(LogIn("vamor")), Msgs{});
}

TEST_F(AdminTest, AnUnreadableConfigurationKeepsTheOtherBoxesAndSkipsTheWarning) {
  StartLoggedIn("Bar");
  codes().OnProvozChanged("upraveno");
  codes().OnPozadiFileChanged("x.jpg");
  files.FailRead(kConfig, 32);
  EXPECT_EQ(codes().OnClose(), (Requests{Showing(AdminWindow::Codes, false),
                                         Showing(AdminWindow::Login, true), Stop("I/O error 32")}));
  EXPECT_EQ(settings().adminheslo, "vamor");
  EXPECT_EQ(settings().provoz, "upraveno");
  EXPECT_EQ(settings().pozadiFile, "x.jpg");
  EXPECT_EQ(settings().servercesta, kShare);
}

TEST_F(AdminTest, EachLoginSweepsOldLitterOfCutOffCodeWritesFromTheSharedFolder) {
  files.Put(kShare + "4711.dat", "code");
  files.Put(kShare + "4711.dat.~1a2b.tmp", "cut off");
  files.Put(kShare + "4712.dat.~1a2c.tmp", "being written");
  files.Put(kShare + "notes.txt.~1a2d.tmp", "not ours");
  files.Put(kShare + "Sentavo.cfg.~1a2e.tmp", "not a code file's");
  for (const char* name :
       {"4711.dat", "4711.dat.~1a2b.tmp", "notes.txt.~1a2d.tmp", "Sentavo.cfg.~1a2e.tmp"})
    files.SetAge(kShare + name, 3600);
  files.SetAge(kShare + "4712.dat.~1a2c.tmp", 60);

  StartLoggedIn();
  EXPECT_FALSE(files.Get(kShare + "4711.dat.~1a2b.tmp"));
  for (const char* name :
       {"4711.dat", "4712.dat.~1a2c.tmp", "notes.txt.~1a2d.tmp", "Sentavo.cfg.~1a2e.tmp"})
    EXPECT_TRUE(files.Get(kShare + name)) << name;

  // A wrong password sweeps nothing; the next login does.
  files.Put(kShare + "4713.dat.~1a2f.tmp", "cut off");
  files.SetAge(kShare + "4713.dat.~1a2f.tmp", 3600);
  codes().OnClose();
  LogIn("spatne");
  EXPECT_TRUE(files.Get(kShare + "4713.dat.~1a2f.tmp"));
  LogIn("tajne");
  EXPECT_FALSE(files.Get(kShare + "4713.dat.~1a2f.tmp"));
}

TEST_F(AdminTest, EachLoginLoadsCodesDatWhenItExists) {
  Start();
  LogIn("vamor");
  EXPECT_TRUE(issued().vydane.empty());  // no codes.dat yet

  files.Put(kCodesDat, std::string("a\r\n\r\nb\r\xE8\n"));  // \xE8 is "č"
  codes().OnClose();
  codes().OnVydaneSelected(1);
  EXPECT_EQ(Messages(LogIn("vamor")), Msgs{});
  EXPECT_EQ(issued().vydane, (std::vector<std::string>{"a", "", "b", "č"}));
  EXPECT_EQ(issued().selected, std::nullopt);

  // Without the file the list keeps what it shows.
  files.Remove(kCodesDat);
  codes().OnClose();
  LogIn("vamor");
  EXPECT_EQ(issued().vydane.size(), 4u);
}

TEST_F(AdminTest, ACodesDatThatCannotBeReadLeavesBothWindowsOpenAndTheListAsItWas) {
  files.Put(kCodesDat, std::string("prvn\xED\r\n"));  // "první"
  Start();
  LogIn("vamor");
  codes().OnClose();
  files.Put(kCodesDat, std::string("druhý\r\n"));
  files.FailRead(kCodesDat, io::kAccessDenied);

  EXPECT_EQ(LogIn("vamor"), (Requests{Showing(AdminWindow::Codes, true),
                                      Stop("Cannot open file C:\\Sentavo\\codes.dat")}));
  EXPECT_TRUE(login().view().visible);
  EXPECT_TRUE(codes().view().visible);
  EXPECT_EQ(issued().vydane, std::vector<std::string>{"první"});

  // The login window is already visible: closing the code window shows and reads nothing.
  codes().OnProvozChanged("beze změny");
  EXPECT_EQ(codes().OnClose(), (Requests{Showing(AdminWindow::Codes, false)}));
  EXPECT_EQ(settings().provoz, "beze změny");
}

TEST_F(AdminTest, ShowingTheCodeWindowSetsAValidityWindowOfOneDayFromNow) {
  clock.now = {2026, 12, 31, 23, 59, 58, 700};
  Start();
  LogIn("vamor");
  EXPECT_EQ(creation().datumod, (DateTime{2026, 12, 31}));
  EXPECT_EQ(creation().datumdo, (DateTime{2027, 1, 1}));
  EXPECT_EQ(creation().casod, (DateTime{1899, 12, 30, 23, 59, 58}));
  EXPECT_EQ(creation().casdo, creation().casod);

  // The tab keeps its other controls from one login to the next; the window is set again.
  codes().OnKodChanged("123");
  codes().OnTypKoduChanged(1);
  codes().OnNavrhnout();
  EXPECT_EQ(creation().datumdo, (DateTime{2027, 1, 7}));
  codes().OnClose();
  clock.now = {2027, 2, 28, 8, 0, 0};
  LogIn("vamor");
  EXPECT_EQ(creation().datumod, (DateTime{2027, 2, 28}));
  EXPECT_EQ(creation().datumdo, (DateTime{2027, 3, 1}));
  EXPECT_EQ(creation().casdo, (DateTime{1899, 12, 30, 8, 0, 0}));
  EXPECT_EQ(creation().typkodu, 1u);
  EXPECT_TRUE(creation().canDivide);
}

TEST_F(AdminTest, NavrhnoutDrawsFromTheGeneratorSeededAtStartAndSetsSevenDays) {
  clock.utcMs = 12345;
  Start();
  clock.utcMs = 999;  // only the moment of start counts
  LogIn("vamor");
  ClearRights();
  codes().OnBudgetTyped("60", "\u00A0");
  codes().OnTypKoduChanged(0);
  clock.now = {2026, 2, 25, 10, 11, 12, 13};

  codes().OnNavrhnout();
  EXPECT_EQ(creation().kod, "827533966");
  EXPECT_TRUE(creation().canDivide);
  EXPECT_EQ(creation().datumod, (DateTime{2026, 2, 25}));
  EXPECT_EQ(creation().datumdo, (DateTime{2026, 3, 4}));
  EXPECT_EQ(creation().casod, (DateTime{1899, 12, 30, 10, 11, 12}));
  EXPECT_EQ(creation().casdo, creation().casod);
  EXPECT_EQ(creation().rights, RightsSet{});
  EXPECT_EQ(creation().budget, 60);
  EXPECT_EQ(creation().typkodu, 0u);

  codes().OnNavrhnout();
  EXPECT_EQ(creation().kod, "621383883");
}

TEST(AdminWorkingFolder, GetsOneTrailingBackslash) {
  sentavo::test::MemoryFiles files;
  ManualClock clock;
  CzechFormats formats;
  EXPECT_EQ(AdminProgram({files, clock, formats}, "D:\\").state().workingFolder, "D:\\");
  EXPECT_EQ(AdminProgram({files, clock, formats}, "\\\\pc\\sdílené").state().workingFolder,
            "\\\\pc\\sdílené\\");
}

}  // namespace
}  // namespace sentavo::admin::test
