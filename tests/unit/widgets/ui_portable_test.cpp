// The portable parts of the window layer: grouped numbers, message forms, the recording canvas
// and geometry.
#include <gtest/gtest.h>

#include "ui/enum_set.h"
#include "ui/messages.h"
#include "ui/number_text.h"
#include "ui/recording_canvas.h"

namespace sentavo::ui {
namespace {

constexpr std::string_view kNbsp = "\xC2\xA0";

TEST(GroupedNumbers, FormatWithTheSystemSeparator) {
  EXPECT_EQ(FormatGrouped(3600, kNbsp),
            "3\xC2\xA0"
            "600");
  EXPECT_EQ(FormatGrouped(32767, ","), "32,767");
  EXPECT_EQ(FormatGrouped(60, ","), "60");
  EXPECT_EQ(FormatGrouped(1234567, "."), "1.234.567");
  EXPECT_EQ(FormatGrouped(-1000, ","), "-1,000");
  EXPECT_EQ(FormatGrouped(0, ","), "0");
  EXPECT_EQ(FormatGrouped(100000, ""), "100000");
}

TEST(GroupedNumbers, ParseWhatPeopleTypeAndRefuseTheRest) {
  EXPECT_EQ(ParseGrouped("3\xC2\xA0"
                         "600",
                         kNbsp),
            3600);
  EXPECT_EQ(ParseGrouped("3 600", kNbsp), 3600);  // a plain blank for the no-break space
  EXPECT_EQ(ParseGrouped("3600", kNbsp), 3600);
  EXPECT_EQ(ParseGrouped(" 42 ", ","), 42);
  EXPECT_EQ(ParseGrouped("-7", ","), -7);
  EXPECT_EQ(ParseGrouped("2147483647", ","), 2147483647);
  EXPECT_EQ(ParseGrouped("-2147483648", ","), -2147483647 - 1);
  for (const char* bad : {"", "abc", "12a", "1,,000", ",100", "100,", "2147483648", "99999999999",
                          "1.5", "-", "3 600"}) {
    EXPECT_FALSE(ParseGrouped(bad, ",")) << bad;
  }
}

TEST(Messages, TheFormsOfTheMessageBoxes) {
  EXPECT_EQ(ErrorMessage("Chybné heslo."),
            (Message{Message::Kind::Error, "Error", "Chybné heslo."}));
  EXPECT_EQ(InformationMessage("Změny uloženy.").caption, "Information");
  EXPECT_EQ(StopMessage("Sentavo ADMIN", "File access denied").text, "File access denied.");
  EXPECT_EQ(StopMessage("Sentavo ADMIN", "Disk full.").text, "Disk full.");
  EXPECT_EQ(StopMessage("Sentavo ADMIN", "x").caption, "Sentavo ADMIN");
  // The client's notices: no icon, the caption as given, the text untouched.
  EXPECT_EQ(PlainMessage("Sentavo", "Restart"),
            (Message{Message::Kind::Plain, "Sentavo", "Restart"}));
}

TEST(RecordingCanvas, KeepsStateAndMeasuresWithoutTheAcceleratorMark) {
  RecordingCanvas c;
  FontSpec f;
  f.height = 13;
  c.SetFont(f);
  EXPECT_EQ(c.TextExtent("&Konec"), (Size{30, 13}));
  EXPECT_EQ(c.TextExtent("Zrušit"), (Size{36, 13}));
  c.SetBrush(clBtnFace);
  c.FillRect({0, 0, 2, 2});
  c.SetClearBrush();
  c.FillRect({0, 0, 2, 2});
  EXPECT_EQ(c.ops[0].brush, ClassicSystemColor(15));
  EXPECT_FALSE(c.ops[0].clearBrush);
  EXPECT_TRUE(c.ops[1].clearBrush);
}

TEST(Geometry, RectsAndSets) {
  EXPECT_EQ((Rect{5, 5, 1, 1}.Normalized()), (Rect{1, 1, 5, 5}));
  EXPECT_EQ((Bounds{8, 2, 129, 31}.ToRect()), (Rect{8, 2, 137, 33}));
  EXPECT_TRUE((Rect{0, 0, 2, 2}.Contains({1, 1})));
  EXPECT_FALSE((Rect{0, 0, 2, 2}.Contains({2, 1})));
  enum class E { a, b, c };
  EnumSet<E> s{E::a, E::c};
  EXPECT_TRUE(s.Has(E::c));
  EXPECT_FALSE(s.Has(E::b));
  s.Exclude(E::a);
  EXPECT_EQ(s, (EnumSet<E>{E::c}));
}

}  // namespace
}  // namespace sentavo::ui
