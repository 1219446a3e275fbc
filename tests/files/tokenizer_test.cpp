#include "framework/files/tokenizer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Fields(const CTokenizer& t) {
  std::vector<std::string> out;
  for (int i = 0; i < t.GetCount(); ++i) out.push_back(t.GetField(i));
  return out;
}

using Fs = std::vector<std::string>;

TEST(Tokenizer, SplitGivesOneFieldMoreThanSeparators) {
  struct Case {
    const char* text;
    Fs expected;
  };
  const Case cases[] = {
      {"", {""}},
      {"a\tb\tc", {"a", "b", "c"}},
      {"a\tb\t", {"a", "b", ""}},
      {"\t\t", {"", "", ""}},
      {"a\t\tb", {"a", "", "b"}},
      {"表\t示", {"表", "示"}},
  };
  CTokenizer t;
  for (const Case& c : cases) {
    EXPECT_EQ(t.Split(c.text, '\t'), static_cast<int>(c.expected.size())) << c.text;
    EXPECT_EQ(Fields(t), c.expected) << c.text;
  }
}

TEST(Tokenizer, SplitWalksBytesNotCharacters) {
  // 表 is 0x95 0x5C: a byte-wise walk does cut at its second byte.
  CTokenizer t;
  EXPECT_EQ(t.Split("表", '\\'), 2);
  EXPECT_EQ(Fields(t), (Fs{"\x95", ""}));
}

TEST(Tokenizer, SplitStringCutsAtWholeSeparators) {
  struct Case {
    const char* text;
    const char* separator;
    Fs expected;
  };
  const Case cases[] = {
      {"a, b, c", ", ", {"a", "b", "c"}},
      {"a::::b", "::", {"a", "", "b"}},
      {"a:::b", "::", {"a", ":b"}},
      {"abc", "", {"abc"}},
      {"", ",", {""}},
      {"a,", ",", {"a", ""}},
  };
  CTokenizer t;
  for (const Case& c : cases) {
    EXPECT_EQ(t.SplitString(c.text, c.separator), static_cast<int>(c.expected.size())) << c.text;
    EXPECT_EQ(Fields(t), c.expected) << c.text;
  }
}

TEST(Tokenizer, MissingFieldsGiveMinusOneAndLeaveOutputAlone) {
  CTokenizer t;
  std::string out = "old";
  char buffer[8] = "old";
  EXPECT_EQ(t.GetToken(0, out), -1) << "nothing split yet";
  EXPECT_EQ(t.CopyToken(0, buffer, sizeof buffer), -1);
  ASSERT_EQ(t.Split("a\tb", '\t'), 2);
  EXPECT_EQ(t.GetToken(2, out), -1);
  EXPECT_EQ(t.CopyToken(2, buffer, sizeof buffer), -1);
  EXPECT_EQ(t.CopyToken(-1, buffer, sizeof buffer), -1);
  EXPECT_EQ(out, "old");
  EXPECT_STREQ(buffer, "old");
  EXPECT_EQ(t.GetToken(1, out), 1);
  EXPECT_EQ(out, "b");
  EXPECT_EQ(t.CopyToken(0, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "a");
}

TEST(Tokenizer, CopyTokenNeverWritesPastTheBuffer) {
  CTokenizer t;
  t.Split("abcdef\tアイ", '\t');
  char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(t.CopyToken(0, buffer, 4), 0);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], '#');
  // Four bytes of room hold one two-byte character and the terminator, not a
  // lead byte torn from its partner.
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(t.CopyToken(1, buffer, 4), 1);
  EXPECT_STREQ(buffer, "ア");
  EXPECT_EQ(t.CopyToken(1, buffer, 0), -1);
  EXPECT_EQ(t.CopyToken(1, buffer, 5), 1);
  EXPECT_STREQ(buffer, "アイ");
}

TEST(Tokenizer, SharedTokenizerChecksIndexAndSize) {
  char buffer[8] = "old";
  EXPECT_EQ(SharedSplit("x\ty\tz", '\t'), 3);
  EXPECT_EQ(SharedCopyToken(2, buffer, sizeof buffer), 2);
  EXPECT_STREQ(buffer, "z");
  strcpy(buffer, "old");
  EXPECT_EQ(SharedCopyToken(3, buffer, sizeof buffer), -1);
  EXPECT_EQ(SharedCopyToken(-1, buffer, sizeof buffer), -1);
  EXPECT_STREQ(buffer, "old");
  EXPECT_EQ(SharedSplitString("long-field||b", "||"), 2);
  EXPECT_EQ(SharedCopyToken(0, buffer, 5), 0);
  EXPECT_STREQ(buffer, "long");
  EXPECT_EQ(SharedSplit("", '\t'), 1);
  EXPECT_EQ(SharedCopyToken(0, buffer, sizeof buffer), -1) << "empty shared text";
}

TEST(Tokenizer, FieldsStayValidUntilTheNextSplit) {
  CTokenizer t;
  std::string text(5000, 'x');
  text[2500] = '\t';
  ASSERT_EQ(t.Split(text.c_str(), '\t'), 2);
  EXPECT_EQ(std::strlen(t.GetField(1)), 2499u);
  ASSERT_EQ(t.Split("p\tq", '\t'), 2);
  EXPECT_STREQ(t.GetField(1), "q");
}

}  // namespace
