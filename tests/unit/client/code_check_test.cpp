// The code check: the three logins, every refusal, the daily rule and the unsafe entries.
#include "client/master_password.h"
#include "client_fakes.h"

namespace sentavo::client::test {
namespace {

// The rights handlers' calls for a record's rights: the boxes that change, then all fifteen.
Log RightsCalls(const RightsSet& rights, const SwitchSet& before) {
  Log log;
  const auto call = [&](Right r) {
    return SwitchName(SwitchIndex(r)) + (rights[RightIndex(r)] ? "=1" : "=0");
  };
  for (const Right r : kAllRights) {
    if (before[SwitchIndex(r)] != rights[RightIndex(r)]) log.push_back(call(r));
  }
  for (const Right r : kAllRights) log.push_back(call(r));
  return log;
}

using CodeCheck = ClientTest;

TEST_F(CodeCheck, AcceptedGuestCodeUnlocksWithTheCodesRightsAndClaimsTheCodeAtOnce) {
  const TCodeRecord issued = IssuedCode(125, /*reusable=*/true);
  PutCode("4711", issued);
  const SwitchSet before = screen.view().switches;
  Enter("4711");

  const LockScreenView& v = screen.view();
  EXPECT_EQ(screen.countdown(), 125);
  EXPECT_FALSE(screen.adminLoggedIn());
  EXPECT_EQ(screen.codePath(), "S:\\codes\\\\4711.dat");
  EXPECT_FALSE(v.stayOnTop);
  EXPECT_FALSE(v.borderSizeable);
  EXPECT_FALSE(v.tabSheet2Visible);
  EXPECT_FALSE(v.kod.enabled);
  EXPECT_EQ(v.kod.text, "4711");
  EXPECT_FALSE(v.prihlasitBut.enabled);
  EXPECT_TRUE(v.odhlasitUseraBut.enabled);
  EXPECT_TRUE(v.skrytBut.visible);
  EXPECT_EQ(v.infoLabel.text, "Přihlášen uživatel.");
  EXPECT_EQ(v.datod.text, "Kód platí od: 1.12.2026 Čas: 10:00:00");
  EXPECT_EQ(v.datdo.text, "Kód platí do: 3.12.2026 Čas: 18:00:00");
  EXPECT_EQ(v.smidelit.text, "Uživatel smí kód použít opakovaně v rámci platnosti.");
  EXPECT_EQ(v.smidelit.colour, ui::MakeColor(0, 128, 0));
  EXPECT_TRUE(v.switches[kAsFrontAppSwitch]);  // stays on from the lock action
  for (const Right r : kAllRights)
    EXPECT_EQ(v.switches[SwitchIndex(r)], issued.rights[RightIndex(r)]);

  EXPECT_EQ(sysLock.log, Concat({AllSixteen(true), RightsCalls(issued.rights, before)}));

  TCodeRecord claimed = issued;
  claimed.loggedIn = true;
  claimed.lastUse = ToOleDate(kNoon);
  ASSERT_EQ(files.writes.size(), 2u);
  EXPECT_EQ(files.writes[0].first, CodePath("4711"));
  EXPECT_EQ(files.writes[1].first, "C:\\Sentavo\\Sentavo.run");  // names the running code
  EXPECT_EQ(files.Record(CodePath("4711")), claimed);            // every other byte as it was read
}

TEST_F(CodeCheck, AOneTimeCodeIsAnnouncedInRed) {
  PutCode("1", IssuedCode(60, /*reusable=*/false));
  Enter("1");
  EXPECT_EQ(screen.view().smidelit.text,
            "Kód je jednorázový, po odhlášení nebude možno jej použít!");
  EXPECT_EQ(screen.view().smidelit.colour, ui::MakeColor(255, 0, 0));
}

TEST_F(CodeCheck, AdministratorGetsSixtySecondsAndTheSettingsPage) {
  Enter("vamor");
  const LockScreenView& v = screen.view();
  EXPECT_EQ(screen.countdown(), 60);
  EXPECT_TRUE(screen.adminLoggedIn());
  EXPECT_EQ(screen.codePath(), kAdminCodePath);
  EXPECT_FALSE(v.stayOnTop);
  EXPECT_TRUE(v.borderSizeable);
  EXPECT_TRUE(v.tabSheet2Visible);
  EXPECT_EQ(v.activePage, Page::TabSheet2);
  EXPECT_EQ(v.kod.text, "");
  EXPECT_FALSE(v.kod.enabled);
  EXPECT_FALSE(v.prihlasitBut.enabled);
  EXPECT_TRUE(v.odhlasitUseraBut.enabled);
  EXPECT_TRUE(v.skrytBut.visible);
  EXPECT_EQ(v.infoLabel.text, "Přihlášen ADMIN.");
  // The allow-all action: thirteen boxes cleared, sixteen handlers, RestoreAll.
  Log expected;
  for (std::size_t i = 0; i < kSwitchCount; ++i) {
    if (!KeptByAllowAll(i)) expected.push_back(SwitchName(i) + "=0");
  }
  for (std::size_t i = 0; i < kSwitchCount; ++i)
    expected.push_back(SwitchName(i) + (KeptByAllowAll(i) ? "=1" : "=0"));
  expected.push_back("RestoreAll");
  EXPECT_EQ(sysLock.log, expected);
  EXPECT_TRUE(files.writes.empty());
}

TEST_F(CodeCheck, TheAdministratorPasswordIsTheEditsCurrentTextEvenAnEmptyOne) {
  screen.OnAdminhesloChanged("nove");  // changed, not saved
  Enter("vamor");
  EXPECT_EQ(screen.view().infoLabel.text,
            "Zadaný odemykací kód neexistuje! Zadejte prosím platný kód.");
  Enter("nove");
  EXPECT_TRUE(screen.adminLoggedIn());

  screen.OnZamknout();
  screen.OnAdminhesloChanged("");
  Enter("");
  EXPECT_TRUE(screen.adminLoggedIn());
}

TEST_F(CodeCheck, AnEmptyEntryLooksForDotDat) {
  PutCode("", IssuedCode());
  Enter("");
  EXPECT_EQ(screen.codePath(), "S:\\codes\\\\.dat");
  EXPECT_EQ(screen.countdown(), 3600);
}

TEST_F(CodeCheck, MasterPasswordIsTheBuiltInTextFollowedByTheUid) {
  const std::string prefix = MasterPasswordPrefix();
  ASSERT_EQ(prefix.size(), 11u);
  for (const char c : prefix) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c))) << prefix;
  ASSERT_FALSE(screen.view().uid.empty());

  for (const std::string& near : {prefix, prefix + "1" + screen.view().uid, screen.view().uid}) {
    Enter(near);
    EXPECT_FALSE(screen.ended()) << near;
    EXPECT_EQ(screen.view().infoLabel.text,
              "Zadaný odemykací kód neexistuje! Zadejte prosím platný kód.");
  }
  ClearLogs();
  Enter(prefix + screen.view().uid);
  EXPECT_TRUE(screen.ended());
  EXPECT_EQ(screen.TakeRequests(), (ui::Requests{ui::EndProgramRequest{0}}));
  EXPECT_EQ(sysLock.log.back(), "RestoreAll");  // the allow-all action, then the end
  EXPECT_TRUE(files.writes.empty());

  // Nothing runs after the end: no tick re-locks what the end released.
  sysLock.log.clear();
  screen.OnTimer1();
  screen.OnHotKey();
  EXPECT_TRUE(sysLock.log.empty());
  EXPECT_TRUE(policies.log.empty());
}

#ifdef SENTAVO_CLIENT_LIBRARY
TEST(MasterPassword, TheProgramHoldsNoReadableCopy) {
  const Bytes library = sentavo::test::ReadBytes(SENTAVO_CLIENT_LIBRARY);
  ASSERT_GT(library.size(), 1000u);
  const std::string haystack(library.begin(), library.end());
  EXPECT_EQ(haystack.find(MasterPasswordPrefix()), std::string::npos);
}
#endif

TEST_F(CodeCheck, AMissingCodeFileRefusesButKeepsTheLastCodePathAndTheButtons) {
  PutCode("7", IssuedCode());
  Enter("7");
  screen.OnOdhlasitUseraClick();
  ClearLogs();
  Enter("8");
  const LockScreenView& v = screen.view();
  EXPECT_EQ(v.infoLabel.text, "Zadaný odemykací kód neexistuje! Zadejte prosím platný kód.");
  EXPECT_EQ(screen.codePath(), CodePath("7"));
  EXPECT_TRUE(v.prihlasitBut.enabled);
  EXPECT_FALSE(v.odhlasitUseraBut.enabled);
  EXPECT_EQ(v.kod.text, "");
  EXPECT_FALSE(v.skrytBut.visible);
  ExpectLocked();
  EXPECT_EQ(sysLock.log, AllSixteen(true));
  EXPECT_TRUE(files.writes.empty());
}

struct Refusal {
  const char* name;
  void (*spoil)(TCodeRecord&);
  const char* message;
};

TEST_F(CodeCheck, EachFailedTestRefusesWithItsMessageAndWritesNothing) {
  const Refusal refusals[] = {
      {"in use",
       [](TCodeRecord& r) {
         r.loggedIn = true, r.lastUse = ToOleDate({2026, 12, 2, 11, 59, 59});
       },
       "Uživatel je již v síti přihlášen. Použijte jiný kód, nebo se odhlašte na jiném PC."},
      {"used up elsewhere",
       [](TCodeRecord& r) {
         r.loggedIn = true, r.active = false, r.lastUse = ToOleDate({2026, 12, 2, 11, 59, 59});
       },
       "Uživatel je již v síti přihlášen. Použijte jiný kód, nebo se odhlašte na jiném PC."},
      {"other letter case", [](TCodeRecord& r) { r.establishment = "kavárna U Lípy"; },
       "Zadaný odemykací kód není platný pro tuto provozovnu! Zadejte prosím platný kód."},
      {"no establishment", [](TCodeRecord& r) { r.establishment = ""; },
       "Zadaný odemykací kód není platný pro tuto provozovnu! Zadejte prosím platný kód."},
      {"one-time used up", [](TCodeRecord& r) { r.active = false; },
       "Zadaný odemykací kód je již neplatný! Zadejte prosím platný kód."},
      {"daily, used up today",
       [](TCodeRecord& r) {
         r.codeType = kCodeTypeDaily, r.active = false, r.secondsLeft = 0;
         r.lastUse = ToOleDate({2026, 12, 2, 8, 0, 0});
       },
       "Zadaný odemykací kód je pro dnešek již neplatný! Zadejte prosím platný kód, nebo jej "
       "použijte zítra."},
      {"daily, active but no time left today",
       [](TCodeRecord& r) {
         r.codeType = kCodeTypeDaily, r.secondsLeft = 0;
         r.lastUse = ToOleDate({2026, 12, 2, 8, 0, 0});
       },
       "Zadaný odemykací kód je pro dnešek již neplatný! Zadejte prosím platný kód, nebo jej "
       "použijte zítra."},
      {"window over",
       [](TCodeRecord& r) {
         r.validToDate = ToOleDate({2026, 12, 1});
       },
       "Zadaný odemykací kód je mimo svou povolenou dobu platnosti."},
  };
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.name);
    TCodeRecord record = IssuedCode();
    refusal.spoil(record);
    PutCode("55", record);
    const Bytes stored = files.files[CodePath("55")];
    screen.OnHotKey();  // back to the start: check button enabled
    ClearLogs();
    EnterUnhurried("55");

    const LockScreenView& v = screen.view();
    EXPECT_EQ(v.infoLabel.text, refusal.message);
    ExpectLocked();
    EXPECT_FALSE(screen.adminLoggedIn());
    EXPECT_EQ(screen.codePath(), "");
    EXPECT_EQ(v.kod.text, "");
    EXPECT_FALSE(v.skrytBut.visible);
    EXPECT_FALSE(v.prihlasitBut.enabled);
    EXPECT_TRUE(v.odhlasitUseraBut.enabled);
    EXPECT_TRUE(files.writes.empty());
    EXPECT_EQ(files.files[CodePath("55")], stored);
    // Lock, the record's rights, then the refusal's lock: every switch set again at the end.
    EXPECT_EQ(Log(sysLock.log.end() - 16, sysLock.log.end()), AllSixteen(true));
  }
}

TEST_F(CodeCheck, TheValidityWindowHoldsToTheSecondOnItsFirstAndLastDay) {
  PutCode("w", IssuedCode());
  const std::pair<DateTime, bool> moments[] = {
      {{2026, 12, 1, 10, 0, 0}, true},  {{2026, 12, 1, 23, 59, 59}, true},
      {{2026, 12, 2, 0, 0, 0}, true},   {{2026, 12, 2, 4, 0, 0}, true},
      {{2026, 12, 3, 18, 0, 0}, true},  {{2026, 12, 1, 9, 59, 59}, false},
      {{2026, 12, 3, 18, 0, 1}, false}, {{2026, 11, 30, 12, 0, 0}, false},
  };
  for (const auto& [moment, admitted] : moments) {
    SCOPED_TRACE(FormatIso(moment));
    screen.OnHotKey();
    PutCode("w", IssuedCode());
    clock.Set(moment);
    Enter("w");
    EXPECT_EQ(screen.countdown(), admitted ? 3600 : -1);
    EXPECT_EQ(screen.view().stayOnTop, !admitted);
  }
}

TEST_F(CodeCheck, UnsafeEntriesNameNoCodeAndTouchNoFile) {
  // Records planted where the entries would lead, so only the refusal can keep them out.
  for (const char* planted : {"S:\\codes\\\\..\\x.dat", "S:\\codes\\\\C:\\x.dat"})
    files.files[planted] = Bytes(kCodeRecordSize, 0);
  const std::string entries[] = {"..\\x",    "../x",     "C:\\x",  "a:b",    "tab\tcode",
                                 "bell\x7f", ".",        "..",     "CON",    "nul",
                                 "Com1",     "LPT9.txt", "CONIN$", "aux.dat"};
  for (const std::string& entry : entries) {
    SCOPED_TRACE(entry);
    files.lookups = 0;
    EnterUnhurried(entry);
    EXPECT_EQ(files.lookups, 0);
    EXPECT_EQ(screen.view().infoLabel.text,
              "Zadaný odemykací kód neexistuje! Zadejte prosím platný kód.");
    EXPECT_EQ(screen.countdown(), -1);
  }
  // Points, spaces and letters that only look like devices are ordinary codes.
  for (const char* entry : {"a.b", "CONSOLE", "COM10", "my code"}) {
    files.lookups = 0;
    EnterUnhurried(entry);
    EXPECT_GT(files.lookups, 0) << entry;
  }
}

TEST_F(CodeCheck, ACodeFileThatCannotBeReadWholeIsRefusedAndNeverWritten) {
  const auto whole = EncodeCodeRecord(IssuedCode());
  files.files[CodePath("short")] = Bytes(whole.begin(), whole.begin() + 5727);
  PutCode("busy", IssuedCode());
  files.heldOpen.insert(CodePath("busy"));
  for (const std::string& code : std::vector<std::string>{"short", "busy"}) {
    SCOPED_TRACE(code);
    const Bytes stored = files.files[CodePath(code)];
    EnterUnhurried(code);
    EXPECT_EQ(screen.view().infoLabel.text,
              "Odemykací kód se nepodařilo načíst. Zkuste to prosím znovu.");
    ExpectLocked();
    EXPECT_EQ(screen.codePath(), "");
    EXPECT_EQ(screen.view().kod.text, "");
    Ticks(2);
    screen.OnHotKey();
    EXPECT_TRUE(files.writes.empty());
    EXPECT_EQ(files.files[CodePath(code)], stored);
  }
}

TEST_F(CodeCheck, ADailyCodeIsRenewedOnItsFirstUseOfADay) {
  TCodeRecord record = IssuedCode(600, /*reusable=*/true, kCodeTypeDaily);
  record.active = false;  // yesterday's budget ran out
  record.secondsLeft = 0;
  record.lastUse = ToOleDate({2026, 12, 1, 23, 59, 59});
  PutCode("d", record);
  Enter("d");

  EXPECT_EQ(screen.countdown(), 600);
  EXPECT_FALSE(screen.view().stayOnTop);
  TCodeRecord renewed = record;
  renewed.secondsLeft = 600;
  renewed.active = true;
  renewed.lastUse = ToOleDate(kNoon);
  ASSERT_EQ(files.writes.size(), 3u);  // the renewal, then the claim and Sentavo.run
  EXPECT_EQ(DecodeCodeRecord(files.writes[0].second), renewed);
  renewed.loggedIn = true;
  EXPECT_EQ(files.Record(CodePath("d")), renewed);

  // Split later the same day: the rest of today's time is used, nothing renewed.
  Ticks(100);
  screen.OnOdhlasitUseraClick();
  files.writes.clear();
  Enter("d");
  EXPECT_EQ(screen.countdown(), 500);
  EXPECT_EQ(files.writes.size(), 2u);  // the claim and Sentavo.run only
}

TEST_F(CodeCheck, ADailyRenewalStaysWrittenWhenTheWindowRefusesTheCode) {
  TCodeRecord record = IssuedCode(600, true, kCodeTypeDaily);
  record.validToDate = ToOleDate({2026, 12, 1});
  PutCode("d", record);
  Enter("d");
  EXPECT_EQ(screen.view().infoLabel.text,
            "Zadaný odemykací kód je mimo svou povolenou dobu platnosti.");
  ASSERT_EQ(files.writes.size(), 1u);
  EXPECT_EQ(files.Record(CodePath("d")).lastUse, ToOleDate(kNoon));
  EXPECT_FALSE(files.Record(CodePath("d")).loggedIn);
}

TEST_F(CodeCheck, AOneTimeCodeIsNeverRenewed) {
  TCodeRecord record = IssuedCode();
  record.active = false;
  record.lastUse = ToOleDate({2026, 11, 20});
  PutCode("o", record);
  Enter("o");
  EXPECT_EQ(screen.view().infoLabel.text,
            "Zadaný odemykací kód je již neplatný! Zadejte prosím platný kód.");
  EXPECT_TRUE(files.writes.empty());
}

}  // namespace
}  // namespace sentavo::client::test
