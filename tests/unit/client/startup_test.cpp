// Start-up, the title line, reading Sentavo.cfg and "Uložit default".
#include "client/installation_id.h"
#include "client_fakes.h"

namespace sentavo::client::test {
namespace {

class StartUp : public ::testing::Test {
 protected:
  ManualClock clock{{2026, 12, 2, 12, 0, 0}};
  CzechFormats formats;
  MemoryFiles files;
  FakePolicies policies;
  FakeSysLock sysLock;
  FakePointer pointer;
  FakeEnvironment environment;
  FakeIdentity identity;
  LockScreenServices services{clock,   formats, files,       policies,
                              sysLock, pointer, environment, identity};

  void PutConfig(const TConfigRecord& record) {
    const auto bytes = EncodeConfigRecord(record);
    files.files["C:\\Sentavo\\Sentavo.cfg"] = Bytes(bytes.begin(), bytes.end());
  }

  static TConfigRecord SavedConfig() {
    TConfigRecord c;
    c.asFrontApp = false;
    c.rights = DefaultIssueRights();
    c.rights[RightIndex(Right::altf4)] = true;
    c.adminPassword = "šéfík";
    c.establishment = "Kavárna U Lípy";
    c.serverPath = "\\\\server\\codes";
    c.backgroundFile = "C:\\obrázky\\pozadí.jpg";
    return c;
  }
};

TEST_F(StartUp, AFirstStartLocksAtOnceWithTheBuiltInSettings) {
  files.folders.insert("C:\\");
  LockScreen screen(services);
  screen.Start();

  const LockScreenView& v = screen.view();
  EXPECT_EQ(screen.exeDir(), "C:\\Sentavo\\");
  EXPECT_EQ(v.adminheslo, "vamor");
  EXPECT_EQ(v.provoz, "");
  EXPECT_EQ(v.servercesta, "C:\\");
  EXPECT_EQ(v.pozadiFile, "");
  EXPECT_EQ(v.backgroundPicture, "");
  EXPECT_EQ(v.logoFile, "");
  EXPECT_EQ(v.infoLabel.text, "");
  EXPECT_FALSE(v.skrytBut.visible);
  EXPECT_TRUE(v.prihlasitBut.enabled);
  EXPECT_FALSE(v.odhlasitUseraBut.enabled);
  EXPECT_EQ(v.odpocetLED, "00:00:00");
  EXPECT_EQ(screen.countdown(), -1);
  EXPECT_FALSE(screen.adminLoggedIn());
  EXPECT_TRUE(v.stayOnTop);
  EXPECT_FALSE(v.tabSheet2Visible);
  EXPECT_TRUE(environment.created.empty());

  // The design state has asFrontApp and ctrlaltdel on: the other fourteen change, then sixteen.
  Log changed;
  for (std::size_t i = 0; i < kSwitchCount; ++i) {
    if (i != kAsFrontAppSwitch && i != SwitchIndex(Right::ctrlaltdel))
      changed.push_back(SwitchName(i) + "=1");
  }
  EXPECT_EQ(sysLock.log, Concat({changed, AllSixteen(true), {"IsGinaInstalled"}}));
  EXPECT_EQ(screen.TakeRequests(),
            (ui::Requests{ui::WindowAction::HideApplicationWindow,
                          ui::WindowAction::RestoreApplication, ui::WindowAction::ActivateTray}));
  EXPECT_TRUE(files.writes.empty());

  // The first locked second shows "locked".
  screen.OnTimer1();
  EXPECT_EQ(v.odpocetLED, "locked");
}

TEST_F(StartUp, AMissingLogonComponentIsInstalledAndAnnouncedBeforeTheTrayStarts) {
  sysLock.ginaInstalled = false;
  LockScreen screen(services);
  screen.Start();
  EXPECT_EQ(Log(sysLock.log.end() - 2, sysLock.log.end()), (Log{"IsGinaInstalled", "InstallGina"}));
  const ui::Requests requests = screen.TakeRequests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[2], ui::Request(ui::PlainMessage(
                             "Sentavo",
                             "Byla instalována systémová součást Sentavo. Prosím restartujte PC "
                             "pro zajištění bezpečnosti PC.")));
  EXPECT_EQ(requests[3], ui::Request(ui::WindowAction::ActivateTray));
}

TEST_F(StartUp, TheLibrarysTrialModeIsShownAndARealLibraryShowsNoWarning) {
  {
    LockScreen screen(services);
    screen.Start();
    EXPECT_FALSE(screen.view().trialMode);
  }
  sysLock.trialMode = true;
  LockScreen screen(services);
  screen.Start();
  EXPECT_TRUE(screen.view().trialMode);
  // The warning stays for the whole run, through the guest's period and back to the lock.
  screen.OnPovolitVse();
  screen.OnTimer1();
  screen.OnZamknout();
  EXPECT_TRUE(screen.view().trialMode);
}

TEST_F(StartUp, TheServerFolderIsCreatedBeforeTheConfigurationIsRead) {
  // "C:\" is missing: it is created, one level. The configured folder is not.
  TConfigRecord config = SavedConfig();
  PutConfig(config);
  LockScreen screen(services);
  screen.Start();
  EXPECT_EQ(environment.created, (Log{"C:\\"}));
  EXPECT_EQ(screen.view().servercesta, "\\\\server\\codes\\");
}

TEST_F(StartUp, TheConfigurationSetsTheBoxesTheTextsAndRunsTheRightsHandlers) {
  files.folders.insert("C:\\");
  const TConfigRecord config = SavedConfig();
  PutConfig(config);
  files.files["C:\\obrázky\\pozadí.jpg"] = {1};
  files.files["C:\\Sentavo\\SentavoBig.png"] = {1};
  LockScreen screen(services);
  screen.Start();

  const LockScreenView& v = screen.view();
  EXPECT_EQ(v.adminheslo, "šéfík");
  EXPECT_EQ(v.provoz, "Kavárna U Lípy");
  EXPECT_EQ(v.pozadiFile, "C:\\obrázky\\pozadí.jpg");
  EXPECT_EQ(v.backgroundPicture, "C:\\obrázky\\pozadí.jpg");
  EXPECT_EQ(v.logoFile, "C:\\Sentavo\\SentavoBig.png");
  for (const Right r : kAllRights)
    EXPECT_EQ(v.switches[SwitchIndex(r)], config.rights[RightIndex(r)]);
  EXPECT_FALSE(v.switches[kAsFrontAppSwitch]);

  // After the lock: each box that the file changes runs its handler, then the fifteen rights.
  Log expected;
  if (!config.asFrontApp) expected.push_back("asFrontApp=0");
  for (const Right r : kAllRights) {
    if (!config.rights[RightIndex(r)]) expected.push_back(SwitchName(SwitchIndex(r)) + "=0");
  }
  for (const Right r : kAllRights)
    expected.push_back(SwitchName(SwitchIndex(r)) + (config.rights[RightIndex(r)] ? "=1" : "=0"));
  EXPECT_EQ(
      Log(sysLock.log.end() - static_cast<std::ptrdiff_t>(expected.size()), sysLock.log.end()),
      expected);

  // The empty admin password of another file makes an empty entry the administrator's login.
  TConfigRecord empty;
  empty.serverPath = "C:\\";
  PutConfig(empty);
  LockScreen second(services);
  second.Start();
  second.OnKodEnter();
  EXPECT_TRUE(second.adminLoggedIn());
}

TEST_F(StartUp, AMissingBackgroundOrAShortConfigurationKeepsTheBuiltInValues) {
  PutConfig(SavedConfig());  // its background file does not exist
  LockScreen screen(services);
  screen.Start();
  EXPECT_EQ(screen.view().pozadiFile, "C:\\obrázky\\pozadí.jpg");
  EXPECT_EQ(screen.view().backgroundPicture, "");

  files.files["C:\\Sentavo\\Sentavo.cfg"].resize(1039);
  LockScreen shortFile(services);
  shortFile.Start();
  EXPECT_EQ(shortFile.view().adminheslo, "vamor");
  EXPECT_EQ(shortFile.view().provoz, "");
  EXPECT_EQ(shortFile.view().servercesta, "C:\\");
}

TEST_F(StartUp, SavedDefaultsComeBackExactlyAtTheNextStart) {
  LockScreen screen(services);
  screen.Start();
  screen.OnKodChanged("vamor");
  screen.OnKodEnter();
  screen.OnCheckBoxChanged(SwitchIndex(Right::alttab), true);
  screen.OnCheckBoxChanged(kAsFrontAppSwitch, false);
  screen.OnProvozChanged("Hospoda Na Růžku");
  screen.OnAdminhesloChanged(std::string(300, 'h'));  // cut to 255
  screen.OnServercestaChanged("\\\\server\\codes");
  screen.OnPozadiFilePicked("C:\\pic.jpg");
  EXPECT_EQ(screen.view().backgroundPicture, "");  // no such file
  screen.OnUlozitDefault();
  EXPECT_EQ(screen.view().servercesta, "\\\\server\\codes\\");  // normalised in the box itself
  ASSERT_EQ(files.writes.size(), 1u);
  EXPECT_EQ(files.writes[0].first, "C:\\Sentavo\\Sentavo.cfg");
  const SwitchSet saved = screen.view().switches;

  LockScreen next(services);
  next.Start();
  const LockScreenView& v = next.view();
  EXPECT_EQ(v.switches, saved);
  EXPECT_EQ(v.provoz, "Hospoda Na Růžku");
  EXPECT_EQ(v.adminheslo, std::string(255, 'h'));
  EXPECT_EQ(v.servercesta, "\\\\server\\codes\\");
  EXPECT_EQ(v.pozadiFile, "C:\\pic.jpg");
}

TEST_F(StartUp, ATextSentavoCfgCannotHoldIsNotSaved) {
  LockScreen screen(services);
  screen.Start();
  screen.OnKodChanged("vamor");
  screen.OnKodEnter();
  screen.OnProvozChanged("茶館");
  const std::string infoBefore = screen.view().infoLabel.text;
  screen.TakeRequests();
  screen.OnUlozitDefault();
  EXPECT_TRUE(files.writes.empty());
  // Told in a box on the settings tab; the guests' InfoLabel keeps what it showed.
  EXPECT_EQ(
      screen.TakeRequests(),
      (ui::Requests{ui::Message{
          ui::Message::Kind::Error, "Sentavo",
          "Nastavení nebylo uloženo: tento znak nelze do souboru Sentavo.cfg zapsat: U+8336"}}));
  EXPECT_EQ(screen.view().infoLabel.text, infoBefore);

  // A text the file can hold is saved without a box.
  screen.OnProvozChanged("Čajovna");
  screen.OnUlozitDefault();
  EXPECT_EQ(files.writes.size(), 1u);
  EXPECT_EQ(screen.TakeRequests(), ui::Requests{});
}

TEST_F(StartUp, OldLitterOfCutOffWritesBesideTheProgramIsSweptAtStart) {
  const Bytes some{1, 2, 3};
  for (const char* name : {"C:\\Sentavo\\Sentavo.cfg.~1a2b.tmp", "C:\\Sentavo\\Sentavo.uid.~7.tmp",
                           "C:\\Sentavo\\Sentavo.cfg.~1a2c.tmp", "C:\\Sentavo\\4711.dat.~1a2d.tmp",
                           "C:\\Sentavo\\Sentavo.cfg"})
    files.files[name] = some;
  files.ages["C:\\Sentavo\\Sentavo.cfg.~1a2b.tmp"] = 11 * 60;
  files.ages["C:\\Sentavo\\Sentavo.uid.~7.tmp"] = 3600;
  files.ages["C:\\Sentavo\\Sentavo.cfg.~1a2c.tmp"] = 9 * 60;  // young: a writer may be at it
  files.ages["C:\\Sentavo\\4711.dat.~1a2d.tmp"] = 3600;       // not the client's own file
  files.ages["C:\\Sentavo\\Sentavo.cfg"] = 3600;

  LockScreen screen(services);
  screen.Start();
  EXPECT_FALSE(files.files.contains("C:\\Sentavo\\Sentavo.cfg.~1a2b.tmp"));
  EXPECT_FALSE(files.files.contains("C:\\Sentavo\\Sentavo.uid.~7.tmp"));
  EXPECT_TRUE(files.files.contains("C:\\Sentavo\\Sentavo.cfg.~1a2c.tmp"));
  EXPECT_TRUE(files.files.contains("C:\\Sentavo\\4711.dat.~1a2d.tmp"));
  EXPECT_TRUE(files.files.contains("C:\\Sentavo\\Sentavo.cfg"));
}

TEST_F(StartUp, TheTitleLineCarriesTheInstallationIdentifier) {
  LockScreen screen(services);
  screen.Start();
  screen.OnFirstShow();
  const std::string uid = std::to_string(PositiveId(*identity.guid));
  EXPECT_EQ(screen.view().uid, uid);
  EXPECT_EQ(screen.view().tit, "Sentavo ver. 1.2 - Client - Korvalen - UID: " + uid);

  identity.guid.reset();
  LockScreen noGuid(services);
  noGuid.Start();
  noGuid.OnFirstShow();
  EXPECT_EQ(noGuid.view().uid, "123456789");
  EXPECT_TRUE(files.files.contains("C:\\Sentavo\\Sentavo.uid"));
}

TEST_F(StartUp, TheServerPathGetsItsBackslashWhenTheBoxLosesTheFocus) {
  LockScreen screen(services);
  screen.Start();
  screen.OnServercestaChanged("");
  screen.OnServercestaExit();
  EXPECT_EQ(screen.view().servercesta, "\\");
  screen.OnServercestaChanged("D:\\kody\\");
  screen.OnServercestaExit();
  EXPECT_EQ(screen.view().servercesta, "D:\\kody\\");
  files.files["D:\\p.bmp"] = {1};
  screen.OnPozadiFilePicked("D:\\p.bmp");
  EXPECT_EQ(screen.view().backgroundPicture, "D:\\p.bmp");
}

}  // namespace
}  // namespace sentavo::client::test
