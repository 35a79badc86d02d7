#include "formats/validity.h"

#include <gtest/gtest.h>

#include <limits>

#include "formats/code_name.h"

namespace sentavo {
namespace {

TEST(ValidityWindow, BoundsHoldToTheSecondOnTheFirstAndLastDayOnly) {
  const ValidityWindow w{20261201, 100000, 20261203, 180000};
  EXPECT_TRUE(InsideValidityWindow(w, 20261201, 100000));
  EXPECT_TRUE(InsideValidityWindow(w, 20261201, 235959));
  EXPECT_TRUE(InsideValidityWindow(w, 20261202, 0));
  EXPECT_TRUE(InsideValidityWindow(w, 20261202, 235959));
  EXPECT_TRUE(InsideValidityWindow(w, 20261203, 180000));
  EXPECT_FALSE(InsideValidityWindow(w, 20261201, 95959));
  EXPECT_FALSE(InsideValidityWindow(w, 20261203, 180001));
  EXPECT_FALSE(InsideValidityWindow(w, 20261130, 120000));
  EXPECT_FALSE(InsideValidityWindow(w, 20261204, 0));
  EXPECT_TRUE(InsideValidityWindow(w, 20261202, 50000));  // not a daily opening time
}

TEST(ValidityWindow, ReversedWindowsNeverAdmit) {
  const ValidityWindow daysReversed{20261205, 0, 20261201, 235959};
  const ValidityWindow oneDayTimesReversed{20261201, 180000, 20261201, 100000};
  for (int day = 20261130; day <= 20261206; ++day) {
    for (int t : {0, 100000, 120000, 180000, 235959}) {
      EXPECT_FALSE(InsideValidityWindow(daysReversed, day, t));
      EXPECT_FALSE(InsideValidityWindow(oneDayTimesReversed, day, t));
    }
  }
}

TEST(ValidityWindow, ARecordUsesTheDatePartsOfTheDatesAndTheTimePartsOfTheTimes) {
  TCodeRecord r;
  r.validFromDate = ToOleDate({2026, 12, 1, 23, 0, 0});  // time part ignored
  r.validToDate = ToOleDate({2026, 12, 3, 1, 0, 0});
  r.validFromTime = ToOleDate({2000, 1, 1, 10, 0, 0});  // date part ignored
  r.validToTime = ToOleDate({1899, 12, 30, 18, 0, 0});
  EXPECT_TRUE(CodeInsideValidityWindow(r, {2026, 12, 1, 10, 0, 0}));
  EXPECT_FALSE(CodeInsideValidityWindow(r, {2026, 12, 1, 9, 59, 59}));
  EXPECT_TRUE(CodeInsideValidityWindow(r, {2026, 12, 3, 18, 0, 0, 999}));
  EXPECT_FALSE(CodeInsideValidityWindow(r, {2026, 12, 3, 18, 0, 1}));
}

TEST(ValidityWindow, ADamagedDateNeverAdmitsTheCode) {
  TCodeRecord r;
  r.validFromDate = 0;
  r.validToDate = ToOleDate({9999, 12, 31});
  r.validToTime = 0.99;
  EXPECT_TRUE(CodeInsideValidityWindow(r, {2026, 12, 9, 12, 0, 0}));
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(), 1e12}) {
    TCodeRecord damaged = r;
    damaged.validToDate = bad;
    EXPECT_FALSE(CodeInsideValidityWindow(damaged, {2026, 12, 9, 12, 0, 0}));
    damaged = r;
    damaged.validFromTime = bad;
    EXPECT_FALSE(CodeInsideValidityWindow(damaged, {2026, 12, 9, 12, 0, 0}));
  }
}

TEST(Countdown, TextHasUnpaddedHoursAndTwoDigitMinutesAndSeconds) {
  EXPECT_EQ(CountdownText(3600), "1:00:00");
  EXPECT_EQ(CountdownText(59), "0:00:59");
  EXPECT_EQ(CountdownText(32767), "9:06:07");
  EXPECT_EQ(CountdownText(36000), "10:00:00");
  EXPECT_EQ(CountdownText(0), "0:00:00");
  EXPECT_EQ(CountdownText(3599), "0:59:59");
  EXPECT_EQ(CountdownText(-5), "0:00:00");
}

TEST(CodeName, WhatMayBecomeAFileInTheSharedFolder) {
  for (const char* ok :
       {"1234567", "Jan Novák", "a.b", "con1", "COM10", "LPT0", "NULL", "x..y", " lead"}) {
    EXPECT_TRUE(IsIssuableCodeName(ok)) << ok;
  }
  for (const char* bad :
       {"",       ".",      "..",          "a\\b",    "a/b",     "c:x",       "a*",
        "a?",     "a\"b",   "<a",          "a>",      "a|b",     "tab\there", "trail ",
        "trail.", "CON",    "con",         "Nul.txt", "aux.dat", "COM1",      "lpt9.x.y",
        "PRN ",   "conin$", "CONOUT$.log", "\x7f"}) {
    EXPECT_FALSE(IsIssuableCodeName(bad)) << bad;
  }
  EXPECT_TRUE(IsWindowsDeviceName("com5"));
  EXPECT_TRUE(IsWindowsDeviceName("CON .txt"));
  EXPECT_FALSE(IsWindowsDeviceName("CONSOLE"));
}

// The client looks up what a guest typed: wildcards and quotes merely name no file, but nothing
// may leave the shared folder or open a device.
TEST(CodeName, WhatAGuestsEntryMayBeLookedUpAs) {
  for (const char* ok : {"", "1234567", "a*", "a?b", "<a>", "trail ", "trail.", "x..y", "con1"}) {
    EXPECT_TRUE(IsLookupCodeName(ok)) << ok;
  }
  for (const char* bad : {".", "..", "a\\b", "..\\x", "a/b", "c:x", "a:stream", "tab\there", "\x7f",
                          "CON", "nul.txt", "COM1", "lpt9.x"}) {
    EXPECT_FALSE(IsLookupCodeName(bad)) << bad;
  }
}

TEST(CodeFilePath, AlwaysSeparatorJoinsAsBothProgramsDo) {
  EXPECT_EQ(CodeFilePath("\\\\server\\kody", "A", FolderJoin::AlwaysSeparator),
            "\\\\server\\kody\\A.dat");
  // A folder with its final backslash gets a second one: the same file on Windows, and the exact
  // name the programs have always asked the file system for.
  EXPECT_EQ(CodeFilePath("C:\\kody\\", "A", FolderJoin::AlwaysSeparator), "C:\\kody\\\\A.dat");
  EXPECT_EQ(CodeFilePath("", "A", FolderJoin::AlwaysSeparator), "\\A.dat");
}

TEST(CodeFilePath, SeparatorIfMissingAddsNoSecondOne) {
  EXPECT_EQ(CodeFilePath("C:\\kody", "B", FolderJoin::SeparatorIfMissing), "C:\\kody\\B.dat");
  EXPECT_EQ(CodeFilePath("C:\\kody\\", "B", FolderJoin::SeparatorIfMissing), "C:\\kody\\B.dat");
  EXPECT_EQ(CodeFilePath("", "B", FolderJoin::SeparatorIfMissing), "\\B.dat");
  // Only the listed separators count as final: by default a slash is not one.
  EXPECT_EQ(CodeFilePath("C:/kody/", "B", FolderJoin::SeparatorIfMissing), "C:/kody/\\B.dat");
  // The tool joins with its platform's separator and takes a slash as final too.
  EXPECT_EQ(CodeFilePath("/srv/kody", "B", FolderJoin::SeparatorIfMissing, "//"),
            "/srv/kody/B.dat");
  EXPECT_EQ(CodeFilePath("C:/kody/", "B", FolderJoin::SeparatorIfMissing, "\\/"), "C:/kody/B.dat");
  EXPECT_EQ(CodeFilePath("C:\\kody", "B", FolderJoin::SeparatorIfMissing, "\\/"),
            "C:\\kody\\B.dat");
}

}  // namespace
}  // namespace sentavo
