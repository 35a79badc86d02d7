#include <gtest/gtest.h>

#include "admin_fixture.h"

namespace sentavo::admin::test {
namespace {

using Msgs = std::vector<Message>;
using Names = std::vector<std::string>;
using Kind = ui::RowChange::Kind;

// A list control as the window has one: it holds rows of its own and changes them only as the
// model's history of the list tells it to.
struct FollowingList {
  Kind Follow(const IssuedCodesTab& tab) {
    const ui::RowChange change = tab.vydaneRows.Since(shown, tab.RowCount());
    const auto at = [&](std::size_t i) { return rows.begin() + static_cast<std::ptrdiff_t>(i); };
    switch (change.kind) {
      case Kind::None: break;
      case Kind::Insert: rows.insert(at(change.index), std::string(tab.Row(change.index))); break;
      case Kind::Remove: rows.erase(at(change.index)); break;
      case Kind::Refill:
        rows.clear();
        for (std::size_t i = 0; i < tab.RowCount(); ++i) rows.emplace_back(tab.Row(i));
        break;
    }
    shown = tab.vydaneRows.revision();
    return change.kind;
  }
  Names rows;
  std::uint64_t shown = 0;
};

class IssuedCodes : public AdminTest {
 protected:
  void SetUp() override {
    files.Put(kCodesDat, std::string("A\nB\nA\n"));  // lone LF line ends, a name twice
    files.Put(kShare + "A.dat", std::string(kCodeRecordSize, '\0'));
    files.Put(kShare + "B.dat", std::string(kCodeRecordSize, '\0'));
    StartLoggedIn();
  }
  Msgs Delete(std::optional<std::size_t> index) {
    codes().OnVydaneSelected(index);
    return Messages(codes().OnOdstranit());
  }
};

TEST_F(IssuedCodes, OdstranitDeletesTheFileAndTheEntryAndSavesTheList) {
  EXPECT_EQ(issued().vydane, (Names{"A", "B", "A"}));
  const int writes = files.replaceCalls();
  EXPECT_EQ(Delete(std::nullopt), Msgs{});
  EXPECT_EQ(files.replaceCalls(), writes);  // nothing selected: nothing saved

  EXPECT_EQ(Delete(2), Msgs{});
  EXPECT_FALSE(files.IsFile(kShare + "A.dat"));
  EXPECT_EQ(issued().vydane, (Names{"A", "B"}));
  EXPECT_EQ(issued().selected, std::nullopt);
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nB\r\n");

  // The other "A" has no file now: its entry names no code and goes, and the operator is told.
  EXPECT_EQ(Delete(0), Msgs{Info("Soubor kódu nebyl nalezen; záznam byl odebrán.")});
  EXPECT_EQ(issued().vydane, Names{"B"});
  EXPECT_EQ(issued().selected, std::nullopt);
  EXPECT_EQ(files.Text(kCodesDat), "B\r\n");
  EXPECT_EQ(files.Text(kCodesDat + ".bak"), "A\r\nB\r\n");  // the version before
  EXPECT_EQ(files.replaceCalls(), writes + 4);              // each save: the copy, then the list
}

TEST_F(IssuedCodes, EachRewriteKeepsThePreviousListAsBak) {
  EXPECT_EQ(Delete(1), Msgs{});
  EXPECT_EQ(files.Text(kCodesDat + ".bak"), "A\nB\nA\n");  // byte for byte, as it was
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nA\r\n");

  // A copy that cannot be written stops the save: the list on the disk stays as it was.
  files.FailReplace(kCodesDat + ".bak", io::kDiskFull);
  EXPECT_EQ(Delete(0), Msgs{Stop("Cannot create file C:\\Sentavo\\codes.dat.bak")});
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nA\r\n");
  EXPECT_EQ(files.Text(kCodesDat + ".bak"), "A\nB\nA\n");

  // Without a codes.dat there is nothing to keep: no copy is written.
  files.FailReplace(kCodesDat + ".bak", io::kOk);
  files.Remove(kCodesDat);
  files.Remove(kCodesDat + ".bak");
  codes().OnTypKoduChanged(0);
  codes().OnKodChanged("N");
  codes().OnUlozitKod();
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nN\r\n");
  EXPECT_FALSE(files.IsFile(kCodesDat + ".bak"));
}

TEST_F(IssuedCodes, ARefusedDeletionNamesTheCodeAndTheReasonAndSavesNothing) {
  const int writes = files.replaceCalls();
  files.FailRemove(kShare + "B.dat", io::kAccessDenied);
  EXPECT_EQ(Delete(1), Msgs{Error("Kód B nelze odstranit: File access denied")});
  EXPECT_TRUE(files.IsFile(kShare + "B.dat"));
  EXPECT_EQ(issued().vydane, (Names{"A", "B", "A"}));
  EXPECT_EQ(issued().selected, 1u);
  EXPECT_EQ(files.replaceCalls(), writes);

  // A file that went between the look and the deletion is a missing file.
  files.FailRemove(kShare + "B.dat", io::kFileNotFound);
  EXPECT_EQ(Delete(1), Msgs{Info(text::kCodeFileMissing)});
  EXPECT_EQ(issued().vydane, (Names{"A", "A"}));
}

TEST_F(IssuedCodes, OdstranitFindsTheCodeAlsoWhileTheServerPathLacksItsBackslash) {
  files.AddFolder("\\\\server");
  files.Put("\\\\server\\kodyB.dat", std::string("a stranger's file"));
  codes().OnServercestaChanged("\\\\server\\kody");
  EXPECT_EQ(Delete(1), Msgs{});
  EXPECT_FALSE(files.IsFile(kShare + "B.dat"));
  EXPECT_TRUE(files.IsFile("\\\\server\\kodyB.dat"));
  EXPECT_EQ(issued().vydane, (Names{"A", "A"}));
}

TEST_F(IssuedCodes, AListThatCannotBeSavedIsReportedWithItsPath) {
  files.FailReplace(kCodesDat, io::kAccessDenied);
  EXPECT_EQ(Delete(1), Msgs{Stop("Cannot create file C:\\Sentavo\\codes.dat")});
  EXPECT_EQ(issued().vydane, (Names{"A", "A"}));  // the window has changed already
  EXPECT_EQ(files.Text(kCodesDat), "A\nB\nA\n");
  EXPECT_EQ(files.Text(kCodesDat + ".bak"), "A\nB\nA\n");
}

TEST_F(IssuedCodes, TheListControlFollowsEachNewCodeAndEachDeletionByOneRow) {
  FollowingList control;
  EXPECT_EQ(control.Follow(issued()), Kind::Refill);  // the login's list
  EXPECT_EQ(control.rows, (Names{"A", "B", "A"}));
  EXPECT_EQ(control.Follow(issued()), Kind::None);

  codes().OnTypKoduChanged(0);
  codes().OnKodChanged("Z");
  codes().OnUlozitKod();
  EXPECT_EQ(control.Follow(issued()), Kind::Insert);
  EXPECT_EQ(control.rows, (Names{"A", "B", "A", "Z"}));

  EXPECT_EQ(Delete(1), Msgs{});
  EXPECT_EQ(control.Follow(issued()), Kind::Remove);
  EXPECT_EQ(control.rows, (Names{"A", "A", "Z"}));

  // A code saved again keeps its entry; a refused deletion keeps the list.
  codes().OnKodChanged("Z");
  codes().OnUlozitKod();
  files.FailRemove(kShare + "A.dat", io::kAccessDenied);
  EXPECT_EQ(Delete(0).size(), 1u);
  EXPECT_EQ(control.Follow(issued()), Kind::None);
  EXPECT_EQ(issued().selected, 0u);

  // A control that missed a change cannot follow row by row.
  files.FailRemove(kShare + "A.dat", io::kOk);
  EXPECT_EQ(Delete(2), Msgs{});
  EXPECT_EQ(Delete(1), Msgs{});
  EXPECT_EQ(control.Follow(issued()), Kind::Refill);
  EXPECT_EQ(control.rows, Names{"A"});

  codes().OnClose();
  LogIn("tajne");
  EXPECT_EQ(control.Follow(issued()), Kind::Refill);
  EXPECT_EQ(control.rows, Names{"A"});
}

TEST(CodesListFile, AFileLongerThanTheLimitIsUnreadableSoThatNoPartOfItIsSavedOver) {
  sentavo::test::MemoryFiles files;
  files.AddFolder(kWork);
  files.Put(kCodesDat, std::string("A\r\nB\r\n"));
  const CodesListFile whole = ReadCodesListFile(files, kCodesDat, 6);
  EXPECT_EQ(whole.state, CodesListFile::State::Read);
  EXPECT_EQ(whole.bytes.size(), 6u);
  const CodesListFile longer = ReadCodesListFile(files, kCodesDat, 5);
  EXPECT_EQ(longer.state, CodesListFile::State::Unreadable);
  EXPECT_TRUE(longer.bytes.empty());
  EXPECT_EQ(ReadCodesListFile(files, kWork + "\\chybi.dat").state, CodesListFile::State::Absent);
}

// codes.dat was there at login but could not be read, so the window shows only the list of an
// earlier login (here: none). Writing that would drop the names the file holds.
class UnreadableList : public IssuedCodes {
 protected:
  void SetUp() override {
    files.Put(kCodesDat, std::string("A\r\nB\r\nA\r\n"));
    files.Put(kShare + "A.dat", std::string(kCodeRecordSize, '\0'));
    files.Put(kShare + "B.dat", std::string(kCodeRecordSize, '\0'));
    files.FailRead(kCodesDat, 32);  // a sharing violation
    TConfigRecord config;
    config.adminPassword = "tajne";
    config.serverPath = kShare;
    PutConfig(config);
    Start();
    ASSERT_EQ(Messages(LogIn("tajne")), Msgs{Stop("Cannot open file C:\\Sentavo\\codes.dat")});
    ASSERT_EQ(issued().vydane, Names{});
    codes().OnTypKoduChanged(0);
  }
  Msgs SaveCode(const std::string& name) {
    codes().OnKodChanged(name);
    return Messages(codes().OnUlozitKod());
  }
};

TEST_F(UnreadableList, ASaveThatStillCannotReadTheListWritesTheCodeAndNotTheList) {
  EXPECT_EQ(SaveCode("N"), (Msgs{Info(text::kCodeCreated),
                                 Error("Seznam vydaných kódů (codes.dat) nelze načíst, proto "
                                       "nebyl uložen.")}));
  EXPECT_TRUE(CodeFile("N"));
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nB\r\nA\r\n");
  EXPECT_FALSE(files.IsFile(kCodesDat + ".bak"));
  EXPECT_EQ(issued().vydane, Names{"N"});  // shown, though not saved

  // Readable again: the next save reads the whole list and adds to it.
  FollowingList control;
  control.Follow(issued());
  files.FailRead(kCodesDat, io::kOk);
  EXPECT_EQ(SaveCode("M"), Msgs{Info(text::kCodeCreated)});
  EXPECT_EQ(issued().vydane, (Names{"A", "B", "A", "M"}));
  EXPECT_EQ(control.Follow(issued()), Kind::Refill);  // read afresh, then added to
  EXPECT_EQ(control.rows, (Names{"A", "B", "A", "M"}));
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nB\r\nA\r\nM\r\n");
  EXPECT_EQ(files.Text(kCodesDat + ".bak"), "A\r\nB\r\nA\r\n");
}

TEST_F(UnreadableList, ADeletionGoesOntoTheListAsTheFileHoldsIt) {
  // The window shows a name from this run only; the file does not hold it.
  EXPECT_EQ(SaveCode("B"), Msgs{Info(text::kCodeReplaced)});
  EXPECT_EQ(issued().vydane, Names{});
  ASSERT_EQ(SaveCode("N").size(), 2u);
  EXPECT_EQ(issued().vydane, Names{"N"});

  // Still unreadable: the code file goes, the list on the disk stays whole.
  EXPECT_EQ(Delete(0), Msgs{Error(text::kCodesListNotSaved)});
  EXPECT_FALSE(files.IsFile(kShare + "N.dat"));
  EXPECT_EQ(issued().vydane, Names{});
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nB\r\nA\r\n");

  // Readable again: a deletion reads the list first and removes the name from what it holds.
  files.FailRead(kCodesDat, io::kOk);
  // The list is read at the save, and the new name goes onto it.
  EXPECT_EQ(SaveCode("N"), Msgs{Info(text::kCodeCreated)});
  EXPECT_EQ(issued().vydane, (Names{"A", "B", "A", "N"}));
  codes().OnVydaneSelected(1);
  EXPECT_EQ(Messages(codes().OnOdstranit()), Msgs{});
  EXPECT_EQ(issued().vydane, (Names{"A", "A", "N"}));
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nA\r\nN\r\n");
}

TEST_F(UnreadableList, AListReadableAtTheNextLoginIsLoadedAndSavedAsUsual) {
  files.FailRead(kCodesDat, io::kOk);
  codes().OnClose();
  ASSERT_EQ(Messages(LogIn("tajne")), Msgs{});
  EXPECT_EQ(issued().vydane, (Names{"A", "B", "A"}));
  EXPECT_EQ(SaveCode("N"), Msgs{Info(text::kCodeCreated)});
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nB\r\nA\r\nN\r\n");
}

TEST_F(IssuedCodes, ADoubleClickTakesTheSelectedNameOverAndASaveReplacesThatCode) {
  codes().OnKodChanged("beze změny");
  codes().OnVydaneDoubleClick();
  EXPECT_EQ(creation().kod, "beze změny");
  EXPECT_EQ(codes().view().activeTab, CodeTab::VydaneKody);

  const CodeCreationTab before = creation();
  codes().OnVydaneSelected(1);
  codes().OnVydaneDoubleClick();
  EXPECT_EQ(creation().kod, "B");
  EXPECT_EQ(codes().view().activeTab, CodeTab::VytvareniKodu);
  EXPECT_EQ(creation().rights, before.rights);
  EXPECT_EQ(creation().budget, before.budget);
  EXPECT_EQ(creation().datumod, before.datumod);

  codes().OnTypKoduChanged(0);
  EXPECT_EQ(Messages(codes().OnUlozitKod()), Msgs{Info(text::kCodeReplaced)});
  EXPECT_EQ(files.Get(kShare + "B.dat")->size(), kCodeRecordSize);
  EXPECT_EQ(CodeFile("B")->secondsLeft, 3600);
  EXPECT_EQ(issued().vydane, (Names{"A", "B", "A"}));
}

TEST_F(IssuedCodes, NewNamesGoToTheEndAndTheFileFollowsTheWindowInCrLf) {
  codes().OnTypKoduChanged(1);
  for (const std::string name : {"Z", "M"}) {
    codes().OnKodChanged(name);
    codes().OnUlozitKod();
  }
  EXPECT_EQ(issued().vydane, (Names{"A", "B", "A", "Z", "M"}));
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nB\r\nA\r\nZ\r\nM\r\n");

  // Deleting every entry leaves an empty file.
  for (const std::size_t i : {4u, 3u, 2u, 1u}) Delete(i);
  EXPECT_EQ(issued().vydane, Names{"A"});  // its file went with the other "A"
  files.Put(kShare + "A.dat", std::string(kCodeRecordSize, '\0'));
  EXPECT_EQ(Delete(0), Msgs{});
  EXPECT_EQ(issued().vydane, Names{});
  EXPECT_EQ(files.Get(kCodesDat), std::vector<std::uint8_t>{});
}

class Hledat : public AdminTest {
 protected:
  void SetUp() override {
    // codes.dat holds Windows-1250: "kavárna1", "KAVÁRNA2", "knihovna", "čaj".
    files.Put(kCodesDat, std::string("kav\xE1rna1\nKAV\xC1RNA2\nknihovna\n\xE8"
                                     "aj\n"));
    for (const char* name : {"kavárna1", "KAVÁRNA2", "knihovna", "čaj"}) {
      files.Put(kShare + name + ".dat", std::string(kCodeRecordSize, '\0'));
    }
    StartLoggedIn();
    control.Follow(issued());
  }
  FollowingList control;
};

TEST_F(Hledat, TheListShowsTheNamesThatHoldTheTextInAnyCaseAndFollowsEachKeystroke) {
  codes().OnHledatChanged("Vá");
  EXPECT_EQ(control.Follow(issued()), Kind::Refill);
  EXPECT_EQ(control.rows, (Names{"kavárna1", "KAVÁRNA2"}));
  codes().OnHledatChanged("vár");
  control.Follow(issued());
  EXPECT_EQ(control.rows, (Names{"kavárna1", "KAVÁRNA2"}));
  codes().OnHledatChanged("vára");
  control.Follow(issued());
  EXPECT_EQ(control.rows, Names{});
  codes().OnHledatChanged("K");
  control.Follow(issued());
  EXPECT_EQ(control.rows, (Names{"kavárna1", "KAVÁRNA2", "knihovna"}));
  codes().OnHledatChanged("");
  control.Follow(issued());
  EXPECT_EQ(control.rows, (Names{"kavárna1", "KAVÁRNA2", "knihovna", "čaj"}));
  EXPECT_EQ(issued().shown, std::nullopt);
}

TEST_F(Hledat, OdstranitAndTheDoubleClickActOnTheRowShownNotOnTheListsRow) {
  codes().OnHledatChanged("n");
  control.Follow(issued());
  EXPECT_EQ(control.rows, (Names{"kavárna1", "KAVÁRNA2", "knihovna"}));
  codes().OnVydaneSelected(2);
  codes().OnVydaneDoubleClick();
  EXPECT_EQ(creation().kod, "knihovna");

  codes().OnVydaneSelected(1);
  EXPECT_EQ(Messages(codes().OnOdstranit()), Msgs{});
  EXPECT_FALSE(files.IsFile(kShare + "KAVÁRNA2.dat"));
  EXPECT_TRUE(files.IsFile(kShare + "čaj.dat"));
  EXPECT_EQ(files.Text(kCodesDat),
            "kav\xE1rna1\r\nknihovna\r\n\xE8"
            "aj\r\n");
  EXPECT_EQ(control.Follow(issued()), Kind::Refill);
  EXPECT_EQ(control.rows, (Names{"kavárna1", "knihovna"}));
  EXPECT_EQ(issued().selected, std::nullopt);
}

TEST_F(Hledat, TheSelectedCodeStaysSelectedWhileShownAndANewCodeShowsWhenItMatches) {
  codes().OnVydaneSelected(2);  // "knihovna"
  codes().OnHledatChanged("n");
  EXPECT_EQ(issued().selected, 2u);
  codes().OnHledatChanged("kn");
  EXPECT_EQ(issued().selected, 0u);
  codes().OnHledatChanged("");
  EXPECT_EQ(issued().selected, 2u);
  codes().OnHledatChanged("ka");
  EXPECT_EQ(issued().selected, std::nullopt);  // not shown, so not acted on

  codes().OnVydaneSelected(1);  // "KAVÁRNA2"
  codes().OnTypKoduChanged(0);
  for (const char* name : {"Kachna", "pes"}) {
    codes().OnKodChanged(name);
    codes().OnUlozitKod();
  }
  control.Follow(issued());
  EXPECT_EQ(control.rows, (Names{"kavárna1", "KAVÁRNA2", "Kachna"}));
  EXPECT_EQ(issued().selected, 1u);
  EXPECT_EQ(issued().vydane.size(), 6u);

  // A new login reads the list afresh; the typed text still filters it.
  codes().OnClose();
  LogIn("tajne");
  control.Follow(issued());
  EXPECT_EQ(control.rows, (Names{"kavárna1", "KAVÁRNA2", "Kachna"}));
}

}  // namespace
}  // namespace sentavo::admin::test
