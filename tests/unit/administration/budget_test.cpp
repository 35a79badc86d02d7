#include "administration/budget.h"

#include <gtest/gtest.h>

namespace sentavo::admin {
namespace {

TEST(BudgetText, WholeNumbersInRangeCountWithOrWithoutThousandsSeparators) {
  const struct {
    const char* text;
    const char* separator;
    int value;
  } good[] = {
      {"3600", "\u00A0", 3600},
      {"3\u00A0600", "\u00A0", 3600},
      {"3 600", "\u00A0", 3600},
      {"3\u202F600", ",", 3600},
      {"32.767", ".", 32767},
      {"3,600", ",", 3600},
      {"60", "", 60},
      {"32767", "", 32767},
      {" \t3 600\u00A0 ", "", 3600},
      {"0060", "", 60},
      {"32\u2019767", "\u2019", 32767},  // Swiss grouping
  };
  for (const auto& g : good) {
    EXPECT_EQ(ParseBudgetText(g.text, g.separator), g.value) << g.text;
  }
}

TEST(BudgetText, AnythingElseLeavesTheLastValidValue) {
  const struct {
    const char* text;
    const char* separator;
  } bad[] = {
      {"59", ""},     {"32768", ""},  {"99999999999999999999", ""},
      {"", ""},       {"   ", ""},    {"abc", ""},
      {"3600s", ""},  {"-3600", ""},  {"+3600", ""},
      {"3600.0", ""}, {"3  600", ""}, {"3 \u00A0600", ""},
      {"3,600", "."}, {"3.600", ","}, {" 3 600,", ","},
      {",3600", ","}, {"3\t600", ""}, {"０６０", ""},
  };
  for (const auto& b : bad) {
    EXPECT_EQ(ParseBudgetText(b.text, b.separator), std::nullopt) << b.text;
  }
}

}  // namespace
}  // namespace sentavo::admin
