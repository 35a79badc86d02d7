#include <gtest/gtest.h>

#include "admin_fixture.h"

namespace sentavo::admin::test {
namespace {

using Msgs = std::vector<Message>;
using Names = std::vector<std::string>;

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

  // The other "A" has no file now: the entry stays, the list is saved unchanged.
  EXPECT_EQ(Delete(0), Msgs{});
  EXPECT_EQ(issued().vydane, (Names{"A", "B"}));
  EXPECT_EQ(issued().selected, 0u);
  EXPECT_EQ(files.replaceCalls(), writes + 2);
  EXPECT_EQ(files.Text(kCodesDat), "A\r\nB\r\n");
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

TEST_F(IssuedCodes, ACodeFileThatCannotBeDeletedIsReportedAndKeepsItsEntry) {
  files.FailRemove(kShare + "B.dat", io::kAccessDenied);
  EXPECT_EQ(Delete(1), Msgs{Stop("File access denied")});
  EXPECT_TRUE(files.IsFile(kShare + "B.dat"));
  EXPECT_EQ(issued().vydane, (Names{"A", "B", "A"}));
  EXPECT_EQ(issued().selected, 1u);
}

TEST_F(IssuedCodes, AListThatCannotBeSavedIsReportedWithItsPath) {
  files.FailReplace(kCodesDat, io::kAccessDenied);
  EXPECT_EQ(Delete(1), Msgs{Stop("Cannot create file C:\\Sentavo\\codes.dat")});
  EXPECT_EQ(issued().vydane, (Names{"A", "A"}));  // the window has changed already
  EXPECT_EQ(files.Text(kCodesDat), "A\nB\nA\n");
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

}  // namespace
}  // namespace sentavo::admin::test
