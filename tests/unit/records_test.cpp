#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <vector>

#include "formats/code_record.h"
#include "formats/config_record.h"
#include "formats/cp1250.h"

namespace sentavo {
namespace {

std::int32_t Int32At(const CodeRecordBytes& b, std::size_t off) {
  std::int32_t v;
  std::memcpy(&v, b.data() + off, 4);  // the test machines are little-endian, as the files are
  return v;
}

double DoubleAt(const CodeRecordBytes& b, std::size_t off) {
  double v;
  std::memcpy(&v, b.data() + off, 8);
  return v;
}

std::string TextAt(const auto& b, std::size_t off) {
  return std::string(reinterpret_cast<const char*>(b.data() + off + 1), b[off]);
}

TCodeRecord SampleCode() {
  TCodeRecord r;
  r.rights[RightIndex(Right::noAccShorts)] = r.rights[RightIndex(Right::ctrlaltdel)] =
      r.rights[RightIndex(Right::nowinkeys)] = true;
  r.reusable = true;
  r.active = true;
  r.secondsLeft = 3599;
  r.establishment = "Kavárna Čáp";
  r.validFromDate = 46365.0;
  r.validToDate = 46372.0;
  r.validFromTime = 0.25;
  r.validToTime = 0.75;
  r.lastUse = 46364.6;
  r.codeType = kCodeTypeDaily;
  r.dailySeconds = 7200;
  r.reserved328.fill(1);
  r.loggedIn = true;
  r.validFromDateText = "9.12.2026";
  r.validFromTimeText = "6:00:00";
  r.validToDateText = "16.12.2026";
  r.validToTimeText = "18:00:00";
  r.created = 46365.123;
  return r;
}

TEST(CodeRecord, EveryFieldLandsAtItsOffset) {
  const CodeRecordBytes b = EncodeCodeRecord(SampleCode());
  ASSERT_EQ(b.size(), 5728u);
  const std::vector<std::uint8_t> rights(b.begin(), b.begin() + 15);
  EXPECT_EQ(rights, (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(b[15], 1);  // reusable
  EXPECT_EQ(b[16], 1);  // active
  EXPECT_EQ(Int32At(b, 20), 3599);
  EXPECT_EQ(TextAt(b, 24), "Kav\xE1rna \xC8\xE1p");
  EXPECT_EQ(DoubleAt(b, 280), 46365.0);
  EXPECT_EQ(DoubleAt(b, 288), 46372.0);
  EXPECT_EQ(DoubleAt(b, 296), 0.25);
  EXPECT_EQ(DoubleAt(b, 304), 0.75);
  EXPECT_EQ(DoubleAt(b, 312), 46364.6);
  EXPECT_EQ(Int32At(b, 320), 1);
  EXPECT_EQ(Int32At(b, 324), 7200);
  for (std::size_t i = 328; i < 335; ++i) EXPECT_EQ(b[i], 1) << i;
  EXPECT_EQ(b[335], 1);  // loggedIn
  EXPECT_EQ(TextAt(b, 356), "9.12.2026");
  EXPECT_EQ(TextAt(b, 612), "6:00:00");
  EXPECT_EQ(TextAt(b, 2660), "16.12.2026");
  EXPECT_EQ(TextAt(b, 2916), "18:00:00");
  EXPECT_EQ(DoubleAt(b, 5720), 46365.123);
  // Bytes behind each text are zero.
  EXPECT_EQ(b[24 + 1 + 11], 0);
  EXPECT_EQ(b[279], 0);
}

TEST(CodeRecord, IntegersAreLittleEndianTwosComplement) {
  TCodeRecord r;
  r.secondsLeft = -2;
  r.dailySeconds = 0x01020304;
  const CodeRecordBytes b = EncodeCodeRecord(r);
  EXPECT_EQ((std::vector<int>{b[20], b[21], b[22], b[23]}),
            (std::vector<int>{0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ((std::vector<int>{b[324], b[325], b[326], b[327]}), (std::vector<int>{4, 3, 2, 1}));
  EXPECT_EQ(DecodeCodeRecord(b)->secondsLeft, -2);
}

TEST(CodeRecord, ReadAndWrittenBackUnchangedIsIdenticalReservedBytesIncluded) {
  CodeRecordBytes original = EncodeCodeRecord(SampleCode());
  // Reserved ranges with content of unknown meaning must survive a client's rewrite.
  for (std::size_t i : {17u, 19u, 336u, 355u, 868u, 2659u, 3172u, 5719u})
    original[i] = static_cast<std::uint8_t>(i);
  const auto decoded = DecodeCodeRecord(original);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(EncodeCodeRecord(*decoded), original);
}

TEST(CodeRecord, AnyNonZeroBooleanByteReadsAsTrueAndIsWrittenAsOne) {
  CodeRecordBytes b{};
  b[RightIndex(Right::altenter)] = 0x80;
  b[15] = 2;
  b[16] = 0xFF;
  b[335] = 7;
  const auto r = DecodeCodeRecord(b);
  ASSERT_TRUE(r);
  EXPECT_TRUE(r->rights[RightIndex(Right::altenter)]);
  EXPECT_FALSE(r->rights[RightIndex(Right::alttab)]);
  EXPECT_TRUE(r->reusable);
  EXPECT_TRUE(r->active);
  EXPECT_TRUE(r->loggedIn);
  const CodeRecordBytes again = EncodeCodeRecord(*r);
  EXPECT_EQ(again[RightIndex(Right::altenter)], 1);
  EXPECT_EQ(again[16], 1);
  EXPECT_EQ(again[335], 1);
}

TEST(CodeRecord, TextsAreCutTo255AndBytesBehindTheTextIgnored) {
  TCodeRecord r;
  r.establishment = std::string(300, 'x');
  r.validToTimeText = std::string(100, 'y') + std::string(200, 'z');
  const CodeRecordBytes b = EncodeCodeRecord(r);
  EXPECT_EQ(b[24], 255);
  const auto back = DecodeCodeRecord(b);
  EXPECT_EQ(back->establishment, std::string(255, 'x'));
  EXPECT_EQ(back->validToTimeText, std::string(100, 'y') + std::string(155, 'z'));

  // A length byte shorter than what follows: the rest is not part of the text.
  CodeRecordBytes dirty = b;
  dirty[24] = 3;
  EXPECT_EQ(DecodeCodeRecord(dirty)->establishment, "xxx");
  // 255 Czech letters are 255 bytes in the file, though 510 in UTF-8.
  r.establishment.clear();
  for (int i = 0; i < 300; ++i) r.establishment += "ř";
  EXPECT_EQ(DecodeCodeRecord(EncodeCodeRecord(r))->establishment.size(), 510u);
}

TEST(CodeRecord, ATextOutsideWindows1250IsRefusedOnWriting) {
  TCodeRecord r;
  r.establishment = "Café Niño";
  EXPECT_THROW(EncodeCodeRecord(r), TextEncodingError);
}

TEST(CodeRecord, AShortRecordIsNeverHandedBackALongerOneIsReadToItsSize) {
  const CodeRecordBytes b = EncodeCodeRecord(SampleCode());
  EXPECT_FALSE(DecodeCodeRecord(std::span(b).first(5727)));
  EXPECT_FALSE(DecodeCodeRecord({}));
  std::vector<std::uint8_t> longer(b.begin(), b.end());
  longer.push_back(0xAA);
  EXPECT_EQ(DecodeCodeRecord(longer), SampleCode());
}

TConfigRecord SampleConfig() {
  TConfigRecord c;
  c.asFrontApp = true;
  c.rights[RightIndex(Right::ctrlaltdel)] = true;
  c.rights[RightIndex(Right::notaskbar)] = true;
  c.adminPassword = "heslo";
  c.establishment = "Knihovna Žďár";
  c.serverPath = "\\\\server\\sentavo\\";
  c.backgroundFile = "C:\\Obrázky\\pozadí.jpg";
  return c;
}

TEST(ConfigRecord, FieldsAtTheirOffsetsAndBackAgain) {
  const ConfigRecordBytes b = EncodeConfigRecord(SampleConfig());
  ASSERT_EQ(b.size(), 1040u);
  // The first sixteen bytes are the client's switches in their order.
  EXPECT_EQ(b[kAsFrontAppSwitch], 1);
  EXPECT_EQ(b[SwitchIndex(Right::ctrlaltdel)], 1);
  EXPECT_EQ(b[SwitchIndex(Right::notaskbar)], 1);
  EXPECT_EQ(b[SwitchIndex(Right::appkeys)], 0);
  EXPECT_EQ(TextAt(b, 16), "heslo");
  EXPECT_EQ(TextAt(b, 272), "Knihovna \x8E\xEF\xE1r");
  EXPECT_EQ(TextAt(b, 528), "\\\\server\\sentavo\\");
  EXPECT_EQ(TextAt(b, 784), "C:\\Obr\xE1zky\\pozad\xED.jpg");
  EXPECT_EQ(DecodeConfigRecord(b), SampleConfig());
  EXPECT_FALSE(DecodeConfigRecord(std::span(b).first(1039)));
}

TEST(ConfigRecord, ServerPathsAlwaysEndInOneBackslash) {
  EXPECT_EQ(WithTrailingBackslash("\\\\srv\\kody"), "\\\\srv\\kody\\");
  EXPECT_EQ(WithTrailingBackslash("C:\\kody\\"), "C:\\kody\\");
  EXPECT_EQ(WithTrailingBackslash(""), "\\");
}

TEST(ConfigRecord, TheClientsSaveAndNextStartRestoreEverything) {
  ClientSettings s;
  s.switches = {true,  false, true,  false, false, false, false, true,
                false, false, false, false, false, false, false, true};
  s.provoz = "Škola";
  s.adminheslo = std::string(300, 'h');
  s.pozadiFile = "D:\\pozadí.bmp";
  s.servercesta = "\\\\srv\\kody";
  TConfigRecord written = ClientRecordFromSettings(s);
  EXPECT_EQ(s.servercesta, "\\\\srv\\kody\\");  // the box itself shows the backslash
  const auto read = DecodeConfigRecord(EncodeConfigRecord(written));
  ASSERT_TRUE(read);
  const ClientSettings restored = ClientSettingsFromRecord(*read);
  EXPECT_EQ(restored.switches, s.switches);
  EXPECT_EQ(restored.provoz, "Škola");
  EXPECT_EQ(restored.adminheslo, std::string(255, 'h'));
  EXPECT_EQ(restored.pozadiFile, s.pozadiFile);
  EXPECT_EQ(restored.servercesta, "\\\\srv\\kody\\");
}

TEST(ConfigRecord, TheClientNormalisesAServerPathReadFromAFileWithoutBackslash) {
  TConfigRecord c;
  c.serverPath = "S:\\kody";
  EXPECT_EQ(ClientSettingsFromRecord(c).servercesta, "S:\\kody\\");
  c.serverPath = "";
  EXPECT_EQ(ClientSettingsFromRecord(c).servercesta, "\\");
}

}  // namespace
}  // namespace sentavo
