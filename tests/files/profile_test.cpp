// CProfile against files on disk.  The same cases run natively (the portable
// profile engine) and under Wine (the system's private-profile functions),
// so every expectation here is what Wine answers.
#include "framework/files/profile.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/files/temp_folder.h"
#include "tests/files/unwritable_file.h"
#include "tests/support/faulty_file_seam.h"

namespace {

using testfiles::Exists;
using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

const char kNone[] = "<no file>";

// Reads one value from a file holding `content`.
struct ReadCase {
  const char* name;
  std::string content;
  const char* section;
  const char* key;
  const char* expected;
};

class ProfileTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& content, const char* section, const char* key,
                   const char* defaultText = "DEF", int size = 256, int* count = nullptr) {
    WriteBytes(path, content);
    CProfile profile;
    EXPECT_EQ(profile.Open(path.c_str(), 1, 0), 1);
    std::vector<char> buffer(static_cast<size_t>(size > 0 ? size : 1) + 8, '#');
    int n = profile.GetString(section, key, defaultText, buffer.data(), size);
    if (count != nullptr) *count = n;
    return std::string(buffer.data(), static_cast<size_t>(n));
  }

  // Writes one value into a file holding `content` (or no file) and returns
  // the file's bytes afterwards (or kNone).
  std::string Write(const std::string& content, const char* section, const char* key, const char* value,
                    int* result = nullptr) {
    if (content != kNone) WriteBytes(path, content);
    CProfile profile;
    profile.Open(path.c_str(), 0, 0);
    int r = profile.WriteString(section, key, value);
    if (result != nullptr) *result = r;
    return Exists(path) ? ReadBytes(path) : kNone;
  }

  TempFolder folder;
  std::string path = folder / "test.ini";
};

TEST_F(ProfileTest, ReadingFollowsThePrivateProfileRules) {
  const std::string longValue(10000, 'x');
  const ReadCase cases[] = {
      {"plain", "[S]\r\nk=v\r\n", "S", "k", "v"},
      {"names ignore ASCII case", "[s]\r\nK=v\r\n", "S", "k", "v"},
      {"blanks around names and values", "  [ S ]  \r\n  k  =  v  \r\n", "S", "k", "v"},
      {"blanks in the query", "[S]\r\nk=v\r\n", "\tS\t", " k ", "v"},
      {"tabs, VT and FF are blanks", "[S]\r\n\tk\t=\x0Bv\x0C\r\n", "S", "k", "v"},
      {"inner blanks must match", "[S]\r\na  b=v\r\n", "S", "a b", "DEF"},
      {"double quotes", "[S]\r\nk=\"v\"\r\n", "S", "k", "v"},
      {"single quotes", "[S]\r\nk='v'\r\n", "S", "k", "v"},
      {"mixed quotes stay", "[S]\r\nk=\"v'\r\n", "S", "k", "\"v'"},
      {"blanks inside quotes stay", "[S]\r\nk=\" v \"\r\n", "S", "k", " v "},
      {"one quote stays", "[S]\r\nk=\"\r\n", "S", "k", "\""},
      {"only the outer pair goes", "[S]\r\nk=\"a\"b\"\r\n", "S", "k", "a\"b"},
      {"quoted key names stay quoted", "[S]\r\n\"k\"=v\r\n", "S", "k", "DEF"},
      {"comment line", "[S]\r\n;k=v\r\n", "S", "k", "DEF"},
      {"semicolon in a value", "[S]\r\nk=a;b ;c\r\n", "S", "k", "a;b ;c"},
      {"equals sign in a value", "[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
      {"first equals sign splits", "[S]\r\nk = = v\r\n", "S", "k", "= v"},
      {"first duplicate key wins", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "1"},
      {"first duplicate section wins", "[S]\r\nk=1\r\n[T]\r\n[S]\r\nk=2\r\n", "S", "k", "1"},
      {"later duplicate section is not searched", "[S]\r\nj=1\r\n[T]\r\n[S]\r\nk=2\r\n", "S", "k", "DEF"},
      {"CP932 names and values", "[表示]\r\nソフト=能\\\r\n", "表示", "ソフト", "能\\"},
      {"half-width katakana", "[S]\r\nk=ｱｲｳ\r\n", "S", "k", "ｱｲｳ"},
      {"full-width letters keep their case", "[Ｓ]\r\nk=v\r\n", "ｓ", "k", "DEF"},
      {"ideographic space is no blank", "[S]\r\nk=　v　\r\n", "S", "k", "　v　"},
      {"LF line ends", "[S]\nk=v\nj=w", "S", "j", "w"},
      {"CR line ends", "[S]\rk=v\rj=w", "S", "j", "w"},
      {"CR inside a value ends the line", "[S]\r\nk=a\rb\r\n", "S", "k", "a"},
      {"no final line end", "[S]\r\nk=v", "S", "k", "v"},
      {"blank lines", "[S]\r\n\r\n   \r\nk=v\r\n", "S", "k", "v"},
      {"key without equals sign", "[S]\r\nk\r\n", "S", "k", "DEF"},
      {"empty value", "[S]\r\nk=\r\n", "S", "k", ""},
      {"blank value", "[S]\r\nk=   \r\n", "S", "k", ""},
      {"keys before any section", "k=v\r\n[S]\r\n", "", "k", "v"},
      {"keys before any section are in no section", "k=v\r\n[S]\r\n", "S", "k", "DEF"},
      {"header without bracket is a key line", "[S\r\nk=v\r\n", "", "k", "v"},
      {"text after the bracket", "[S]x\r\nk=v\r\n", "S", "k", "v"},
      {"the last bracket closes", "[a]b]\r\nk=v\r\n", "a]b", "k", "v"},
      {"bracketed key is a header", "[S]\r\n[k]=v\r\n", "S", "[k]", "DEF"},
      {"empty key name", "[S]\r\n=v\r\n", "S", "", "v"},
      {"NUL ends the value", std::string("[S]\r\nk=a\0b\r\n", 12), "S", "k", "a"},
      {"NUL ends the name, not the line", std::string("[S]\r\nk\0x=v\r\n", 13), "S", "k", "v"},
      {"NUL inside a header", std::string("[S\0x]\r\nk=v\r\n", 13), "S", "k", "v"},
      {"Ctrl-Z is a blank", "\x1A[S]\r\n\x1Ak\x1A=\x1Av\x1A\r\n", "S", "k", "v"},
      {"second byte of a two-byte character is no bracket", "[S]\r\nk=1\r\n[\x83\x5D\r\nj=2\r\n", "S", "j",
       "2"},
      {"second bytes keep their case", "[S]\r\n\x83\x41=v\r\n", "S", "\x83\x61", "DEF"},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF[S]\r\nk=v\r\n", "S", "k", "v"},
      {"long line before the key", "[S]\r\nk=" + longValue + "\r\nj=w\r\n", "S", "j", "w"},
  };
  for (const ReadCase& c : cases) EXPECT_EQ(Read(c.content, c.section, c.key), c.expected) << c.name;
}

TEST_F(ProfileTest, MissingFileOrSectionGivesTheDefault) {
  CProfile profile;
  ASSERT_EQ(profile.Open(path.c_str(), 1, 0), 1);
  char buffer[16];
  EXPECT_EQ(profile.GetString("S", "k", "fallback", buffer, sizeof buffer), 8);
  EXPECT_STREQ(buffer, "fallback");
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(Read("[T]\r\nk=v\r\n", "S", "k"), "DEF");
}

TEST_F(ProfileTest, DefaultLosesTrailingSpacesAndQuotes) {
  const char content[] = "[S]\r\n";
  EXPECT_EQ(Read(content, "S", "k", "d  "), "d");
  EXPECT_EQ(Read(content, "S", "k", "  d"), "  d");
  EXPECT_EQ(Read(content, "S", "k", "d\t"), "d\t");
  EXPECT_EQ(Read(content, "S", "k", "\"d\""), "d");
  EXPECT_EQ(Read(content, "S", "k", "\"d \"  "), "d ");
  EXPECT_EQ(Read(content, "S", "k", nullptr), "");
}

TEST_F(ProfileTest, ValuesAreCutToTheBuffer) {
  int n = -1;
  EXPECT_EQ(Read("[S]\r\nk=abcdef\r\n", "S", "k", "DEF", 4, &n), "abc");
  EXPECT_EQ(n, 3);
  EXPECT_EQ(Read("[S]\r\nk=abc\r\n", "S", "k", "DEF", 4, &n), "abc");
  EXPECT_EQ(Read("[S]\r\nk=abcdef\r\n", "S", "k", "DEF", 1, &n), "");
  EXPECT_EQ(Read("[S]\r\n", "S", "k", "abcdef", 4, &n), "abc");
  EXPECT_EQ(Read("[S]\r\nk=v\r\n", "S", "k", "DEF", 0, &n), "");
  EXPECT_EQ(n, 0);
  CProfile profile;
  profile.Open(path.c_str(), 1, 0);
  char guard[4] = "abc";
  EXPECT_EQ(profile.GetString("S", "k", "DEF", guard, -1), 0) << "a negative size writes nothing";
  EXPECT_STREQ(guard, "abc");
  const std::string longValue(10000, 'x');
  EXPECT_EQ(Read("[S]\r\nk=" + longValue + "\r\n", "S", "k", "D", 8192, &n), std::string(8191, 'x'));
}

TEST_F(ProfileTest, NullKeyListsKeysAndNullSectionListsSections) {
  using std::string;
  EXPECT_EQ(Read("[S]\r\nk=v\r\n[T]\r\n", nullptr, "k"), string("S\0T\0", 4));
  EXPECT_EQ(Read("x=1\r\n[S]\r\n", nullptr, nullptr, "D", 20), string("S\0", 2));
  EXPECT_EQ(Read("[S]\r\n[s]\r\n", nullptr, "k", "D", 20), string("S\0s\0", 4));
  // Keys without a value and comment lines are not listed; empty values are.
  EXPECT_EQ(Read("[S]\r\nk=v\r\nj\r\n;c=1\r\ne=\r\nK=2\r\n", "S", nullptr, "D", 20), string("k\0e\0K\0", 6));
  EXPECT_EQ(Read("", "S", nullptr, "D", 7), "D");
  // A list that would begin with its terminator gives the default.
  EXPECT_EQ(Read("[S]\r\n[T]\r\n", "S", nullptr, "D", 20), "D");
  EXPECT_EQ(Read("[S]\r\n=v\r\nk=1\r\n", "S", nullptr, "D", 20), "D");
  EXPECT_EQ(Read("", nullptr, "k", "D", 7), "");
}

TEST_F(ProfileTest, ListsThatDoNotFitAreCutAtSizeMinusTwo) {
  // The last name is cut and terminated; the final byte of the buffer is
  // the platform's to fill (Windows writes a second terminator, Wine not).
  const std::string two = "[Sec1]\r\n[Sec2]\r\n";
  WriteBytes(path, two);
  CProfile profile;
  profile.Open(path.c_str(), 1, 0);
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(profile.GetString(nullptr, "k", "D", buffer, 8), 6);
  EXPECT_EQ(std::string(buffer, 7), std::string("Sec1\0S\0", 7));
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(profile.GetString(nullptr, "k", "D", buffer, 7), 5);
  EXPECT_EQ(std::string(buffer, 6), std::string("Sec1\0\0", 6));
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(profile.GetString(nullptr, "k", "D", buffer, 3), 1);
  EXPECT_EQ(std::string(buffer, 2), std::string("S\0", 2));
  EXPECT_EQ(profile.GetString(nullptr, "k", "D", buffer, 2), 0);
  EXPECT_EQ(buffer[0], '\0');
  WriteBytes(path, "[S]\r\nkey1=1\r\nkey2=2\r\n");
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(profile.GetString("S", nullptr, "D", buffer, 8), 6);
  EXPECT_EQ(std::string(buffer, 7), std::string("key1\0k\0", 7));
}

struct WriteCase {
  const char* name;
  std::string before;  // kNone: no file
  const char* section;
  const char* key;
  const char* value;
  std::string after;  // kNone: no file
};

TEST_F(ProfileTest, WritingReformsTheFileAsThePlatformDoes) {
  const WriteCase cases[] = {
      {"new file", kNone, "S", "k", "v", "[S]\r\nk=v\r\n"},
      {"empty value", kNone, "S", "k", "", "[S]\r\nk=\r\n"},
      {"empty file", "", "S", "k", "1", "[S]\r\nk=1\r\n"},
      {"replace", "[S]\r\nk=old\r\n", "S", "k", "new", "[S]\r\nk=new\r\n"},
      {"replace keeps the stored spelling", "[s]\r\nK = old\r\n", "S", "k", "new", "[s]\r\nK=new\r\n"},
      {"new key ends its section", "[S]\r\nk=1\r\n\r\n[T]\r\nj=2\r\n", "S", "x", "3",
       "[S]\r\nk=1\r\nx=3\r\n[T]\r\nj=2\r\n"},
      {"new section ends the file", "[S]\r\nk=1", "T", "x", "3", "[S]\r\nk=1\r\n[T]\r\nx=3\r\n"},
      {"blank lines go", "[S]\r\nk=1\r\n\r\n", "T", "x", "3", "[S]\r\nk=1\r\n[T]\r\nx=3\r\n"},
      {"leading blanks of a value go", kNone, "S", "k", "\t v  ", "[S]\r\nk=v  \r\n"},
      {"line breaks and Ctrl-Z before a value go", kNone, "S", "k", "\r\n\x1A v", "[S]\r\nk=v\r\n"},
      {"leading blanks of names go", kNone, " S ", " k ", "v", "[S ]\r\nk =v\r\n"},
      {"comments stay, blanks around names go", "; top\r\n[S]\r\n; c\r\n\r\nk=1\r\n  x = 2  \r\n", "S", "k", "9",
       "; top\r\n[S]\r\n; c\r\nk=9\r\nx=2\r\n"},
      {"comment with equals sign", "[S]\r\n  ;  c = d  \r\n", "S", "j", "1", "[S]\r\n;  c=d\r\nj=1\r\n"},
      {"headers lose their blanks", "  [ S ]  \r\n  k  =  v  \r\n", "S", "j", "1", "[S]\r\nk=v\r\nj=1\r\n"},
      {"LF file gets CR LF", "[S]\nk=1\nj=2\n", "S", "k", "9", "[S]\r\nk=9\r\nj=2\r\n"},
      {"CR file gets CR LF", "[S]\rk=1\rj=2", "S", "k", "9", "[S]\r\nk=9\r\nj=2\r\n"},
      {"first duplicate section is written", "[S]\r\nk=1\r\n[T]\r\n[S]\r\nk=2\r\n", "S", "k", "9",
       "[S]\r\nk=9\r\n[T]\r\n[S]\r\nk=2\r\n"},
      {"new key goes to the first duplicate", "[S]\r\nk=1\r\n[T]\r\n[S]\r\nk=2\r\n", "S", "z", "9",
       "[S]\r\nk=1\r\nz=9\r\n[T]\r\n[S]\r\nk=2\r\n"},
      {"first duplicate key is written", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "3", "[S]\r\nk=3\r\nk=2\r\n"},
      {"key without value gets one", "[S]\r\nk\r\n", "S", "k", "1", "[S]\r\nk=1\r\n"},
      {"key without value stays", "[S]\r\nk\r\n", "S", "j", "1", "[S]\r\nk\r\nj=1\r\n"},
      {"keys before any section stay first", "x=1\r\n[S]\r\nk=1\r\n", "T", "k", "1",
       "x=1\r\n[S]\r\nk=1\r\n[T]\r\nk=1\r\n"},
      {"nameless section", "k=v\r\n", "", "j", "1", "k=v\r\nj=1\r\n"},
      {"quoted values are written as given", "[S]\r\nk=\"a\"\r\n", "S", "j", "\"q\"", "[S]\r\nk=\"a\"\r\nj=\"q\"\r\n"},
      {"byte-order mark stays", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "9", "\xEF\xBB\xBF[S]\r\nk=9\r\n"},
      {"CP932", kNone, "表示", "ソフト", "能\\", "[表示]\r\nソフト=能\\\r\n"},
      {"CP932 replace", "[表示]\r\nソフト=1\r\n", "表示", "ソフト", "2", "[表示]\r\nソフト=2\r\n"},
      {"NUL cuts the old value", std::string("[S]\r\nk=a\0b\r\n", 12), "S", "j", "1", "[S]\r\nk=a\r\nj=1\r\n"},
      {"a line of nothing before a NUL stays an empty line", std::string("[S]\r\n\0x\r\nk=1\r\n", 14), "S", "j",
       "2", "[S]\r\n\r\nk=1\r\nj=2\r\n"},
      {"unchanged value leaves the file", "[S]\r\n\r\nk=1\r\n", "S", "k", "1", "[S]\r\n\r\nk=1\r\n"},
      {"null value removes the key", "[S]\r\nk=1\r\nj=2\r\n", "S", "k", nullptr, "[S]\r\nj=2\r\n"},
      {"null value on a missing key", "[S]\r\n\r\nk=1\r\n", "S", "x", nullptr, "[S]\r\n\r\nk=1\r\n"},
      {"null value on a missing file", kNone, "S", "x", nullptr, kNone},
      {"null key removes the first section", "[S]\r\nk=1\r\n[T]\r\n[S]\r\nj=2\r\n", "S", nullptr, nullptr,
       "[T]\r\n[S]\r\nj=2\r\n"},
      {"null key on a missing section", "[S]\r\n\r\nk=1\r\n", "T", nullptr, nullptr, "[S]\r\n\r\nk=1\r\n"},
      {"null key on a missing file", kNone, "S", nullptr, nullptr, kNone},
  };
  for (const WriteCase& c : cases) {
    if (Exists(path)) testfiles::RemoveFile(path);
    int result = 0;
    EXPECT_EQ(Write(c.before, c.section, c.key, c.value, &result), c.after) << c.name;
    EXPECT_NE(result, 0) << c.name;
  }
}

TEST_F(ProfileTest, AFileChangedBehindTheProfileIsReadAnew) {
  CProfile profile;
  ASSERT_EQ(profile.Open(path.c_str(), 0, 0), 1);
  char buffer[16];
  for (const char* value : {"1", "2", "3"}) {
    WriteBytes(path, std::string("[S]\r\nk=") + value + "\r\n");
    EXPECT_EQ(profile.GetString("S", "k", "", buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, value);
  }
  EXPECT_NE(profile.WriteString("S", "j", "x"), 0);
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=3\r\nj=x\r\n");
}

// A rewrite replaces the file while another reader keeps opening it, as
// the settings rewrites and the layout saves do while someone reads them.
TEST_F(ProfileTest, AFileThatIsReadMeanwhileIsStillReplaced) {
  WriteBytes(path, "[S]\r\nk=0\r\n");
  std::atomic<bool> stop{false};
  std::thread reader([this, &stop] {
    CProfile profile;
    profile.Open(path.c_str(), 1, 0);
    char buffer[16];
    while (!stop) profile.GetString("S", "k", "", buffer, sizeof buffer);
  });
  int replaced = 0;
  for (int i = 1; i <= 20; ++i) replaced += ReplaceFileContent(path.c_str(), "[S]\r\nk=" + std::to_string(i) + "\r\n");
  stop = true;
  reader.join();
  EXPECT_EQ(replaced, 20);
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=20\r\n");
}

TEST_F(ProfileTest, WritingIntoAMissingFolderFails) {
  std::string missing = folder / "missing\\test.ini";
  CProfile profile;
  EXPECT_EQ(profile.Open(missing.c_str(), 0, 0), 1);
  EXPECT_EQ(profile.WriteString("S", "k", "v"), 0);
  EXPECT_FALSE(Exists(missing));
  EXPECT_FALSE(Exists(folder / "missing"));
}

TEST_F(ProfileTest, WrittenValuesReadBackUnchanged) {
  const char* values[] = {"plain", "", "a=b", "a;b", "表示\\ソフト", "ｱｲｳ", "  trailing  ", "C:\\Users\\表\\x.qvd",
                          "-2147483648", "true", "x\ty"};
  CProfile profile;
  ASSERT_EQ(profile.Open(path.c_str(), 0, 1), 1);
  int i = 0;
  for (const char* value : values) {
    std::string key = "Key_" + std::to_string(i++);
    EXPECT_NE(profile.WriteString("QVD-Data", key.c_str(), value), 0);
  }
  i = 0;
  for (const char* value : values) {
    std::string key = "key_" + std::to_string(i++);
    char buffer[256];
    int n = profile.GetString("qvd-data", key.c_str(), "DEF", buffer, sizeof buffer);
    // Blanks around a value do not survive the file.
    std::string expected = value;
    expected.erase(0, expected.find_first_not_of(' ') == std::string::npos ? expected.size() : expected.find_first_not_of(' '));
    while (!expected.empty() && expected.back() == ' ') expected.pop_back();
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(n)), expected) << key;
  }
}

TEST(ProfileValues, IntegersFollowTheDecimalRule) {
  struct Case {
    const char* text;
    int expected;
  };
  const Case cases[] = {{"12", 12},     {"-7", -7},       {"+5", 5},  {"12abc", 12}, {"abc", 0},
                        {"  42", 42},   {"\t-3", -3},     {"-", 0},   {"0x1F", 0},   {"2147483647", 2147483647},
                        {"4294967295", -1}, {"4294967297", 1}, {"-2147483648", -2147483647 - 1}};
  for (const Case& c : cases) EXPECT_EQ(ParseProfileInt(c.text), c.expected) << c.text;
}

TEST(ProfileValues, OnlyTrueInAnyCaseIsTrue) {
  EXPECT_EQ(ParseBool("true"), 1);
  EXPECT_EQ(ParseBool("TRUE"), 1);
  EXPECT_EQ(ParseBool("True"), 1);
  for (const char* text : {"1", "yes", "on", "truee", "tru", "", " true", "false"}) EXPECT_EQ(ParseBool(text), 0) << text;
  EXPECT_STREQ(BoolText(5), "true");
  EXPECT_STREQ(BoolText(-1), "true");
  EXPECT_STREQ(BoolText(0), "false");
}

TEST_F(ProfileTest, TypedValuesThroughTheFile) {
  WriteBytes(path, "[G]\r\nempty=\r\nabc=abc\r\nmixed=12abc\r\nneg=-7\r\nbig=4294967297\r\nT=TRUE\r\nq=\"true\"\r\n"
                   "one=1\r\nyes=yes\r\non=on\r\nsp=  true  \r\n");
  CProfile profile;
  ASSERT_EQ(profile.Open(path.c_str(), 1, 0), 1);
  EXPECT_EQ(profile.GetInt("G", "empty", 99), 99);
  EXPECT_EQ(profile.GetInt("G", "absent", 99), 99);
  EXPECT_EQ(profile.GetInt("G", "abc", 99), 0);
  EXPECT_EQ(profile.GetInt("G", "mixed", 99), 12);
  EXPECT_EQ(profile.GetInt("G", "neg", 99), -7);
  EXPECT_EQ(profile.GetInt("G", "big", 99), 1);
  EXPECT_EQ(profile.GetBool("G", "T", 0), 1);
  EXPECT_EQ(profile.GetBool("G", "q", 0), 1);
  EXPECT_EQ(profile.GetBool("G", "sp", 0), 1);
  EXPECT_EQ(profile.GetBool("G", "one", 1), 0);
  EXPECT_EQ(profile.GetBool("G", "yes", 1), 0);
  EXPECT_EQ(profile.GetBool("G", "on", 1), 0);
  EXPECT_EQ(profile.GetBool("G", "empty", 7), 7);
  EXPECT_EQ(profile.GetBool("G", "absent", 7), 7);
}

TEST_F(ProfileTest, TypedWritesUseDecimalAndLowerCaseFlags) {
  CProfile profile;
  ASSERT_EQ(profile.Open(path.c_str(), 0, 1), 1);
  EXPECT_NE(profile.WriteBool("G", "a", 5), 0);
  EXPECT_NE(profile.WriteBool("G", "b", 0), 0);
  EXPECT_NE(profile.WriteInt("G", "c", -3), 0);
  EXPECT_NE(profile.WriteInt("G", "d", -2147483647 - 1), 0);
  EXPECT_EQ(ReadBytes(path), "[G]\r\na=true\r\nb=false\r\nc=-3\r\nd=-2147483648\r\n");
  EXPECT_EQ(profile.GetInt("G", "d", 0), -2147483647 - 1);
  EXPECT_EQ(profile.GetBool("G", "a", 0), 1);
  EXPECT_EQ(profile.GetBool("G", "b", 1), 0);
}

TEST_F(ProfileTest, OpenChecksTheAccessAndTruncatesOnlyWhenWriting) {
  CProfile profile;
  EXPECT_EQ(profile.Open(path.c_str(), 0, 1), 1) << "a missing file is no failure";
  EXPECT_FALSE(Exists(path)) << "and is not created";
  EXPECT_EQ(profile.GetPath(), path);
  EXPECT_EQ(profile.Open(folder.Path().c_str(), 1, 0), 0) << "a folder";
  EXPECT_EQ(profile.GetPath(), folder.Path()) << "the path stays named";

  WriteBytes(path, "[S]\r\nk=v\r\n");
  EXPECT_EQ(profile.Open(path.c_str(), 1, 1), 1);
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n") << "read-only never truncates";
  EXPECT_EQ(profile.Open(path.c_str(), 0, 0), 1);
  EXPECT_EQ(ReadBytes(path), "[S]\r\nk=v\r\n");
  EXPECT_EQ(profile.Open(path.c_str(), 0, 1), 1);
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_EQ(profile.Close(), 1);
  EXPECT_EQ(profile.GetPath(), "");
}

TEST_F(ProfileTest, AReadOnlyFileIsNeitherOpenedForWritingNorChanged) {
  const std::string original = "[General]\r\nAutoRestore=1\r\nk=v\r\n";
  WriteBytes(path, original);
  std::string why;
  const bool ran = testfiles::WithUnwritableFile(path, [&] {
    CProfile profile;
    EXPECT_EQ(profile.Open(path.c_str(), 0, 1), 0);
    EXPECT_EQ(profile.Open(path.c_str(), 0, 0), 0);
    EXPECT_EQ(profile.Open(path.c_str(), 1, 1), 1);
    char buffer[8];
    EXPECT_EQ(profile.GetString("General", "k", "", buffer, sizeof buffer), 1);
    EXPECT_EQ(profile.WriteString("General", "k", "changed"), 0);
    EXPECT_EQ(profile.DeleteKey("General", "AutoRestore"), 0);
    EXPECT_EQ(profile.DeleteSection("General"), 0);
  }, &why);
  ASSERT_TRUE(ran) << why;
  EXPECT_EQ(ReadBytes(path), original);
}

TEST_F(ProfileTest, RewritesKeepTheFilesPermissions) {
  namespace fs = std::filesystem;
  WriteBytes(path, "[General]\r\nAutoRestore=1\r\n");
  fs::path native = TempFolder::NativePath(path);
  fs::perms before = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(native, before);
  before = fs::status(native).permissions();
  CProfile profile;
  profile.Open(path.c_str(), 0, 0);
  EXPECT_NE(profile.WriteString("General", "k", "v"), 0);
  EXPECT_EQ(profile.DeleteKey("General", "AutoRestore"), 1);
  EXPECT_EQ(fs::status(native).permissions(), before);
}

// ---- removal by rewriting the text

TEST_F(ProfileTest, DeleteKeyRemovesExactPrefixLinesOfItsSection) {
  WriteBytes(path,
             "[General]\r\nAutoRestore=1\r\nResolution_AutoRestore=1\r\nautorestore=1\r\nAutoRestore = 1\r\n"
             "AutoRestore=2\r\n[Other]\r\nAutoRestore=1\r\n");
  CProfile profile;
  ASSERT_EQ(profile.Open(path.c_str(), 0, 0), 1);
  EXPECT_EQ(profile.DeleteKey("General", "AutoRestore"), 1);
  EXPECT_EQ(ReadBytes(path),
            "[General]\r\nResolution_AutoRestore=1\r\nautorestore=1\r\nAutoRestore = 1\r\n[Other]\r\nAutoRestore=1\r\n");
  char buffer[16];
  EXPECT_EQ(profile.GetString("General", "Resolution_AutoRestore", "", buffer, sizeof buffer), 1);
  EXPECT_EQ(profile.GetString("Other", "AutoRestore", "", buffer, sizeof buffer), 1);
}

TEST_F(ProfileTest, DeleteKeyWithoutTheSectionRewritesWithCrLf) {
  WriteBytes(path, "[Other]\nk=1\nlast");
  CProfile profile;
  profile.Open(path.c_str(), 0, 0);
  EXPECT_EQ(profile.DeleteKey("General", "k"), 0);
  EXPECT_EQ(ReadBytes(path), "[Other]\r\nk=1\r\nlast");
}

TEST_F(ProfileTest, RewriteKeepsEverythingAfterAControlZ) {
  WriteBytes(path, "[General]\r\nAutoRestore=1\r\n; \x1A note\r\n[Other]\r\nk=1\r\n");
  CProfile profile;
  profile.Open(path.c_str(), 0, 0);
  EXPECT_EQ(profile.DeleteKey("General", "AutoRestore"), 1);
  EXPECT_EQ(ReadBytes(path), "[General]\r\n; \x1A note\r\n[Other]\r\nk=1\r\n");
}

TEST_F(ProfileTest, DeleteKeyAndDeleteSectionOnAMissingFileCreateNothing) {
  CProfile profile;
  profile.Open(path.c_str(), 0, 0);
  EXPECT_EQ(profile.DeleteKey("General", "k"), 0);
  EXPECT_EQ(profile.DeleteSection("General"), 0);
  EXPECT_FALSE(Exists(path));
}

TEST_F(ProfileTest, HeaderMatchesAtTheLineStartOnly) {
  WriteBytes(path, " [General]\r\nk=1\r\n[General]extra\r\nk=2\r\n");
  CProfile profile;
  profile.Open(path.c_str(), 0, 0);
  EXPECT_EQ(profile.DeleteKey("General", "k"), 1);
  EXPECT_EQ(ReadBytes(path), " [General]\r\nk=1\r\n[General]extra\r\n");
}

TEST_F(ProfileTest, DeleteSectionRemovesUpToTheNextHeader) {
  WriteBytes(path, "[A]\r\na=1\r\n[General]\r\nk=1\r\n; note\r\n\r\n[B]\r\nb=1\r\n[General]\r\nx=1\r\n");
  CProfile profile;
  profile.Open(path.c_str(), 0, 0);
  EXPECT_EQ(profile.DeleteSection("General"), 1);
  EXPECT_EQ(ReadBytes(path), "[A]\r\na=1\r\n[B]\r\nb=1\r\n");
  EXPECT_EQ(profile.DeleteSection("General"), 0);
  EXPECT_EQ(ReadBytes(path), "[A]\r\na=1\r\n[B]\r\nb=1\r\n");
}

TEST_F(ProfileTest, DeleteSectionKeepsADirectlyFollowingCopy) {
  WriteBytes(path, "[General]\r\nk=1\r\n[General]\r\nj=2\r\n");
  CProfile profile;
  profile.Open(path.c_str(), 0, 0);
  EXPECT_EQ(profile.DeleteSection("General"), 1);
  EXPECT_EQ(ReadBytes(path), "[General]\r\nj=2\r\n");
}

TEST_F(ProfileTest, RewriteDecidesOnWholeLinesLongerThanItsBuffer) {
  // A 3000-byte value arrives in two pieces; the second must neither stay
  // behind as a stray line nor be taken for a header or a key.
  std::string tail = "[X]" + std::string(2997 - 3, 'y');
  std::string longKey = "k=" + std::string(2045, 'z') + tail;
  std::string longOther = "o=" + std::string(2045, 'w') + "k=not a key";
  WriteBytes(path, "[General]\r\n" + longKey + "\r\n" + longOther + "\r\nj=1\r\n");
  CProfile profile;
  profile.Open(path.c_str(), 0, 0);
  EXPECT_EQ(profile.DeleteKey("General", "k"), 1);
  EXPECT_EQ(ReadBytes(path), "[General]\r\n" + longOther + "\r\nj=1\r\n");
}

TEST_F(ProfileTest, FailedRewriteLeavesTheFileByteForByte) {
  const std::string original = "[General]\nAutoRestore=1\r\nStart_AutoRestore=true\r\n";
  WriteBytes(path, original);
  for (int step = 0; step < FaultyFileSeam::kStepCount; ++step) {
    for (int section = 0; section < 2; ++section) {
      FaultyFileSeam seam(static_cast<FaultyFileSeam::Step>(step));
      CProfile profile(seam);
      profile.Open(path.c_str(), 0, 0);
      int result = section ? profile.DeleteSection("General") : profile.DeleteKey("General", "AutoRestore");
      EXPECT_EQ(result, 0) << "step " << step << (section ? " DeleteSection" : " DeleteKey");
      EXPECT_TRUE(seam.Failed()) << "step " << step;
      EXPECT_EQ(ReadBytes(path), original) << "step " << step;
      EXPECT_FALSE(Exists(path + ".tmp~")) << "step " << step;
    }
  }
  CProfile profile;
  profile.Open(path.c_str(), 0, 0);
  EXPECT_EQ(profile.DeleteKey("General", "AutoRestore"), 1) << "and with the real seam it works";
  EXPECT_EQ(ReadBytes(path), "[General]\r\nStart_AutoRestore=true\r\n");
}

}  // namespace
