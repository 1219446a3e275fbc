#include "framework/files/strings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/files/file_system.h"

namespace {

// The code page these tests run in: 932, or what TESSALY_TEST_CODEPAGE says
// (the Windows build runs them once more on an English system, 1252).
int CodePageOfRun() {
  const char* named = std::getenv("TESSALY_TEST_CODEPAGE");
  return named ? std::atoi(named) : 932;
}

TEST(Strings, LeadBytesAreThoseOfTheCodePageInForce) {
  struct Case {
    unsigned char byte;
    int lead932;
    int lead1252;  // a code page of one byte a character
  };
  constexpr Case cases[] = {{0x00, 0, 0}, {0x5C, 0, 0}, {0x80, 0, 0}, {0x81, 1, 0}, {0x9F, 1, 0}, {0xA0, 0, 0},
                            {0xDF, 0, 0}, {0xE0, 1, 0}, {0xE9, 1, 0}, {0xFC, 1, 0}, {0xFD, 0, 0}, {0xFF, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsLeadByte(c.byte), CodePageOfRun() == 1252 ? c.lead1252 : c.lead932) << std::hex << int(c.byte);
  }
}

// On code page 1252 "é" (0xE9) is a letter of its own, and the backslash
// after it a separator: the folder of a user "José" keeps its last step.
TEST(Strings, PathScansFollowTheCodePageInForce) {
  struct Case {
    const char* path;
    const char* folder932;
    const char* folder1252;
  };
  const Case cases[] = {
      {"C:\\users\\Jos\xE9\\Tessaly.ini", "C:\\users", "C:\\users\\Jos\xE9"},
      {"C:\\a\\b", "C:\\a", "C:\\a"},
  };
  for (const Case& c : cases) {
    char folder[1024] = {};
    GetDirectoryPart(c.path, folder, sizeof folder);
    EXPECT_STREQ(folder, CodePageOfRun() == 1252 ? c.folder1252 : c.folder932) << c.path;
  }
  char trailing[] = "C:\\Caf\xE9\\";
  EXPECT_EQ(RemoveTrailingBackslash(trailing), CodePageOfRun() == 1252 ? 1 : 0);
  EXPECT_STREQ(trailing, CodePageOfRun() == 1252 ? "C:\\Caf\xE9" : "C:\\Caf\xE9\\");
}

TEST(Strings, ChopNewlineRemovesOneLineFeedOnly) {
  char line[] = "abc\n";
  EXPECT_EQ(ChopNewline(line), 1);
  EXPECT_STREQ(line, "abc");
  EXPECT_EQ(ChopNewline(line), 0);
  EXPECT_STREQ(line, "abc");
  char crlf[] = "abc\r\n";
  EXPECT_EQ(ChopNewline(crlf), 1);
  EXPECT_STREQ(crlf, "abc\r");
  char empty[] = "";
  EXPECT_EQ(ChopNewline(empty), 0);
}

TEST(Strings, RemoveTrailingBackslashHonoursTwoByteCharacters) {
  char two[] = "C:\\a\\\\";
  EXPECT_EQ(RemoveTrailingBackslash(two), 1);
  EXPECT_STREQ(two, "C:\\a\\");
  // 表 is 0x95 0x5C: its second byte is not a separator.
  char kanji[] = "C:\\表";
  EXPECT_EQ(RemoveTrailingBackslash(kanji), 0);
  EXPECT_STREQ(kanji, "C:\\表");
  char kanjiThenSlash[] = "C:\\表\\";
  EXPECT_EQ(RemoveTrailingBackslash(kanjiThenSlash), 1);
  EXPECT_STREQ(kanjiThenSlash, "C:\\表");
  char loneLead[] = "a\x95";
  EXPECT_EQ(RemoveTrailingBackslash(loneLead), 0);
  char empty[] = "";
  EXPECT_EQ(RemoveTrailingBackslash(empty), 0);
}

TEST(Strings, ReplaceCharCutsPathIntoComponentsAroundTwoByteCharacters) {
  char path[] = "C:\\表示\\ソフト\\x";  // ソ is 0x83 0x5C
  int length = static_cast<int>(std::strlen(path));
  EXPECT_EQ(ReplaceChar(path, '\\', '\0'), 3);
  std::string first(path), second(path + 3), third(path + 3 + std::strlen("表示") + 1);
  EXPECT_EQ(first, "C:");
  EXPECT_EQ(second, "表示");
  EXPECT_EQ(third, "ソフト");
  EXPECT_STREQ(path + length - 1, "x");
}

TEST(Strings, RemoveCharKeepsSecondBytesOfTwoByteCharacters) {
  char text[] = "a\\表\\b\\";
  EXPECT_EQ(RemoveChar(text, '\\'), 3);
  EXPECT_STREQ(text, "a表b");
}

TEST(Strings, DeleteCharAtClosesGapAndIgnoresPositionsOutside) {
  char text[] = "abcd";
  EXPECT_STREQ(DeleteCharAt(text, 1), "acd");
  EXPECT_STREQ(DeleteCharAt(text, 2), "ac");
  EXPECT_STREQ(DeleteCharAt(text, 2), "ac");
  EXPECT_STREQ(DeleteCharAt(text, -1), "ac");
}

TEST(Strings, CaseFoldingTouchesAsciiLettersOnly) {
  EXPECT_EQ(ToLowerChar('A'), 'a');
  EXPECT_EQ(ToLowerChar('z'), 'z');
  EXPECT_EQ(ToLowerChar('@'), '@');
  EXPECT_EQ(ToUpperChar('a'), 'A');
  EXPECT_EQ(ToUpperChar('['), '[');
  EXPECT_EQ(ToUpperChar('\xC1'), '\xC1');
  // "ＡBC" with a full-width A (0x82 0x60) and "ﾀ" (0xC0, single byte):
  // 0x82 0x60 must not be taken as a lead byte and a backquote.
  char out[32];
  EXPECT_STREQ(ToLowerCopy("AＡBc\xC0Z", out), "aＡbc\xC0z");
  // A second byte in A-Z (0x83 0x41 is ア) stays as it is.
  char text[] = "アXY";
  EXPECT_STREQ(ToLowerInPlace(text), "アxy");
}

TEST(Strings, AssignCopyReplacesTheSlotsString) {
  char* slot = nullptr;
  EXPECT_EQ(AssignCopy(&slot, "first"), 1);
  EXPECT_STREQ(slot, "first");
  EXPECT_EQ(AssignCopy(&slot, "second"), 1);
  EXPECT_STREQ(slot, "second");
  EXPECT_EQ(AssignCopy(&slot, slot), 1) << "assigning the slot's own text";
  EXPECT_STREQ(slot, "second");
  std::free(slot);
}

TEST(Strings, StrCompareTakesBytesAsSigned) {
  EXPECT_EQ(StrCompare("abc", "abc"), 0);
  EXPECT_LT(StrCompare("abc", "abd"), 0);
  EXPECT_GT(StrCompare("abc", "ab"), 0);
  EXPECT_LT(StrCompare("\x81", "A"), 0) << "bytes from 0x80 sort before ASCII";
  EXPECT_EQ(StrCompare("\xFF", "\x01"), -2);
}

TEST(Strings, LastCharAndPopLastChar) {
  char text[] = "ab";
  EXPECT_EQ(LastChar(text), 'b');
  EXPECT_EQ(PopLastChar(text), 'b');
  EXPECT_STREQ(text, "a");
  EXPECT_EQ(PopLastChar(text), 'a');
  EXPECT_EQ(PopLastChar(text), '\0');
  EXPECT_EQ(LastChar(text), '\0');
}

TEST(Strings, InsertGroupSeparators) {
  struct Case {
    const char* digits;
    int group;
    const char* expected;
  };
  constexpr Case cases[] = {{"1234567", 3, "1,234,567"}, {"123456", 3, "123,456"}, {"12", 3, "12"},
                            {"", 3, ""},                 {"12345", 2, "1,23,45"}, {"123", 1, "1,2,3"}};
  for (const Case& c : cases) {
    char out[32];
    char* end = InsertGroupSeparators(c.digits, out, sizeof out, c.group);
    ASSERT_NE(end, nullptr) << c.digits;
    EXPECT_STREQ(out, c.expected);
    EXPECT_EQ(end, out + std::strlen(c.expected));
  }
}

TEST(Strings, InsertGroupSeparatorsRefusesWhatDoesNotFit) {
  char out[10];
  std::memset(out, 'x', sizeof out);
  // "1,234,567" needs 9 bytes and the terminator.
  EXPECT_EQ(InsertGroupSeparators("1234567", out, 9, 3), nullptr);
  EXPECT_EQ(out[0], 'x');
  EXPECT_NE(InsertGroupSeparators("1234567", out, 10, 3), nullptr);
  EXPECT_EQ(InsertGroupSeparators("1234567", out, 10, 0), nullptr);
}

TEST(Strings, BytesToHexNeedsRoomForTerminator) {
  const unsigned char data[] = {0x0A, 0xFF};
  char out[8] = "unused";
  EXPECT_EQ(BytesToHex(data, 2, out, 5), nullptr);
  EXPECT_STREQ(out, "unused");
  EXPECT_EQ(BytesToHex(data, 2, out, 6), out);
  EXPECT_STREQ(out, "0AFF");
  EXPECT_STREQ(BytesToHex(data, 0, out, 6), "");
}

TEST(Strings, HexToUIntSkipsNonDigitsAndWraps) {
  EXPECT_EQ(HexToUInt("1f-Z2"), 0x1F2u);
  EXPECT_EQ(HexToUInt("DEADbeef"), 0xDEADBEEFu);
  EXPECT_EQ(HexToUInt("123456789"), 0x23456789u);
  EXPECT_EQ(HexToUInt("xyz"), 0u);
}

}  // namespace
