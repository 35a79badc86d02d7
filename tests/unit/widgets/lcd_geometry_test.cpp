// The display's value rules, cell splitting, layout numbers and segment shapes.
#include "widgets/lcd_geometry.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace sentavo::widgets {
namespace {

using ui::Point;
using ui::Rect;

TEST(LcdValue, UpperCasesValidatesAndDropsOneFinalPoint) {
  EXPECT_EQ(NormalizeLcdValue("locked"), "LOCKED");
  EXPECT_EQ(NormalizeLcdValue("12:3x"), "12:3X");
  EXPECT_EQ(NormalizeLcdValue("12!"), "");
  EXPECT_EQ(NormalizeLcdValue("ab_"), "");
  EXPECT_EQ(NormalizeLcdValue("12."), "12");
  EXPECT_EQ(NormalizeLcdValue("1.."), "1.");  // only one final point goes
  EXPECT_EQ(NormalizeLcdValue("-1.5"), "-1.5");
  EXPECT_EQ(NormalizeLcdValue("\xC3\xA1"), "");  // a non-ASCII letter is not allowed
  EXPECT_EQ(NormalizeLcdValue(" 0:0 "), " 0:0 ");
}

TEST(LcdValue, SplitPointsPutsEachPointBeforeTheNextCell) {
  EXPECT_EQ(SplitPoints("12.34"), (LcdCells{"1234", "  . "}));
  EXPECT_EQ(SplitPoints(".5"), (LcdCells{"5", "."}));
  // Two points in a row leave a blank cell, with a lit point before it and before the 2.
  EXPECT_EQ(SplitPoints("1..2"), (LcdCells{"1 2", " .."}));
  EXPECT_EQ(SplitPoints("12:34:56"), (LcdCells{"12:34:56", "        "}));
  EXPECT_EQ(SplitPoints(""), (LcdCells{}));
}

TEST(LcdValue, PaddingRightAlignsAndCutsAfterTheFirstCells) {
  EXPECT_EQ(PadCells(SplitPoints("LOCKED"), 8), (LcdCells{"  LOCKED", "        "}));
  EXPECT_EQ(PadCells(SplitPoints("123456789"), 8).cells, "12345678");
  EXPECT_EQ(PadCells(SplitPoints(""), 3), (LcdCells{"   ", "   "}));
  EXPECT_EQ(PadCells(SplitPoints("12"), 0).cells, "");
}

LcdParams Clock() {
  LcdParams p;
  p.digitNum = 8;
  return p;
}

TEST(LcdLayout, BarModeOfTheLockWindowsDisplays) {
  const auto k = ComputeLcdLayout(Clock(), 124, 22);
  ASSERT_TRUE(k);
  EXPECT_EQ(k->s, 6);
  EXPECT_EQ(k->w, 8);
  EXPECT_EQ(k->h, 21);
  EXPECT_EQ(k->m, 10);
  EXPECT_EQ(k->L, 4);
  EXPECT_EQ(k->V, 6);
  EXPECT_EQ(k->CellLeft(1), 6);
  EXPECT_EQ(k->CellLeft(2), 20);
  const LcdShape point = PointShape(*k, 1, true, {1, 2});
  EXPECT_EQ(point.kind, LcdShape::Kind::Rect);
  EXPECT_EQ(point.box, (Rect{2, 19, 4, 21}));
  EXPECT_EQ(point.color, 1u);
}

TEST(LcdLayout, DotModeKeepsEveryDotOnTheGrid) {
  LcdParams p = Clock();
  p.dotDisplay = true;
  const auto k = ComputeLcdLayout(p, 124, 22);
  ASSERT_TRUE(k);
  EXPECT_EQ(k->p, 4);
  EXPECT_EQ(k->s, 5);
  EXPECT_EQ(k->w, 10);
  EXPECT_EQ(k->h, 18);
  EXPECT_EQ(k->m, 9);
  EXPECT_EQ(k->L, 10);
  EXPECT_EQ(k->V, 9);
  EXPECT_EQ(k->CellLeft(2), 20);
  // An 8 lights every segment: every dot of the cell lies on the pitch grid from the cell's corner.
  std::vector<LcdShape> shapes;
  for (int seg = 1; seg <= 7; ++seg) AppendSegmentShapes(*k, 1, seg, '8', {1, 2}, shapes);
  std::set<std::pair<int, int>> corners;
  for (const LcdShape& s : shapes) {
    EXPECT_EQ(s.kind, LcdShape::Kind::Ellipse);
    EXPECT_EQ((s.box.left - 5) % 4, 0);
    EXPECT_EQ(s.box.top % 4, 0);
    EXPECT_EQ(s.box.Width(), 2);
    EXPECT_EQ(s.box.Height(), 2);
    corners.insert({s.box.left, s.box.top});
  }
  // 3 columns (x 5, 9, 13) by 5 rows (y 0, 4, 8, 12, 16), outline and middle bar: 3+3+3+2*2+2*2
  // = 13.
  EXPECT_EQ(corners.size(), 13u);
  EXPECT_TRUE(corners.count({13, 16}));
}

TEST(LcdLayout, NothingToDrawWithoutCellsOrWithoutADotPitch) {
  LcdParams p = Clock();
  p.digitNum = 0;
  EXPECT_FALSE(ComputeLcdLayout(p, 124, 22));
  p.digitNum = -3;
  EXPECT_FALSE(ComputeLcdLayout(p, 124, 22));
  p = Clock();
  p.dotDisplay = true;
  p.segmentSize = 2;
  p.dotSpacing = -2;
  EXPECT_FALSE(ComputeLcdLayout(p, 124, 22));
  p.dotDisplay = false;  // the pitch means nothing in bar mode
  EXPECT_TRUE(ComputeLcdLayout(p, 124, 22));
}

TEST(LcdShapes, BarSegmentsOfTheFirstCell) {
  const LcdLayout k = *ComputeLcdLayout(Clock(), 124, 22);
  auto polygon = [&](int seg) {
    std::vector<LcdShape> out;
    AppendSegmentShapes(k, 1, seg, '8', {1, 2}, out);
    EXPECT_EQ(out.size(), 1u);
    return out.at(0).points;
  };
  using P = std::vector<Point>;
  EXPECT_EQ(polygon(1), (P{{8, 0}, {9, 0}, {11, 0}, {12, 0}, {10, 2}, {10, 2}, {8, 0}}));
  EXPECT_EQ(polygon(7), (P{{8, 21}, {9, 21}, {11, 21}, {12, 21}, {10, 19}, {10, 19}, {8, 21}}));
  EXPECT_EQ(polygon(4), (P{{8, 10}, {10, 9}, {10, 9}, {12, 10}, {10, 11}, {10, 11}, {8, 10}}));
  EXPECT_EQ(polygon(2), (P{{6, 2}, {6, 3}, {6, 7}, {6, 8}, {8, 6}, {8, 4}, {6, 2}}));
  EXPECT_EQ(polygon(3), (P{{14, 2}, {14, 3}, {14, 7}, {14, 8}, {12, 6}, {12, 4}, {14, 2}}));
  EXPECT_EQ(polygon(5), (P{{6, 12}, {6, 13}, {6, 17}, {6, 18}, {8, 16}, {8, 14}, {6, 12}}));
  EXPECT_EQ(polygon(6), (P{{14, 12}, {14, 13}, {14, 17}, {14, 18}, {12, 16}, {12, 14}, {14, 12}}));
}

TEST(LcdShapes, ThickSegmentsRoundTheBevelHalfToEven) {
  LcdParams p = Clock();
  p.segmentSize = 6;  // T/4 = 1.5 rounds to 2, T/2 = 3
  const LcdLayout k = *ComputeLcdLayout(p, 300, 60);
  std::vector<LcdShape> out;
  AppendSegmentShapes(k, 1, 1, '8', {1, 2}, out);
  AppendSegmentShapes(k, 1, 7, '8', {1, 2}, out);
  AppendSegmentShapes(k, 1, 4, '8', {1, 2}, out);
  EXPECT_EQ(out[0].points[0].y, 2);
  EXPECT_EQ(out[1].points[0].y, k.h - 2);  // -1.5 rounds to -2
  EXPECT_EQ(out[2].points[0].y, k.m);      // middle: from m - t/2 down by T/2
}

TEST(LcdShapes, ColonAndItsColour) {
  const LcdLayout k = *ComputeLcdLayout(Clock(), 124, 22);
  std::vector<LcdShape> out;
  AppendSegmentShapes(k, 1, 8, ':', {1, 2}, out);
  AppendSegmentShapes(k, 2, 8, '5', {1, 2}, out);
  ASSERT_EQ(out.size(), 4u);
  EXPECT_EQ(out[0].box, (Rect{9, 6, 10, 8}));
  EXPECT_EQ(out[1].box, (Rect{9, 12, 10, 14}));
  EXPECT_EQ(out[0].color, 1u);
  EXPECT_EQ(out[2].color, 2u);  // every cell draws its colon, unlit where it is no colon
}

// The character table, written out once more: every character lights exactly these segments.
TEST(LcdShapes, EveryCharacterOfTheTableLightsItsSegments) {
  const std::map<char, std::string> table = {
      {'0', "123567"}, {'1', "36"},     {'2', "13457"},  {'3', "13467"},   {'4', "2346"},
      {'5', "12467"},  {'6', "124567"}, {'7', "136"},    {'8', "1234567"}, {'9', "123467"},
      {'-', "4"},      {':', "8"},      {'A', "123456"}, {'B', "24567"},   {'C', "1257"},
      {'D', "34567"},  {'E', "12457"},  {'F', "1245"},   {'G', "124567"},  {'H', "2456"},
      {'I', "36"},     {'J', "367"},    {'K', "23456"},  {'L', "257"},     {'M', "456"},
      {'N', "456"},    {'O', "4567"},   {'P', "12345"},  {'Q', "12346"},   {'R', "45"},
      {'S', "12467"},  {'T', "245"},    {'U', "23567"},  {'V', "23567"},   {'W', "23567"},
      {'X', "23456"},  {'Y', "2346"},   {'Z', "13457"},  {' ', ""}};
  for (bool dots : {false, true}) {
    LcdParams p = Clock();
    p.dotDisplay = dots;
    const LcdLayout k = *ComputeLcdLayout(p, 124, 22);
    for (const auto& [c, lit] : table) {
      for (int seg = 1; seg <= 8; ++seg) {
        std::vector<LcdShape> out;
        AppendSegmentShapes(k, 3, seg, c, {0xA, 0xB}, out);
        const bool on = lit.find(static_cast<char>('0' + seg)) != std::string::npos;
        ASSERT_FALSE(out.empty()) << c << seg;
        for (const LcdShape& s : out) {
          EXPECT_EQ(s.color, on ? 0xAu : 0xBu)
              << "'" << c << "' segment " << seg << " dots " << dots;
        }
      }
    }
  }
}

int Dots(const LcdLayout& k, int seg, char c) {
  std::vector<LcdShape> out;
  AppendSegmentShapes(k, 1, seg, c, {1, 2}, out);
  return static_cast<int>(out.size());
}

TEST(LcdShapes, UnlitDotsLeaveTheCornersOfLitNeighbours) {
  LcdParams p = Clock();
  p.dotDisplay = true;
  const LcdLayout k = *ComputeLcdLayout(p, 124, 22);
  const int horizontal = Dots(k, 1, ' ');
  const int vertical = Dots(k, 2, ' ');
  EXPECT_EQ(horizontal, 3);  // blank: every dot drawn
  EXPECT_EQ(vertical, 3);
  EXPECT_EQ(Dots(k, 1, '8'), horizontal);      // lit: every dot drawn
  EXPECT_EQ(Dots(k, 1, '1'), horizontal - 1);  // top unlit, 3 lit: its last dot skipped
  EXPECT_EQ(Dots(k, 1, 'L'), horizontal - 1);  // top unlit, 2 lit: its first dot skipped
  EXPECT_EQ(Dots(k, 4, '0'), horizontal - 2);  // middle unlit between lit verticals
  EXPECT_EQ(Dots(k, 7, '4'), horizontal - 1);  // bottom unlit, 6 lit
  EXPECT_EQ(Dots(k, 2, '2'), vertical - 2);    // upper left unlit, 1 and 4 lit
  EXPECT_EQ(Dots(k, 3, '6'), vertical - 2);    // upper right unlit, 1 and 4 lit
  EXPECT_EQ(Dots(k, 5, '3'), vertical - 2);    // lower left unlit, 4 and 7 lit
  EXPECT_EQ(Dots(k, 6, '2'), vertical - 2);    // lower right unlit, 4 and 7 lit
  EXPECT_EQ(Dots(k, 6, 'C'), vertical - 1);    // lower right unlit, only 7 lit
  // The skipped dot is the corner: the top of a 1 keeps its first two dots.
  std::vector<LcdShape> out;
  AppendSegmentShapes(k, 1, 1, '1', {1, 2}, out);
  EXPECT_EQ(out[0].box.left, 5);
  EXPECT_EQ(out[1].box.left, 9);
}

}  // namespace
}  // namespace sentavo::widgets
