#include "formats/oledate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "test_support.h"

namespace sentavo {
namespace {

TEST(OleDate, KnownDaysAndTimes) {
  EXPECT_EQ(ToOleDate({1899, 12, 30}), 0.0);
  EXPECT_EQ(ToOleDate({1900, 1, 1}), 2.0);
  EXPECT_EQ(ToOleDate({2026, 12, 9}), 46365.0);
  EXPECT_EQ(ToOleDate({2026, 12, 9, 12, 0, 0}), 46365.5);
  EXPECT_EQ(ToOleDate({2026, 12, 9, 6, 0, 0}), 46365.25);
  EXPECT_EQ(ToOleDate({1, 1, 1}), -693593.0);
  EXPECT_EQ(FromOleDate(46365.75), (DateTime{2026, 12, 9, 18, 0, 0}));
}

TEST(OleDate, BeforeTheEpochTheFractionStillRunsForward) {
  EXPECT_EQ(ToOleDate({1899, 12, 29, 6, 0, 0}), -1.25);
  EXPECT_EQ(FromOleDate(-1.25), (DateTime{1899, 12, 29, 6, 0, 0}));
  EXPECT_EQ(FromOleDate(-2.5), (DateTime{1899, 12, 28, 12, 0, 0}));
  EXPECT_EQ(FromOleDate(-0.25), (DateTime{1899, 12, 30, 6, 0, 0}));
  EXPECT_EQ(FromOleDate(-36522.0), (DateTime{1800, 1, 1}));
}

TEST(OleDate, AroundMidnight) {
  // A hair before midnight rounds to the next day, not to "24:00".
  EXPECT_EQ(FromOleDate(46365.0 - 1e-10), (DateTime{2026, 12, 9}));
  EXPECT_EQ(FromOleDate(46364.999999999), (DateTime{2026, 12, 9}));
  EXPECT_EQ(FromOleDate(46364.99999999), (DateTime{2026, 12, 8, 23, 59, 59, 999}));
  EXPECT_EQ(FromOleDate(ToOleDate({2026, 12, 8, 23, 59, 59, 999})),
            (DateTime{2026, 12, 8, 23, 59, 59, 999}));
  EXPECT_EQ(FromOleDate(-1.0 - 0.99999999999), (DateTime{1899, 12, 30}));
  EXPECT_EQ(FromOleDate(ToOleDate({1899, 12, 29, 23, 59, 59})),
            (DateTime{1899, 12, 29, 23, 59, 59}));
}

TEST(OleDate, EverySecondOfSampleDaysComesBackExactly) {
  for (const DateTime day :
       {DateTime{1, 1, 1}, DateTime{1899, 12, 29}, DateTime{1899, 12, 30}, DateTime{2000, 2, 29},
        DateTime{2026, 12, 31}, DateTime{9999, 12, 31}}) {
    for (int s = 0; s < 86400; s += 7) {
      DateTime dt = day;
      dt.hour = s / 3600, dt.minute = s / 60 % 60, dt.second = s % 60;
      ASSERT_EQ(FromOleDate(ToOleDate(dt)), dt) << FormatIso(dt);
    }
  }
}

TEST(OleDate, ValuesADamagedFileMayHoldAreRefused) {
  EXPECT_FALSE(FromOleDate(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(FromOleDate(std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(FromOleDate(-std::numeric_limits<double>::infinity()));
  EXPECT_FALSE(FromOleDate(1e300));
  EXPECT_FALSE(FromOleDate(kMaxOleDate));
  EXPECT_FALSE(FromOleDate(-693594.0));
  EXPECT_TRUE(FromOleDate(kMaxOleDate - 1e-6));
  EXPECT_THROW(ToOleDate({2026, 2, 29}), std::invalid_argument);
  EXPECT_THROW(ToOleDate({2026, 1, 1, 24, 0, 0}), std::invalid_argument);
}

TEST(OleDate, KeysIsoTextAndDayArithmetic) {
  const DateTime dt{2026, 3, 7, 9, 5, 3};
  EXPECT_EQ(DateKey(dt), 20260307);
  EXPECT_EQ(TimeKey(dt), 90503);
  EXPECT_EQ(FormatIso(dt), "2026-03-07T09:05:03");
  EXPECT_EQ(FormatIso({2026, 3, 7, 9, 5, 3, 40}), "2026-03-07T09:05:03.040");
  EXPECT_EQ(AddDays({2024, 2, 28, 10}, 1), (DateTime{2024, 2, 29, 10}));
  EXPECT_EQ(AddDays({2026, 12, 31, 23, 59, 59}, 7), (DateTime{2027, 1, 7, 23, 59, 59}));
}

TEST(OleDate, ParsesTheToolsDateTimeForms) {
  EXPECT_EQ(ParseIso("2026-12-09")->value, (DateTime{2026, 12, 9}));
  EXPECT_FALSE(ParseIso("2026-12-09")->hasTime);
  EXPECT_EQ(ParseIso("2026-12-09T14:30")->value, (DateTime{2026, 12, 9, 14, 30, 0}));
  EXPECT_EQ(ParseIso("2026-12-09 14:30:15")->value, (DateTime{2026, 12, 9, 14, 30, 15}));
  for (const char* bad : {"", "2026-12-9", "2026-13-01", "2026-02-30", "2026-12-09T25:00",
                          "2026-12-09T14", "2026-12-09T14:30:1", "2026-12-09x14:30", "tomorrow"}) {
    EXPECT_FALSE(ParseIso(bad)) << bad;
  }
}

}  // namespace
}  // namespace sentavo
