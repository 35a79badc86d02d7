#include "ui/list_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sentavo::ui {
namespace {

using Kind = RowChange::Kind;

TEST(RowHistory, AControlOneChangeBehindFollowsByThatRowAndAnyOtherIsRefilled) {
  RowHistory history;
  EXPECT_EQ(history.Since(0, 0), RowChange{});  // a new list and a new control agree

  history.Inserted(0);
  EXPECT_EQ(history.Since(0, 1), (RowChange{Kind::Insert, 0, 0}));
  EXPECT_EQ(history.Since(1, 1), RowChange{});

  history.Inserted(1);
  history.Removed(0);
  EXPECT_EQ(history.Since(2, 1), (RowChange{Kind::Remove, 0, 0}));
  // Two changes behind: only the last one is known.
  EXPECT_EQ(history.Since(1, 1), (RowChange{Kind::Refill, 0, 1}));
  // A control that showed another list, further on than this one.
  EXPECT_EQ(history.Since(7, 1), (RowChange{Kind::Refill, 0, 1}));

  history.Replaced();
  EXPECT_EQ(history.revision(), 4u);
  EXPECT_EQ(history.Since(3, 5), (RowChange{Kind::Refill, 0, 5}));
  EXPECT_EQ(history.Since(4, 5), RowChange{});
}

class Rows : public ::testing::Test {
 protected:
  std::optional<std::size_t> Find(std::optional<std::size_t> after, char first) {
    return FindRow(names.size(), after, [&](std::size_t row) {
      ++asked;
      return names[row][0] == first;
    });
  }
  std::vector<std::string> names{"a1", "b1", "a2", "c1", "a3"};
  int asked = 0;
};

TEST_F(Rows, TheSearchStartsAfterTheGivenRowAndGoesRoundToIt) {
  EXPECT_EQ(Find(std::nullopt, 'a'), 0u);
  EXPECT_EQ(Find(0, 'a'), 2u);
  EXPECT_EQ(Find(2, 'a'), 4u);
  EXPECT_EQ(Find(4, 'a'), 0u);  // round from the last row to the top
  EXPECT_EQ(Find(1, 'b'), 1u);  // the start itself, last
  EXPECT_EQ(Find(3, 'c'), 3u);
}

TEST_F(Rows, ASearchWithoutAMatchLooksAtEveryRowOnceAndAStartBeyondTheListStartsAtTheTop) {
  EXPECT_EQ(Find(2, 'z'), std::nullopt);
  EXPECT_EQ(asked, 5);
  EXPECT_EQ(Find(99, 'a'), 0u);
  EXPECT_EQ(Find(5, 'b'), 1u);
  names.clear();
  asked = 0;
  EXPECT_EQ(Find(std::nullopt, 'a'), std::nullopt);
  EXPECT_EQ(Find(0, 'a'), std::nullopt);
  EXPECT_EQ(asked, 0);
}

}  // namespace
}  // namespace sentavo::ui
