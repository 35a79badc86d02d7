#include "administration/name_filter.h"

#include <gtest/gtest.h>

namespace sentavo::admin {
namespace {

using Rows = std::vector<std::size_t>;

TEST(NameFilter, FindsTheTypedTextAnywhereInAnyLetterCase) {
  const CodeNames names{"Kavárna-01", "KAVÁRNA-02", "knihovna", "ŽLUŤOUČKÝ kůň",
                        "4712",       "",           "abcabc"};
  const NameFilter filter(names);
  EXPECT_EQ(filter.Matching(""), (Rows{0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(filter.Matching("kavárna"), (Rows{0, 1}));
  EXPECT_EQ(filter.Matching("ÁRN"), (Rows{0, 1}));
  EXPECT_EQ(filter.Matching("žluťoučký KŮŇ"), (Rows{3}));
  EXPECT_EQ(filter.Matching("71"), (Rows{4}));
  EXPECT_EQ(filter.Matching("abc"), (Rows{6}));  // a row once, however often it holds the text
  EXPECT_EQ(filter.Matching("na\nkn"), Rows{});  // never across two names
  EXPECT_EQ(filter.Matching("-0"), (Rows{0, 1}));
  EXPECT_EQ(filter.Matching("x"), Rows{});
}

TEST(NameFilter, FoldsTheCzechAndOtherWindows1250Letters) {
  EXPECT_EQ(FoldCase("ÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ"), "áčďéěíňóřšťúůýž");
  EXPECT_EQ(FoldCase("ĹĽŁŃŔŚŢŹŻĂĄĘŐŰÄÖÜß"), "ĺľłńŕśţźżăąęőűäöüß");
  EXPECT_EQ(FoldCase("×÷ſ€"), "×÷ſ€");
  EXPECT_EQ(FoldCase("áčžAbc"), "áčžabc");
}

}  // namespace
}  // namespace sentavo::admin
