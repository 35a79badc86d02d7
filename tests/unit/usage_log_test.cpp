#include "formats/usage_log.h"

#include <gtest/gtest.h>

namespace sentavo {
namespace {

UsageLine Line(std::string code, PeriodEnding ending = PeriodEnding::LogOff) {
  return UsageLine{"PC-07", std::move(code), {2026, 12, 10, 14, 0, 0}, {2026, 12, 10, 14, 42, 5},
                   2525,    ending};
}

TEST(UsageLogCodec, WritesTheLineASpreadsheetReadsAndReadsItBack) {
  EXPECT_EQ(EncodeUsageLine(Line("4712")),
            "PC-07;4712;2026-12-10 14:00:00;2026-12-10 14:42:05;2525;odhlášení\r\n");
  EXPECT_EQ(UsageLogHeader(), "\xEF\xBB\xBFPočítač;Kód;Začátek;Konec;Sekund;Ukončení\r\n");
  // Code names may hold what the separator and the quotes mean.
  EXPECT_EQ(EncodeUsageLine(Line("a;b")).substr(6, 6), "\"a;b\";");
  EXPECT_EQ(EncodeUsageLine(Line("say \"hi\"")).substr(6, 13), "\"say \"\"hi\"\"\";");
  EXPECT_EQ(DecodeUsageLines(EncodeUsageLine(Line("č\r\nx")))[0].code, "č  x");
  for (const std::string code : {"4712", "a;b", "say \"hi\"", "\"", ";", "", "č"}) {
    for (const PeriodEnding e : {PeriodEnding::LogOff, PeriodEnding::Expiry, PeriodEnding::Validity,
                                 PeriodEnding::Operator, PeriodEnding::Recovery}) {
      std::string encoded = EncodeUsageLine(Line(code, e));
      const auto lines = DecodeUsageLines(encoded);
      ASSERT_EQ(lines.size(), 1u) << encoded;
      EXPECT_EQ(lines[0], Line(code, e)) << encoded;
    }
  }
  EXPECT_EQ(EndingName(PeriodEnding::Expiry), "vypršení");
  EXPECT_EQ(EndingName(PeriodEnding::Validity), "platnost");
  EXPECT_EQ(EndingName(PeriodEnding::Operator), "správce");
  EXPECT_EQ(EndingName(PeriodEnding::Recovery), "obnova");
}

TEST(UsageLogCodec, AFileIsReadPastItsHeaderAndItsDamagedLines) {
  const std::string file = std::string(UsageLogHeader()) + EncodeUsageLine(Line("1")) +
                           "garbage\r\n" +
                           "PC;2;2026-12-10 14:00:00;2026-12-10 14:00:01;x;vypršení\r\n" +
                           "PC;\"3;2026-12-10 14:00:00;2026-12-10 14:00:01;1;vypršení\r\n" +
                           "PC;3\";2026-12-10 14:00:00;2026-12-10 14:00:01;1;vypršení\r\n" +
                           "PC;4;2026-13-10 14:00:00;2026-12-10 14:00:01;1;vypršení\r\n" +
                           "PC;5;2026-12-10 14:00:00;2026-12-10 14:00:01;1;konec\r\n" +
                           EncodeUsageLine(Line("6", PeriodEnding::Expiry));
  const auto lines = DecodeUsageLines(file);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].code, "1");
  EXPECT_EQ(lines[1].code, "6");
  EXPECT_FALSE(DecodeUsageLine("PC;1;2026-12-10 14:00:00;2026-12-10 14:00:01;1;vypršení;x"));
  EXPECT_FALSE(DecodeUsageLine(""));
}

TEST(UsageLogCodec, EachStationHasAFileAMonthInTheLogFolder) {
  EXPECT_EQ(UsageLogFile("\\\\srv\\kody\\", "PC-07", {2026, 3, 31, 23, 59, 59}),
            "\\\\srv\\kody\\log\\PC-07-2026-03.csv");
  EXPECT_EQ(UsageLogFile("C:\\s\\", "..\\x", {2026, 12, 1, 0, 0, 0}),
            "C:\\s\\log\\___x-2026-12.csv");
}

}  // namespace
}  // namespace sentavo
