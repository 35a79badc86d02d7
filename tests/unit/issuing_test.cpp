#include "formats/issuing.h"

#include <gtest/gtest.h>

#include "formats/validity.h"

namespace sentavo {
namespace {

TEST(IssuedRecord, HoldsWhatSaveCodeWrites) {
  IssueRequest q;
  q.rights = DefaultIssueRights();
  q.rights[RightIndex(Right::alttab)] = true;
  q.reusable = true;
  q.seconds = 3600;
  q.establishment = "Demo";
  q.validFrom = {2026, 12, 9, 14, 30, 0, 250};
  q.validTo = {2026, 12, 16, 8, 5, 9};
  q.codeType = kCodeTypeDaily;
  const DateTime now{2026, 12, 9, 14, 30, 0, 500};
  const TCodeRecord r = BuildIssuedRecord(q, now, CzechFormats());

  EXPECT_EQ(r.rights, q.rights);
  EXPECT_TRUE(r.reusable);
  EXPECT_TRUE(r.active);
  EXPECT_FALSE(r.loggedIn);
  EXPECT_EQ(r.secondsLeft, 3600);
  EXPECT_EQ(r.dailySeconds, 3600);
  EXPECT_EQ(r.codeType, 1);
  EXPECT_EQ(r.establishment, "Demo");
  EXPECT_EQ(r.validFromDate, 46365.0);
  EXPECT_EQ(r.validToDate, 46372.0);
  EXPECT_EQ(FromOleDate(r.validFromTime), (DateTime{1899, 12, 30, 14, 30, 0, 250}));
  EXPECT_EQ(FromOleDate(r.validToTime), (DateTime{1899, 12, 30, 8, 5, 9}));
  EXPECT_EQ(r.created, ToOleDate(now));
  EXPECT_EQ(r.lastUse, r.created - 1.0);  // a new daily code counts as not used today
  EXPECT_EQ(FromOleDate(r.lastUse)->day, 8);
  EXPECT_EQ(r.reserved328, (std::array<std::uint8_t, 7>{1, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(r.validFromDateText, "9.12.2026");
  EXPECT_EQ(r.validFromTimeText, "14:30:00");
  EXPECT_EQ(r.validToDateText, "16.12.2026");
  EXPECT_EQ(r.validToTimeText, "8:05:09");
  EXPECT_TRUE(CodeInsideValidityWindow(r, {2026, 12, 9, 14, 30, 0}));
  EXPECT_FALSE(CodeInsideValidityWindow(r, {2026, 12, 16, 8, 5, 10}));
}

TEST(IssuedRecord, DefaultRightsBlockOnlyCtrlAltDel) {
  const RightsSet rights = DefaultIssueRights();
  for (const Right r : kAllRights) EXPECT_EQ(rights[RightIndex(r)], r == Right::ctrlaltdel);
}

TEST(CodeNameGenerator, FirstDrawsForKnownSeeds) {
  CodeNameGenerator zero(0);
  EXPECT_EQ(zero.Draw(), 0u);
  EXPECT_EQ(zero.Draw(), 67387906u);
  EXPECT_EQ(zero.Draw(), 1849087502u);
  EXPECT_EQ(zero.NextName(), "435039309");
  CodeNameGenerator other(12345);
  EXPECT_EQ(other.NextName(), "827533966");
  EXPECT_EQ(other.NextName(), "621383883");
  EXPECT_EQ(other.NextName(), "171229689");
}

TEST(CodeNameGenerator, DrawsStayBelow2147483647) {
  CodeNameGenerator g(0xFFFFFFFFu);
  for (int i = 0; i < 100000; ++i) ASSERT_LE(g.Draw(), 2147483646u);
}

}  // namespace
}  // namespace sentavo
