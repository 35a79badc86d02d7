// "Tisk poukázek…": what opens the dialog, the count and the preview, and the batch that the
// print dialog's OK issues onto the share and the list.
#include <gtest/gtest.h>

#include "admin_fixture.h"

namespace sentavo::admin::test {
namespace {

using Msgs = std::vector<Message>;
using Names = std::vector<std::string>;

class Vouchers : public AdminTest {
 protected:
  void SetUp() override {
    files.Put(kCodesDat, std::string("stary\r\n"));
    StartLoggedIn();
    codes().OnTypKoduChanged(0);
    codes().OnBudgetButton(2);
  }
  const VoucherDialog& dialog() { return codes().view().vouchers; }
  Names Printed() {
    Names names;
    for (const Voucher& v : dialog().printed.vouchers) names.push_back(v.code);
    return names;
  }
};

TEST_F(Vouchers, TheDialogOpensOnlyForSettingsThatCanBeIssued) {
  codes().OnTypKoduChanged(std::nullopt);
  EXPECT_EQ(Messages(codes().OnTiskPoukazek()), Msgs{Error(text::kChooseCodeType)});
  EXPECT_FALSE(dialog().open);
  codes().OnTypKoduChanged(1);
  codes().OnProvozChanged("Kavárna ☕");  // no Windows-1250 for the cup
  EXPECT_EQ(Messages(codes().OnTiskPoukazek()), Msgs{Error(text::kUnstorableText)});
  EXPECT_FALSE(dialog().open);
  codes().OnProvozChanged("Kavárna U Lípy");
  EXPECT_EQ(Messages(codes().OnTiskPoukazek()), Msgs{});
  EXPECT_TRUE(dialog().open);
  codes().OnVoucherDialogClosed();
  EXPECT_FALSE(dialog().open);
}

TEST_F(Vouchers, TheCountLiesFrom1To500AndThePreviewIsTheFirstPage) {
  codes().OnTiskPoukazek();
  EXPECT_EQ(dialog().count, 10);
  for (const char* bad : {"0", "501", "", "1x", "-3", "1000"}) {
    codes().OnPocetPoukazekChanged(bad);
    EXPECT_EQ(dialog().count, std::nullopt) << bad;
    EXPECT_EQ(dialog().info, text::kVoucherCountRange);
    EXPECT_EQ(Messages(codes().OnVoucherPrint()), Msgs{Error(text::kVoucherCountRange)});
  }
  codes().OnPocetPoukazekChanged(" 500 ");
  EXPECT_EQ(dialog().info, "Poukázek: 500, stran A4: 50");
  codes().OnPocetPoukazekChanged("3");
  EXPECT_EQ(dialog().info, "Poukázek: 3, stran A4: 1");
  ASSERT_EQ(dialog().preview.vouchers.size(), 3u);
  codes().OnPocetPoukazekChanged("25");
  EXPECT_EQ(dialog().info, "Poukázek: 25, stran A4: 3");
  const VoucherSheet& preview = dialog().preview;
  EXPECT_EQ(preview.establishment, "Kavárna U Lípy");
  ASSERT_EQ(preview.vouchers.size(), 10u);
  EXPECT_EQ(preview.vouchers[0].seconds, 7200);
  EXPECT_EQ(preview.vouchers[0].validTo, "15.3.2026 9:26:53");  // a day on, as the pickers say
  EXPECT_NE(preview.vouchers[0].code, preview.vouchers[1].code);
  EXPECT_EQ(files.ListFiles(kShare).size(), 0u);  // a preview issues nothing
}

TEST_F(Vouchers, PrintingIssuesTheCountNeverOverACodeAndAppendsThemAll) {
  codes().OnTiskPoukazek();
  codes().OnPocetPoukazekChanged("25");
  // The name the batch would draw first is taken already: it is drawn again, and the code that
  // has it stays as it was.
  const std::string taken = dialog().preview.vouchers[0].code;
  files.Put(kShare + taken + ".dat", std::string("jiný kód"));
  const std::string second = dialog().preview.vouchers[1].code;

  EXPECT_EQ(Messages(codes().OnVoucherPrint()), Msgs{});
  const Names printed = Printed();
  ASSERT_EQ(printed.size(), 25u);
  EXPECT_EQ(printed[0], second);
  EXPECT_EQ(files.Text(kShare + taken + ".dat"), "jiný kód");
  std::string list = "stary\r\n";
  for (const std::string& name : printed) {
    EXPECT_NE(name, taken);
    const auto record = CodeFile(name);
    ASSERT_TRUE(record) << name;
    EXPECT_EQ(record->secondsLeft, 7200);
    EXPECT_EQ(record->establishment, "Kavárna U Lípy");
    list += name + "\r\n";
  }
  EXPECT_EQ(files.Text(kCodesDat), list);
  EXPECT_EQ(issued().vydane.size(), 26u);
  EXPECT_EQ(dialog().printed.vouchers[0].validTo, "15.3.2026 9:26:53");

  EXPECT_EQ(Messages(codes().OnVouchersPrinted(std::nullopt)),
            Msgs{Info("Vytištěno poukázek: 25. Jejich kódy jsou v seznamu vydaných kódů.")});
  EXPECT_TRUE(dialog().printed.vouchers.empty());
  // The next batch's preview shows the names it will draw, not those just issued.
  EXPECT_EQ(std::find(printed.begin(), printed.end(), dialog().preview.vouchers[0].code),
            printed.end());
}

TEST_F(Vouchers, ABatchShowsInTheIssuedCodesAsTheSearchFiltersThem) {
  codes().OnHledatChanged("7");
  codes().OnTiskPoukazek();
  codes().OnPocetPoukazekChanged("40");
  EXPECT_EQ(Messages(codes().OnVoucherPrint()), Msgs{});
  ASSERT_EQ(issued().vydane.size(), 41u);
  Names shown, expected;
  for (std::size_t row = 0; row < issued().RowCount(); ++row) shown.emplace_back(issued().Row(row));
  for (const std::string& name : issued().vydane.ToStrings()) {
    if (name.find('7') != std::string::npos) expected.push_back(name);
  }
  EXPECT_FALSE(expected.empty());
  EXPECT_EQ(shown, expected);
}

TEST_F(Vouchers, ABatchCutOffKeepsTheCodesWrittenOnTheListAndSaysWhere) {
  codes().OnTiskPoukazek();
  codes().OnPocetPoukazekChanged("5");
  const std::string third = dialog().preview.vouchers[2].code;
  files.FailReplace(kShare + third + ".dat", io::kDiskFull);
  EXPECT_EQ(Messages(codes().OnVoucherPrint()), Msgs{Error("Kódy nelze vydat: " + kShare + third +
                                                           ".dat: Disk full. Vydáno a zapsáno "
                                                           "do seznamu: 2.")});
  ASSERT_EQ(Printed().size(), 2u);
  EXPECT_EQ(files.Text(kCodesDat), "stary\r\n" + Printed()[0] + "\r\n" + Printed()[1] + "\r\n");
  EXPECT_EQ(Messages(codes().OnVouchersPrinted("kód chyby 5")),
            Msgs{Error("Tisk se nezdařil (kód chyby 5). Vydané kódy (2) jsou v seznamu vydaných "
                       "kódů.")});

  // A share that is not there issues nothing.
  codes().OnServercestaChanged("\\\\server\\jinde\\");
  EXPECT_EQ(Messages(codes().OnVoucherPrint()).size(), 1u);
  EXPECT_TRUE(Printed().empty());
  EXPECT_EQ(issued().vydane.size(), 3u);
}

TEST_F(Vouchers, NoPrinterIsSaidAndSoIsAJobThatDoesNotStart) {
  EXPECT_EQ(Messages(codes().OnPrinterUnavailable("")),
            Msgs{Error("Není nainstalována žádná tiskárna. Žádný kód nebyl vydán.")});
  EXPECT_EQ(Messages(codes().OnPrinterUnavailable("kód chyby 1801")),
            Msgs{Error("Tisk nelze zahájit (kód chyby 1801). Žádný kód nebyl vydán.")});
}

}  // namespace
}  // namespace sentavo::admin::test
