// The guard's pipe messages: every message comes back as it went, and whatever is not exactly one
// whole message of this version (cut short, overlong, out of range, not UTF-8) decodes to nothing.
#include "guard/protocol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sentavo::guard {
namespace {

using client::LockEvent;
using client::LockEventKind;
using Bytes = std::vector<std::uint8_t>;

Bytes Body(const Bytes& frame) {
  return Bytes(frame.begin() + 4, frame.end());
}

// A view in which every field differs from its default.
client::LockScreenView Unusual() {
  client::LockScreenView v;
  v.stayOnTop = true;
  v.borderSizeable = true;
  v.odpocetLED = "0:59:58";
  v.hodinky = "12:00:01";
  v.tit = "Sentavo ver. 1.2 - Client - Kavárna U Lípy - UID: 42";
  v.trialMode = true;
  v.tabSheet2Visible = true;
  v.activePage = client::Page::TabSheet2;
  v.zamcenoVisible = false;
  v.infoLabel = {"Příliš mnoho neplatných pokusů.", ui::clRed, false, true};
  v.kod = {"4711", false};
  v.odhlasitUseraBut = {true, false};
  v.prihlasitBut = {false, false};
  v.skrytBut = {false, true};
  v.datod = {"Kód platí od: 1.12.2026", ui::clLime, false, false};
  v.datdo = {"Kód platí do: 3.12.2026", ui::clYellow, true, false};
  v.smidelit = {"Kód je jednorázový", ui::clBtnFace, false, false};
  v.backgroundPicture = "C:\\obrázky\\pozadí.jpg";
  v.logoFile = "C:\\Sentavo\\SentavoBig.png";
  v.adminheslo = "tajné";
  v.servercesta = "\\\\server\\kódy\\";
  v.provoz = "Kavárna U Lípy";
  v.pozadiFile = "D:\\x.jpeg";
  v.uid = "42";
  for (std::size_t i = 0; i < v.switches.size(); ++i) v.switches[i] = i % 3 == 0;
  v.trayHint = "Sentavo – zbývá 0:42:10";
  return v;
}

std::vector<ToGuard> EveryToGuard() {
  std::vector<ToGuard> all{Hello{}};
  for (std::uint8_t k = 1; k <= client::kLastLockEventKind; ++k) {
    LockEvent e = MakeEvent(static_cast<LockEventKind>(k));
    if (client::CarriesText(e.kind)) e.text = "Žluťoučký kůň " + std::to_string(k);
    if (e.kind == LockEventKind::CheckBoxChanged) e.index = 15, e.checked = true;
    if (e.kind == LockEventKind::Pointer) e.point = {-5, 70000};
    all.push_back(e);
  }
  return all;
}

std::vector<ToClient> EveryToClient() {
  return {ViewMessage{Unusual()},
          ViewMessage{},
          RequestsMessage{{ui::ErrorMessage("Chyba"), ui::InformationMessage("Informace"),
                           ui::StopMessage("Sentavo", "Stop"), ui::PlainMessage("Titul", "Text"),
                           ui::ShowWindowRequest{2, true},
                           ui::OpenUrlRequest{"https://example.cz/"}, ui::EndProgramRequest{1},
                           ui::WindowAction::HideApplicationWindow, ui::WindowAction::ActivateTray,
                           ui::NoticeRequest{"Zbývá 1 minuta.", 15, true},
                           ui::NoticeRequest{"Zpráva správce", 30, false}}},
          RequestsMessage{},
          SwitchMessage{0, true},
          SwitchMessage{15, false},
          RestoreAllMessage{},
          MovePointerMessage{{100, 200}, 1, 1}};
}

TEST(Protocol, EveryMessageComesBackAsItWent) {
  for (const ToGuard& m : EveryToGuard()) {
    const auto back = DecodeToGuard(Body(EncodeFrame(m)));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, m);
  }
  for (const ToClient& m : EveryToClient()) {
    const auto back = DecodeToClient(Body(EncodeFrame(m)));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, m);
  }
}

TEST(Protocol, AFrameCutShortOrWithBytesLeftOverDecodesToNothing) {
  auto check = [](const Bytes& body, auto decode) {
    for (std::size_t n = 0; n < body.size(); ++n) {
      EXPECT_FALSE(decode(Bytes(body.begin(), body.begin() + static_cast<std::ptrdiff_t>(n))))
          << "cut to " << n << " of " << body.size();
    }
    Bytes longer = body;
    longer.push_back(0);
    EXPECT_FALSE(decode(longer));
  };
  for (const ToGuard& m : EveryToGuard()) check(Body(EncodeFrame(m)), DecodeToGuard);
  for (const ToClient& m : EveryToClient()) check(Body(EncodeFrame(m)), DecodeToClient);
}

TEST(Protocol, EachEndTakesOnlyItsOwnMessagesOfThisVersion) {
  Bytes hello = Body(EncodeFrame(ToGuard{Hello{}}));
  EXPECT_FALSE(DecodeToClient(hello));
  EXPECT_FALSE(DecodeToGuard(Body(EncodeFrame(ToClient{RestoreAllMessage{}}))));
  hello[0] = kProtocolVersion + 1;
  EXPECT_FALSE(DecodeToGuard(hello));
  EXPECT_FALSE(DecodeToGuard(Bytes{kProtocolVersion, 99}));
}

// Patches one byte of an encoded body and expects it refused.
template <class Decode>
void ExpectRefusedWith(Bytes body, std::size_t at, std::uint8_t value, Decode decode) {
  ASSERT_LT(at, body.size());
  body[at] = value;
  EXPECT_FALSE(decode(body)) << "byte " << at << " = " << int(value);
}

TEST(Protocol, NumbersOutOfTheirRangeAreRefused) {
  // An event kind past the last, and none.
  const Bytes enter = Body(EncodeFrame(ToGuard{MakeEvent(LockEventKind::KodEnter)}));
  ExpectRefusedWith(enter, 2, client::kLastLockEventKind + 1, DecodeToGuard);
  ExpectRefusedWith(enter, 2, 0, DecodeToGuard);
  // A check box past the sixteenth, and a Boolean that is neither 0 nor 1.
  LockEvent box = MakeEvent(LockEventKind::CheckBoxChanged);
  box.index = 3;
  const Bytes boxBody = Body(EncodeFrame(ToGuard{box}));
  ExpectRefusedWith(boxBody, 3, kSwitchCount, DecodeToGuard);
  ExpectRefusedWith(boxBody, 4, 2, DecodeToGuard);
  const Bytes sw = Body(EncodeFrame(ToClient{SwitchMessage{3, true}}));
  ExpectRefusedWith(sw, 2, kSwitchCount, DecodeToClient);
  // A window action and a message kind that do not exist.
  const Bytes action = Body(EncodeFrame(ToClient{RequestsMessage{{ui::WindowAction::FocusEntry}}}));
  ExpectRefusedWith(action, action.size() - 1, 200, DecodeToClient);
  const Bytes box2 = Body(EncodeFrame(ToClient{RequestsMessage{{ui::ErrorMessage("x")}}}));
  ExpectRefusedWith(box2, 7, 9, DecodeToClient);
  // A notice that would never go away, or be gone before it is seen.
  EXPECT_FALSE(DecodeToClient(
      Body(EncodeFrame(ToClient{RequestsMessage{{ui::NoticeRequest{"x", 0, true}}}}))));
  EXPECT_FALSE(DecodeToClient(
      Body(EncodeFrame(ToClient{RequestsMessage{{ui::NoticeRequest{"x", 61, true}}}}))));
  // A pointer move that would keep the window busy.
  EXPECT_FALSE(DecodeToClient(Body(EncodeFrame(ToClient{MovePointerMessage{{1, 1}, 1, 5000}}))));
  EXPECT_FALSE(DecodeToClient(Body(EncodeFrame(ToClient{MovePointerMessage{{1, 1}, 0, 1}}))));
}

TEST(Protocol, TextsMustBeCleanUtf8AndNoLongerThanTheCap) {
  LockEvent e = MakeEvent(LockEventKind::KodChanged);
  e.text = "abc";
  const Bytes body = Body(EncodeFrame(ToGuard{e}));  // version, type, kind, length(4), "abc"
  ExpectRefusedWith(body, 7, 0x00, DecodeToGuard);   // NUL
  ExpectRefusedWith(body, 7, 0xFF, DecodeToGuard);   // never UTF-8
  ExpectRefusedWith(body, 7, 0xC3, DecodeToGuard);   // a lead byte without its follower
  ExpectRefusedWith(body, 7, 0x80, DecodeToGuard);   // a follower without its lead
  for (const std::string_view bad : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
    Bytes b{kProtocolVersion,
            2,
            static_cast<std::uint8_t>(LockEventKind::KodChanged),
            static_cast<std::uint8_t>(bad.size()),
            0,
            0,
            0};
    for (const char c : bad) b.push_back(static_cast<std::uint8_t>(c));
    EXPECT_FALSE(DecodeToGuard(b)) << "overlong, surrogate or beyond U+10FFFF";
  }
  // A length past the cap is refused before anything is read.
  Bytes huge{
      kProtocolVersion, 2, static_cast<std::uint8_t>(LockEventKind::KodChanged), 0x01, 0x10, 0, 0};
  huge.resize(huge.size() + kMaxTextBytes + 1, 'a');
  EXPECT_FALSE(DecodeToGuard(huge));
}

TEST(Protocol, ALongTextIsCutAtACharacterBoundary) {
  LockEvent e = MakeEvent(LockEventKind::KodChanged);
  e.text = "a";
  for (int i = 0; i < 3000; ++i) e.text += "č";  // two bytes each, after one byte: odd cut
  const auto back = DecodeToGuard(Body(EncodeFrame(ToGuard{e})));
  ASSERT_TRUE(back.has_value());
  const std::string& text = std::get<LockEvent>(*back).text;
  EXPECT_EQ(text.size(), kMaxTextBytes - 1);
  EXPECT_EQ(text, e.text.substr(0, kMaxTextBytes - 1));
}

TEST(FrameReader, FramesArriveWholeHoweverTheBytesAreSplit) {
  std::vector<Bytes> frames;
  Bytes stream;
  for (const ToClient& m : EveryToClient()) {
    frames.push_back(EncodeFrame(m));
    stream.insert(stream.end(), frames.back().begin(), frames.back().end());
  }
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{64}, stream.size()}) {
    FrameReader reader;
    std::vector<Bytes> got;
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
      const std::size_t n = std::min(chunk, stream.size() - at);
      reader.Feed(std::span(stream).subspan(at, n));
      while (auto body = reader.Next()) got.push_back(*body);
    }
    ASSERT_EQ(got.size(), frames.size()) << "chunks of " << chunk;
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i], Body(frames[i]));
    EXPECT_EQ(reader.pending(), 0u);
    EXPECT_FALSE(reader.broken());
  }
}

TEST(FrameReader, ALengthTooSmallOrTooLargeBreaksTheStreamForGood) {
  for (const std::uint32_t length :
       {0u, 1u, static_cast<std::uint32_t>(kMaxFrameBytes - 3), 0xFFFFFFFFu}) {
    FrameReader reader;
    const Bytes header{static_cast<std::uint8_t>(length), static_cast<std::uint8_t>(length >> 8),
                       static_cast<std::uint8_t>(length >> 16),
                       static_cast<std::uint8_t>(length >> 24)};
    reader.Feed(header);
    EXPECT_FALSE(reader.Next());
    EXPECT_TRUE(reader.broken()) << length;
    const Bytes hello = EncodeFrame(ToGuard{Hello{}});
    reader.Feed(hello);
    EXPECT_FALSE(reader.Next()) << "nothing after a broken header";
  }
  FrameReader largest;
  const std::uint32_t max = static_cast<std::uint32_t>(kMaxFrameBytes - 4);
  Bytes frame{static_cast<std::uint8_t>(max), static_cast<std::uint8_t>(max >> 8),
              static_cast<std::uint8_t>(max >> 16), 0};
  frame.resize(kMaxFrameBytes, 0);
  largest.Feed(frame);
  EXPECT_TRUE(largest.Next().has_value());
  EXPECT_FALSE(largest.broken());
}

TEST(Protocol, TheLargestViewFitsInAFrame) {
  client::LockScreenView v = Unusual();
  for (std::string* s :
       {&v.odpocetLED, &v.hodinky, &v.tit, &v.infoLabel.text, &v.kod.text, &v.datod.text,
        &v.datdo.text, &v.smidelit.text, &v.backgroundPicture, &v.logoFile, &v.adminheslo,
        &v.servercesta, &v.provoz, &v.pozadiFile, &v.uid}) {
    *s = std::string(kMaxTextBytes, 'x');
  }
  const Bytes frame = EncodeFrame(ToClient{ViewMessage{v}});
  EXPECT_LE(frame.size(), kMaxFrameBytes);
  FrameReader reader;
  reader.Feed(frame);
  const auto body = reader.Next();
  ASSERT_TRUE(body.has_value());
  EXPECT_EQ(DecodeToClient(*body), (std::optional<ToClient>{ViewMessage{v}}));
}

}  // namespace
}  // namespace sentavo::guard
