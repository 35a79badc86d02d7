#include <gtest/gtest.h>

#include <sstream>

#include "admin_fixture.h"
#include "formats/validity.h"
#include "tool.h"

namespace sentavo::admin::test {
namespace {

using Msgs = std::vector<Message>;

class CodeCreation : public AdminTest {
 protected:
  void SetUp() override {
    StartLoggedIn();
    codes().OnTypKoduChanged(0);
    codes().OnKodChanged("ABC");
  }
  Msgs Save() { return Messages(codes().OnUlozitKod()); }
};

TEST_F(CodeCreation, RefusesAMissingTypeOrNameBeforeWritingAnything) {
  codes().OnTypKoduChanged(std::nullopt);
  codes().OnKodChanged("");
  EXPECT_EQ(Save(), Msgs{Error(text::kChooseCodeType)});
  codes().OnTypKoduChanged(1);
  EXPECT_EQ(Save(), Msgs{Error(text::kEnterCodeName)});
  codes().OnKodChanged(" ");  // only the empty text is refused by this rule
  EXPECT_EQ(Save(), Msgs{Error(text::kBadCodeName)});
  codes().OnKodChanged(" x");
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeCreated)});
  EXPECT_TRUE(CodeFile(" x"));
}

TEST_F(CodeCreation, RefusesNamesThatAreNoPlainFileNames) {
  for (const std::string name :
       {"a\\b", "..\\x",  "a/b",    "C:x", "a*", "a?",  "a\"b", "<a",       "a>",   "a|b",
        "a\tb", "konec ", "konec.", ".",   "..", "CON", "nul",  "com1.txt", "LPT9", "aux .dat"}) {
    codes().OnKodChanged(name);
    EXPECT_EQ(Save(), Msgs{Error(text::kBadCodeName)}) << name;
  }
  EXPECT_EQ(files.replaceCalls(), 0);
  EXPECT_TRUE(issued().vydane.empty());
}

TEST_F(CodeCreation, RefusesTextsThatWindows1250CannotHold) {
  codes().OnKodChanged("Ωmega");
  EXPECT_EQ(Save(), Msgs{Error(text::kUnstorableText)});
  codes().OnKodChanged("Žluťoučký kůň");  // Czech is fine
  codes().OnProvozChanged("Café ☕");
  EXPECT_EQ(Save(), Msgs{Error(text::kUnstorableText)});
  EXPECT_EQ(files.replaceCalls(), 0);
  codes().OnProvozChanged("Łódź, Café");  // Polish and western European letters are fine too
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeCreated)});
  EXPECT_EQ(CodeFile("Žluťoučký kůň")->establishment, "Łódź, Café");
  EXPECT_EQ(files.Text(kCodesDat), "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n");
}

// The record "Uložit kód" writes is the one `sentavo-codes issue` writes for the same inputs.
TEST_F(CodeCreation, WritesWhatSentavoCodesIssueWritesForTheSameInputs) {
  codes().OnNavrhnout();  // seven days from now, reusable
  codes().OnKodChanged("Novák 1");
  ClearRights();
  for (const Right r : {Right::alttab, Right::ctrlaltdel, Right::nowinkeys})
    codes().OnRightChanged(r, true);
  codes().OnBudgetTyped("5\u00A0400", "\u00A0");
  codes().OnTypKoduChanged(1);
  ASSERT_EQ(Save(), Msgs{Info(text::kCodeCreated)});

  std::ostringstream out, err;
  ToolEnv env{out, err, files, clock, formats, '\\'};
  ASSERT_EQ(RunSentavoCodes({"issue", "--share", kShare, "--name", "tool", "--seconds", "5400",
                             "--type", "daily", "--reusable", "--establishment", "Kavárna U Lípy",
                             "--rights", "alttab,ctrlaltdel,nowinkeys", "--from",
                             "2026-03-14T09:26:53", "--to", "2026-03-21T09:26:53"},
                            env),
            0)
      << err.str();

  const TCodeRecord a = *CodeFile("Novák 1");
  const TCodeRecord b = *CodeFile("tool");
  EXPECT_EQ(a.rights, b.rights);
  EXPECT_EQ(a.reusable, b.reusable);
  EXPECT_EQ(a.active, b.active);
  EXPECT_EQ(a.reserved17, b.reserved17);
  EXPECT_EQ(a.secondsLeft, b.secondsLeft);
  EXPECT_EQ(a.establishment, b.establishment);
  EXPECT_EQ(a.validFromDate, b.validFromDate);
  EXPECT_EQ(a.validToDate, b.validToDate);
  EXPECT_EQ(a.validFromTime, b.validFromTime);
  EXPECT_EQ(a.validToTime, b.validToTime);
  EXPECT_EQ(a.lastUse, b.lastUse);
  EXPECT_EQ(a.codeType, b.codeType);
  EXPECT_EQ(a.dailySeconds, b.dailySeconds);
  EXPECT_EQ(a.reserved328, b.reserved328);
  EXPECT_EQ(a.loggedIn, b.loggedIn);
  EXPECT_EQ(a.reserved336, b.reserved336);
  EXPECT_EQ(a.validFromDateText, b.validFromDateText);
  EXPECT_EQ(a.validFromTimeText, b.validFromTimeText);
  EXPECT_EQ(a.reserved868, b.reserved868);
  EXPECT_EQ(a.validToDateText, b.validToDateText);
  EXPECT_EQ(a.validToTimeText, b.validToTimeText);
  EXPECT_EQ(a.reserved3172, b.reserved3172);
  EXPECT_EQ(a.created, b.created);
  EXPECT_EQ(files.Get(kShare + "Novák 1.dat"), files.Get(kShare + "tool.dat"));
  // ...and the values are the tab's, not merely equal to each other.
  EXPECT_EQ(a.secondsLeft, 5400);
  EXPECT_EQ(a.codeType, kCodeTypeDaily);
  EXPECT_EQ(a.validFromDateText + " " + a.validFromTimeText, "14.3.2026 9:26:53");
  EXPECT_EQ(a.validToDateText, "21.3.2026");
  EXPECT_EQ(program->state().code, a);
}

// What the client's code check looks at, read back from the file as a client reads it.
TEST_F(CodeCreation, AnIssuedCodeIsAcceptedByTheClientsChecks) {
  const std::string clientEstablishment = "Kavárna U Lípy";
  for (const std::size_t type : {0u, 1u}) {
    codes().OnTypKoduChanged(type);
    codes().OnKodChanged("kod" + std::to_string(type));
    ASSERT_EQ(Save(), Msgs{Info(text::kCodeCreated)});
    const auto r = CodeFile(creation().kod);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->loggedIn);
    EXPECT_EQ(r->establishment, clientEstablishment);
    EXPECT_TRUE(r->active);
    EXPECT_EQ(r->secondsLeft, 3600);
    EXPECT_EQ(r->codeType, static_cast<std::int32_t>(type));
    // From the showing of the window (now, seconds only) for one day.
    EXPECT_TRUE(CodeInsideValidityWindow(*r, {2026, 3, 14, 9, 26, 53}));
    EXPECT_TRUE(CodeInsideValidityWindow(*r, {2026, 3, 15, 9, 26, 53}));
    EXPECT_FALSE(CodeInsideValidityWindow(*r, {2026, 3, 14, 9, 26, 52}));
    EXPECT_FALSE(CodeInsideValidityWindow(*r, {2026, 3, 15, 9, 26, 54}));
    // A new daily code counts as not yet used today.
    EXPECT_LT(DateKey(*FromOleDate(r->lastUse)), DateKey(clock.now));
  }
}

TEST_F(CodeCreation, ANewNameIsCreatedAndListedAnExistingOneReplaced) {
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeCreated)});
  EXPECT_EQ(issued().vydane, std::vector<std::string>{"ABC"});
  EXPECT_EQ(files.Text(kCodesDat), "ABC\r\n");

  // Saving again gives a fresh record with the tab's values, and leaves the list alone.
  TCodeRecord used = *CodeFile("ABC");
  used.active = false;
  used.loggedIn = true;
  used.secondsLeft = 0;
  const auto usedBytes = EncodeCodeRecord(used);
  files.Put(kShare + "ABC.dat", std::vector<std::uint8_t>(usedBytes.begin(), usedBytes.end()));
  codes().OnBudgetTyped("60", "\u00A0");
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeReplaced)});
  EXPECT_TRUE(CodeFile("ABC")->active);
  EXPECT_FALSE(CodeFile("ABC")->loggedIn);
  EXPECT_EQ(CodeFile("ABC")->secondsLeft, 60);
  EXPECT_EQ(issued().vydane, std::vector<std::string>{"ABC"});

  // A code file the list lacks is replaced without listing it; a listed name without a file is
  // created and listed again.
  files.Put(kShare + "cizí.dat", std::string(10, 'x'));
  codes().OnKodChanged("cizí");
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeReplaced)});
  EXPECT_EQ(files.Get(kShare + "cizí.dat")->size(), kCodeRecordSize);
  files.Remove(kShare + "ABC.dat");
  codes().OnKodChanged("ABC");
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeCreated)});
  EXPECT_EQ(issued().vydane, (std::vector<std::string>{"ABC", "ABC"}));
  EXPECT_EQ(files.Text(kCodesDat), "ABC\r\nABC\r\n");
}

TEST_F(CodeCreation, TheSeparatorIsAlwaysInsertedAfterTheServerPath) {
  codes().OnServercestaChanged("\\\\server\\kody");  // typed without its backslash, not saved
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeCreated)});
  EXPECT_TRUE(CodeFile("ABC"));
}

TEST_F(CodeCreation, AFailedWriteIsReportedAndChangesNoList) {
  codes().OnServercestaChanged("\\\\server\\chybí\\");
  EXPECT_EQ(codes().OnUlozitKod(), (Requests{Stop("Invalid filename")}));
  EXPECT_FALSE(files.IsFile(kCodesDat));

  codes().OnServercestaChanged(kShare);
  files.FailReplace(kShare + "ABC.dat", io::kAccessDenied);
  EXPECT_EQ(Save(), Msgs{Stop("File access denied")});
  EXPECT_TRUE(issued().vydane.empty());
  EXPECT_FALSE(files.IsFile(kCodesDat));

  // Replacing an existing code fails whole: the old record stays as it was.
  files.Put(kShare + "ABC.dat", std::string(kCodeRecordSize, '\x07'));
  files.FailReplace(kShare + "ABC.dat", io::kDiskFull);
  EXPECT_EQ(Save(), Msgs{Stop("Disk full")});
  EXPECT_EQ(files.Text(kShare + "ABC.dat"), std::string(kCodeRecordSize, '\x07'));
}

TEST_F(CodeCreation, ACodesDatThatCannotBeWrittenIsReportedAfterTheConfirmation) {
  files.Put(kCodesDat, std::string("starý\r\n"));
  files.FailReplace(kCodesDat, 32);
  EXPECT_EQ(Save(),
            (Msgs{Info(text::kCodeCreated), Stop("Cannot create file C:\\Sentavo\\codes.dat")}));
  EXPECT_TRUE(CodeFile("ABC"));
  EXPECT_EQ(issued().vydane, std::vector<std::string>{"ABC"});
  EXPECT_EQ(files.Text(kCodesDat), "starý\r\n");
}

TEST_F(CodeCreation, TheBudgetTakesTheButtonsAndValidTypedTextsOnly) {
  const CodeCreationTab before = creation();
  codes().OnBudgetButton(2);
  EXPECT_EQ(creation().budget, 7200);
  codes().OnBudgetButton(3);
  EXPECT_EQ(creation().budget, 10800);
  codes().OnBudgetButton(1);
  EXPECT_EQ(creation().budget, 3600);
  EXPECT_EQ(creation().kod, before.kod);
  EXPECT_EQ(creation().rights, before.rights);
  EXPECT_EQ(creation().datumdo, before.datumdo);
  EXPECT_EQ(creation().canDivide, before.canDivide);

  codes().OnBudgetTyped("32 767", "\u00A0");
  codes().OnBudgetTyped("32 768", "\u00A0");  // out of range: the last valid value stays
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeCreated)});
  EXPECT_EQ(CodeFile("ABC")->secondsLeft, 32767);
  EXPECT_EQ(CodeFile("ABC")->dailySeconds, 32767);
  codes().OnBudgetTyped("60", "");
  codes().OnBudgetTyped("6", "");
  Save();
  EXPECT_EQ(CodeFile("ABC")->secondsLeft, 60);
}

TEST_F(CodeCreation, AValidityWindowEndingBeforeItStartsIsWrittenAsChosen) {
  codes().OnDatumDoChanged({2026, 3, 1});
  codes().OnCasDoChanged({1899, 12, 30, 6, 0, 0});
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeCreated)});
  const auto r = CodeFile("ABC");
  EXPECT_EQ(FromOleDate(r->validToDate), (DateTime{2026, 3, 1}));
  EXPECT_EQ(FromOleDate(r->validToTime), (DateTime{1899, 12, 30, 6, 0, 0}));
  EXPECT_FALSE(CodeInsideValidityWindow(*r, clock.now));
}

TEST_F(CodeCreation, LongEstablishmentsAreCutAndForeignDateMarksStoredAsQuestionMarks) {
  class KoreanFormats final : public DateTimeFormats {
   public:
    std::string ShortDate(const DateTime&) const override { return "2026-03-14"; }
    std::string LongTime(const DateTime&) const override { return "오후 9:26:53"; }
  };
  KoreanFormats korean;
  program = std::make_unique<AdminProgram>(AdminServices{files, clock, korean}, kWork);
  program->Start();
  LogIn("tajne");
  codes().OnTypKoduChanged(0);
  codes().OnKodChanged("k");
  std::string longName;
  for (int i = 0; i < 300; ++i) longName += "é";
  codes().OnProvozChanged(longName);
  EXPECT_EQ(Save(), Msgs{Info(text::kCodeCreated)});
  const auto r = CodeFile("k");
  EXPECT_EQ(r->establishment, longName.substr(0, 2 * 255));
  EXPECT_EQ(r->validFromTimeText, "?? 9:26:53");
  EXPECT_EQ(program->state().code, *r);
}

}  // namespace
}  // namespace sentavo::admin::test
