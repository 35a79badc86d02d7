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

TEST(CodesList, EveryByteInsideALineIsAWindows1250Character) {
  EXPECT_EQ(ParseCodesList("\xE8\r\n\x8A\xE8\n\x81"), (Names{"č", "Šč", "\u0081"}));
  EXPECT_EQ(ParseCodesList("\x80\r"), Names{"€"});
  EXPECT_EQ(ParseCodesList(std::string_view("a\0b\n", 4)), Names{std::string("a\0b", 3)});
}

TEST(CodesList, NamesThatWouldNotReadBackAreRefused) {
  EXPECT_THROW(SerializeCodesList({"a\nb"}), std::invalid_argument);
  EXPECT_THROW(SerializeCodesList({"a\rb"}), std::invalid_argument);
  EXPECT_THROW(SerializeCodesList({"Øre"}), TextEncodingError);
}

TEST(CodeNames, EditsKeepEveryOtherNameWhereItWas) {
  CodeNames names = ParseCodeNames("A\r\nBB\r\n\r\nCCC\r\nD");
  EXPECT_EQ(names, (Names{"A", "BB", "", "CCC", "D"}));
  names.erase(1);
  EXPECT_EQ(names, (Names{"A", "", "CCC", "D"}));
  names.erase(1);  // an empty name takes no text, yet is an entry
  EXPECT_EQ(names, (Names{"A", "CCC", "D"}));
  names.push_back("čtvrtý");
  names.erase(0);
  EXPECT_EQ(names, (Names{"CCC", "D", "čtvrtý"}));
  names.erase(2);
  names.push_back("");
  EXPECT_EQ(names, (Names{"CCC", "D", ""}));
  EXPECT_EQ(SerializeCodesList(names), "CCC\r\nD\r\n\r\n");
  while (!names.empty()) names.erase(0);
  EXPECT_EQ(names, Names{});
  EXPECT_EQ(SerializeCodesList(names), "");
}

TEST(CodeNames, ListsAreEqualOnlyNameForName) {
  EXPECT_EQ(ParseCodeNames("ab\r\n\r\n"), (CodeNames{"ab", ""}));
  EXPECT_NE(ParseCodeNames("ab\r\n\r\n"), (CodeNames{"a", "b"}));
  EXPECT_NE((CodeNames{"ab", ""}), (Names{"a", "b"}));
  EXPECT_NE((CodeNames{"ab"}), (Names{"ab", ""}));
  EXPECT_NE((CodeNames{""}), CodeNames{});
  EXPECT_EQ((CodeNames{"x", "y"}), (Names{"x", "y"}));

  const CodeNames names{"A", "", "B", "A"};
  EXPECT_EQ(names.Find("A"), 0u);
  EXPECT_EQ(names.Find(""), 1u);
  EXPECT_EQ(names.Find("B"), 2u);
  EXPECT_EQ(names.Find("a"), std::nullopt);
  EXPECT_EQ(names.ToStrings(), (Names{"A", "", "B", "A"}));
  Names walked;
  for (std::string_view name : names) walked.emplace_back(name);
  EXPECT_EQ(walked, names.ToStrings());
}

TEST(CodeNames, ANameAddedThatWouldNotReadBackIsRefusedAtTheSave) {
  CodeNames names{"123", "čtvrtek", ""};
  EXPECT_EQ(ParseCodeNames(SerializeCodesList(names)), names);
  names.push_back("a\nb");
  EXPECT_THROW(SerializeCodesList(names), std::invalid_argument);
  EXPECT_THROW(SerializeCodesList(CodeNames{"Øre"}), TextEncodingError);
}

TEST(CodeNames, AHundredThousandNamesReadAndEditAsAFewDo) {
  std::string file;
  for (int i = 0; i < 100000; ++i) file += std::to_string(1000000000 + i * 7919) + "\r\n";
  CodeNames names = ParseCodeNames(file);
  ASSERT_EQ(names.size(), 100000u);
  EXPECT_EQ(names[0], "1000000000");
  EXPECT_EQ(names[99999], std::to_string(1000000000 + 99999 * 7919));
  names.erase(50000);
  EXPECT_EQ(names.size(), 99999u);
  EXPECT_EQ(names[49999], std::to_string(1000000000 + 49999 * 7919));
  EXPECT_EQ(names[50000], std::to_string(1000000000 + 50001 * 7919));
  names.push_back("N");
  EXPECT_EQ(names[99999], "N");
  EXPECT_EQ(ParseCodeNames(SerializeCodesList(names)), names);
}

}  // namespace
}  // namespace sentavo
