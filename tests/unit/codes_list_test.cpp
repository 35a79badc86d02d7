#include "formats/codes_list.h"

#include <gtest/gtest.h>

#include "formats/cp1250.h"

namespace sentavo {
namespace {

using Names = std::vector<std::string>;

TEST(CodesList, LineEndsOfEveryKindSplitEntries) {
  EXPECT_EQ(ParseCodesList("a\r\nb\r\n"), (Names{"a", "b"}));
  EXPECT_EQ(ParseCodesList("a\nb\n"), (Names{"a", "b"}));
  EXPECT_EQ(ParseCodesList("a\rb\r"), (Names{"a", "b"}));
  EXPECT_EQ(ParseCodesList("a\r\nb\nc\rd"), (Names{"a", "b", "c", "d"}));
  // LF CR is two line ends, unlike CR LF.
  EXPECT_EQ(ParseCodesList("a\n\rb"), (Names{"a", "", "b"}));
}

TEST(CodesList, EmptyEntryRules) {
  EXPECT_EQ(ParseCodesList(""), Names{});
  EXPECT_EQ(ParseCodesList("last"), (Names{"last"}));
  EXPECT_EQ(ParseCodesList("a\r\n\r\nb\r\n"), (Names{"a", "", "b"}));
  EXPECT_EQ(ParseCodesList("\r\n"), (Names{""}));
  EXPECT_EQ(ParseCodesList("a\r\n\r\n"), (Names{"a", ""}));
  EXPECT_EQ(ParseCodesList(" spaced \r\n"), (Names{" spaced "}));
}

TEST(CodesList, WrittenWithCrLfInWindows1250AndReadBackAlike) {
  EXPECT_EQ(SerializeCodesList({}), "");
  EXPECT_EQ(SerializeCodesList({"123", "čtvrtek", ""}), "123\r\n\xE8tvrtek\r\n\r\n");
  const Names names{"a", "", "žák 7", "b"};
  EXPECT_EQ(ParseCodesList(SerializeCodesList(names)), names);
  EXPECT_EQ(ParseCodesList("x\ny"), ParseCodesList(SerializeCodesList({"x", "y"})));
}

TEST(CodesList, NamesThatWouldNotReadBackAreRefused) {
  EXPECT_THROW(SerializeCodesList({"a\nb"}), std::invalid_argument);
  EXPECT_THROW(SerializeCodesList({"a\rb"}), std::invalid_argument);
  EXPECT_THROW(SerializeCodesList({"Øre"}), TextEncodingError);
}

}  // namespace
}  // namespace sentavo
