// Guessing codes is made hard: a file reached by another name than the one typed is no code, and
// too many refusals in a minute close the entry for a while.
#include "client_fakes.h"

namespace sentavo::client::test {
namespace {

class Guessing : public ClientTest {
 protected:
  void Refusals(int n) {
    for (int i = 0; i < n; ++i) {
      ASSERT_TRUE(screen.view().kod.enabled);
      Enter("nic" + std::to_string(i));
      clock.AdvanceMilliseconds(2000);
    }
  }
  // Locked in every other respect.
  void ExpectLockedButPaused() const {
    EXPECT_EQ(screen.countdown(), -1);
    EXPECT_TRUE(screen.view().stayOnTop);
    SwitchSet all{};
    all.fill(true);
    EXPECT_EQ(screen.view().switches, all);
    EXPECT_FALSE(screen.view().kod.enabled);
  }
  bool Paused() const {
    return !screen.view().kod.enabled && screen.view().infoLabel.text == texts::kTooManyAttempts;
  }
};

TEST_F(Guessing, AFileReachedByAnotherNameThanTheTypedOneIsNoCode) {
  // On a volume with short names "123456~1" opens 1234567890.dat.
  PutCode("1234567890", IssuedCode());
  files.files[CodePath("123456~1")] = files.files[CodePath("1234567890")];
  files.realNames[CodePath("123456~1")] = "1234567890.dat";
  Enter("123456~1");
  EXPECT_EQ(screen.view().infoLabel.text, texts::kCodeMissing);
  ExpectLocked();
  EXPECT_EQ(screen.codePath(), "");
  EXPECT_TRUE(files.writes.empty());
  EXPECT_EQ(files.Record(CodePath("1234567890")).loggedIn, false);

  // Another letter case is the same name, Czech letters included; another letter is not.
  const std::pair<std::string, std::string> names[] = {
      {"Kavarna7", "kaVARna7.DAT"}, {"ČAJOVNA Ř", "čajovna ř.dat"}, {"žluťoučký", "ŽLUŤOUČKÝ.dat"}};
  for (const auto& [typed, stored] : names) {
    SCOPED_TRACE(typed);
    files.files[CodePath(typed)] = files.files[CodePath("1234567890")];
    files.realNames[CodePath(typed)] = stored;
    EnterUnhurried(typed);
    EXPECT_EQ(screen.view().infoLabel.text, texts::kUserLoggedIn);
    EXPECT_EQ(screen.countdown(), 3600);
    screen.OnOdhlasitUseraClick();
  }
  files.files[CodePath("cajovna")] = files.files[CodePath("1234567890")];
  files.realNames[CodePath("cajovna")] = "čajovna.dat";
  EnterUnhurried("cajovna");
  EXPECT_EQ(screen.view().infoLabel.text, texts::kCodeMissing);
  Enter("1234567890");
  EXPECT_EQ(screen.view().infoLabel.text, texts::kUserLoggedIn);
}

TEST_F(Guessing, FourRefusalsInAMinuteStillLetAGoodCodeIn) {
  PutCode("dobry", IssuedCode());
  Refusals(4);
  EXPECT_TRUE(screen.view().kod.enabled);
  Enter("dobry");
  EXPECT_EQ(screen.view().infoLabel.text, texts::kUserLoggedIn);
  EXPECT_EQ(screen.countdown(), 3600);
}

TEST_F(Guessing, TheFifthRefusalInAMinuteClosesTheEntryForThirtySeconds) {
  PutCode("dobry", IssuedCode());
  // Guessed passwords count like guessed codes.
  for (const char* guess : {"vamo", "Vamor", "x", "y", "vamor "}) Enter(guess);
  EXPECT_TRUE(Paused());
  EXPECT_TRUE(screen.view().prihlasitBut.enabled);  // as a missing code leaves it

  // Nothing typed is checked during the pause: the right password, a good code, the button.
  Enter("vamor");
  screen.OnKodChanged("dobry");
  screen.OnPrihlasitClick();
  EXPECT_FALSE(screen.adminLoggedIn());
  EXPECT_EQ(screen.countdown(), -1);
  EXPECT_TRUE(files.writes.empty());

  // Locked seconds and the hot key keep it closed, and the pointer stays in the entry box.
  Ticks(29);
  screen.OnHotKey();
  clock.AdvanceMilliseconds(999);
  screen.OnTimer1();
  EXPECT_TRUE(Paused());
  ExpectLockedButPaused();
  pointer.pos = {900, 900};
  screen.OnTimer2();
  EXPECT_EQ(pointer.moves, (Log{"100,200 steps 1 delay 1"}));

  clock.AdvanceMilliseconds(1);
  screen.OnTimer1();
  EXPECT_TRUE(screen.view().kod.enabled);
  Enter("dobry");
  EXPECT_EQ(screen.countdown(), 3600);
}

TEST_F(Guessing, RefusalsOlderThanAMinuteDoNotCount) {
  Refusals(4);
  clock.AdvanceMilliseconds(60'000 - 8'000);  // the first of them a minute ago
  Refusals(1);
  EXPECT_TRUE(screen.view().kod.enabled);
  Refusals(3);
  EXPECT_TRUE(screen.view().kod.enabled);
  // The last five (2 s apart) are within a minute.
  Refusals(1);
  EXPECT_TRUE(Paused());
  // After the pause, those refusals are still within the minute: one more closes it again.
  Ticks(30);
  EXPECT_TRUE(screen.view().kod.enabled);
  Enter("znovu");
  EXPECT_TRUE(Paused());
}

TEST_F(Guessing, ChangingTheWallClockDoesNotEndThePause) {
  Refusals(5);
  ASSERT_TRUE(Paused());
  clock.Set({2026, 12, 2, 13, 0, 0});  // an hour ahead
  screen.OnTimer1();
  clock.Set({2026, 12, 3, 12, 0, 0});  // a day ahead
  Ticks(1);
  EXPECT_TRUE(Paused());
  Ticks(26);  // 29 seconds since the fifth refusal
  EXPECT_TRUE(Paused());
  Ticks(1);
  EXPECT_TRUE(screen.view().kod.enabled);
}

}  // namespace
}  // namespace sentavo::client::test
