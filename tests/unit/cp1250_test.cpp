#include "formats/cp1250.h"

#include <gtest/gtest.h>

namespace sentavo {
namespace {

TEST(Cp1250, CzechLettersHaveTheirWindows1250Bytes) {
  EXPECT_EQ(Utf8ToCp1250("ěščřžýáíéůú"), "\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\xF9\xFA");
  EXPECT_EQ(Utf8ToCp1250("ĚŠČŘŽÝÁÍÉŮÚ"), "\xCC\x8A\xC8\xD8\x8E\xDD\xC1\xCD\xC9\xD9\xDA");
  EXPECT_EQ(Utf8ToCp1250("Provozovna Ťukas, 5 €"), "Provozovna \x8Dukas, 5 \x80");
  EXPECT_EQ(Cp1250ToUtf8("\x8A\x9A\xD8\xF8\xA0"), "ŠšŘř\u00A0");
}

TEST(Cp1250, EveryByteSurvivesADecodeAndEncode) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1250ToUtf8(all);
  EXPECT_EQ(Utf8ToCp1250(utf8), all);
  EXPECT_FALSE(FirstUnencodable(utf8).has_value());
}

TEST(Cp1250, CharactersOutsideTheCodePageAreReportedNotReplaced) {
  EXPECT_EQ(FirstUnencodable("Café Niño"), U'ñ');
  EXPECT_EQ(FirstUnencodable("Łódź ø"), U'ø');
  EXPECT_EQ(FirstUnencodable("Kavárna ☕"), U'☕');
  try {
    Utf8ToCp1250("Malmö Øresund");
    FAIL() << "Ø has no Windows-1250 byte";
  } catch (const TextEncodingError& e) {
    EXPECT_EQ(e.character(), U'Ø');
    EXPECT_NE(std::string(e.what()).find("U+00D8"), std::string::npos);
  }
}

TEST(Cp1250, MalformedUtf8IsRefused) {
  EXPECT_THROW(Utf8ToCp1250("ab\xC3"), TextEncodingError);        // cut short
  EXPECT_THROW(Utf8ToCp1250("\xC0\xAF"), TextEncodingError);      // overlong "/"
  EXPECT_THROW(Utf8ToCp1250("\xED\xA0\x80"), TextEncodingError);  // a surrogate
  EXPECT_EQ(FirstUnencodable("ok\xFF"), U'\uFFFD');
}

TEST(Cp1250, CuttingCountsCharactersNotBytes) {
  EXPECT_EQ(CutToChars("žluťoučký", 4), "žluť");
  EXPECT_EQ(CutToChars("abc", 10), "abc");
  EXPECT_EQ(CutToChars("ěě", 0), "");
}

}  // namespace
}  // namespace sentavo
