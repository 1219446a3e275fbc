// The layout files against the profile calls they stand for: SaveLayoutFile
// must write the bytes that writing the layout value by value through
// CProfile gives, and LoadLayoutFile must read what reading it value by
// value gives.  Natively CProfile is the portable profile engine; in the
// Windows build it is the system's private-profile functions (under Wine),
// so there this is the layout files against the system.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/layout_file.h"
#include "framework/files/file_system.h"
#include "framework/files/profile.h"
#include "tests/files/escaped_text.h"
#include "tests/files/temp_folder.h"

namespace {

using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

std::string Key(const char* stem, int i) { return stem + std::to_string(i); }

// The layout written one value at a time, into a file emptied first.
void WriteValueByValue(const std::string& path, const IconLayout& layout) {
  CProfile profile;
  ASSERT_EQ(profile.Open(path.c_str(), 0, 1), 1);
  ASSERT_NE(profile.WriteString("QVD-Fomat", "Version", "0.01"), 0);
  ASSERT_NE(profile.WriteInt("QVD-Data", "IconCount", static_cast<int>(layout.size())), 0);
  for (size_t i = 0; i < layout.size(); ++i) {
    const int n = static_cast<int>(i);
    ASSERT_NE(profile.WriteString("QVD-Data", Key("IconName_", n).c_str(), layout[i].name.c_str()), 0);
    ASSERT_NE(profile.WriteInt("QVD-Data", Key("IconPosX_", n).c_str(), layout[i].x), 0);
    ASSERT_NE(profile.WriteInt("QVD-Data", Key("IconPosY_", n).c_str(), layout[i].y), 0);
  }
}

// The layout read one value at a time, with the reader's rules: version
// check, count bound, 2047-byte names.  The name buffer is cleared before
// every read: the system reports a name cut inside a two-byte character as
// one byte longer than what it placed.
int ReadValueByValue(const std::string& path, IconLayout& layout) {
  layout.clear();
  CProfile profile;
  if (profile.Open(path.c_str(), 1, 0) != 1) return 0;
  char name[2048] = {};
  profile.GetString("QVD-Fomat", "Version", "", name, sizeof name);
  if (std::strcmp(name, "0.01") != 0) return ReadLayoutText(path.c_str(), layout);
  int count = profile.GetInt("QVD-Data", "IconCount", 0);
  if (count > 1024) count = std::min<long long>(count, 1024 + GetFileLength(path.c_str()) / 11);
  for (int i = 0; i < count; ++i) {
    std::memset(name, 0, sizeof name);
    profile.GetString("QVD-Data", Key("IconName_", i).c_str(), "", name, sizeof name);
    layout.push_back({i, name, profile.GetInt("QVD-Data", Key("IconPosX_", i).c_str(), 0),
                      profile.GetInt("QVD-Data", Key("IconPosY_", i).c_str(), 0)});
  }
  return 1;
}

using testfiles::Escaped;

// The lines around the first difference of two files.
std::string Difference(const std::string& actual, const std::string& expected) {
  size_t at = std::mismatch(actual.begin(), actual.begin() + std::min(actual.size(), expected.size()),
                            expected.begin()).first - actual.begin();
  const size_t from = actual.rfind('\n', at == 0 ? 0 : at - 1);
  const size_t start = from == std::string::npos ? 0 : from + 1;
  return "at byte " + std::to_string(at) + "\n  written:  " + Escaped(actual.substr(start, at - start + 80)) +
         "\n  expected: " + Escaped(expected.substr(start, at - start + 80));
}

std::string Describe(const IconLayout& layout) {
  std::string text;
  for (size_t i = 0; i < layout.size() && i < 40; ++i) {
    text += "  [" + std::to_string(layout[i].index) + "] '" + Escaped(layout[i].name) + "' @ (" +
            std::to_string(layout[i].x) + ", " + std::to_string(layout[i].y) + ")\n";
  }
  return text;
}

bool Same(const IconLayout& a, const IconLayout& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const IconEntry& x, const IconEntry& y) {
    return x.index == y.index && x.name == y.name && x.x == y.x && x.y == y.y;
  });
}

// Names that cross the rules of the profile format.
const char* const kNames[] = {
    "ごみ箱", "表示\\ソフト", "ゾーン]", "[ゾ", "ｶﾅ ﾃｽﾄ", "Recycle Bin", "a=b", "=lead", "trail=",
    ";comment", "a;b", "[QVD-Data]", "[x", "x]", "\"quoted\"", "'single'", "\"half", "it's",
    "  lead", "trail  ", "  both  ", "\ttab\t", "\x1A" "ctrl-z\x1A", "\v\f", "　全角空白　", "",
    "IconCount", "IconName_0", "#1", "\xEF\xBB\xBF" "mark",
    // Bytes that are no character of code page 932: a lone lead byte at the
    // end, a lead byte before a blank, unassigned codes.
    "x\x83", "\x83", "\x83 y", "\x80\xA0\xFD\xFE\xFF", "\x85\x40", "\xF0\x40",
};

IconLayout TrickyLayout() {
  IconLayout layout;
  int i = 0;
  for (const char* name : kNames) {
    layout.push_back({i, name, 20 + 75 * (i / 10), 2 + 70 * (i % 10)});
    ++i;
  }
  layout.push_back({i++, std::string(2046, 'n'), INT_MIN, INT_MAX});
  std::string japanese;
  while (japanese.size() < 2046) japanese += "日本語";
  layout.push_back({i++, japanese.substr(0, 2046), -1, 0});
  layout.push_back({i++, "ごみ箱", -20, 70000});
  return layout;
}

IconLayout LargeLayout(int n) {
  IconLayout layout;
  for (int i = 0; i < n; ++i) {
    std::string name = i % 7 == 0 ? kNames[i / 7 % (sizeof kNames / sizeof kNames[0])]
                                  : "アイコン " + std::to_string(i) + ".lnk";
    layout.push_back({i, name, 20 + 75 * (i / 12), 2 + 70 * (i % 12)});
  }
  return layout;
}

struct SaveCase {
  const char* what;
  IconLayout layout;
};

TEST(LayoutFileReference, SaveWritesTheBytesOfValueByValueWrites) {
  const SaveCase cases[] = {
      {"empty layout", {}},
      {"one icon", {{0, "Recycle Bin", 19, 2}}},
      {"names that cross the format's rules", TrickyLayout()},
      {"many entries", LargeLayout(TESSALY_LARGE_LAYOUT)},
  };
  TempFolder folder;
  for (const SaveCase& c : cases) {
    const std::string ours = folder / "ours.qvd";
    const std::string reference = folder / "reference.qvd";
    ASSERT_EQ(SaveLayoutFile(ours.c_str(), c.layout), 1) << c.what;
    WriteValueByValue(reference, c.layout);
    const std::string written = ReadBytes(ours);
    const std::string expected = ReadBytes(reference);
    EXPECT_EQ(written.size(), expected.size()) << c.what;
    EXPECT_TRUE(written == expected) << c.what << ": " << Difference(written, expected);

    IconLayout loaded;
    IconLayout reread;
    ASSERT_EQ(LoadLayoutFile(ours.c_str(), loaded), 1) << c.what;
    ASSERT_EQ(ReadValueByValue(ours, reread), 1) << c.what;
    EXPECT_TRUE(Same(loaded, reread)) << c.what << "\nread:\n" << Describe(loaded) << "value by value:\n"
                                      << Describe(reread);
  }
}

// Writing value by value, a line break in a name ends the name's line and
// puts the rest of the name into the file as lines of their own (keys, even
// section headers).  The whole-file writer stores only what reads back.
TEST(LayoutFileReference, NameWithALineBreakReadsBackAsBeforeAndAddsNoLines) {
  const IconLayout layout = {{0, "first\r\nIconPosX_1=999\r\n[QVD-Fomat]\r\nVersion=0.02", 10, 20},
                             {1, "  second  \n  tail", 30, 40},
                             {2, "\r\nthird", 50, 60},
                             {3, "fourth\rCR", 70, 80}};
  TempFolder folder;
  const std::string ours = folder / "ours.qvd";
  const std::string reference = folder / "reference.qvd";
  ASSERT_EQ(SaveLayoutFile(ours.c_str(), layout), 1);
  WriteValueByValue(reference, layout);
  const std::string written = ReadBytes(ours);
  EXPECT_EQ(written,
            "[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=4\r\n"
            "IconName_0=first\r\nIconPosX_0=10\r\nIconPosY_0=20\r\n"
            "IconName_1=second\r\nIconPosX_1=30\r\nIconPosY_1=40\r\n"
            "IconName_2=third\r\nIconPosX_2=50\r\nIconPosY_2=60\r\n"
            "IconName_3=fourth\r\nIconPosX_3=70\r\nIconPosY_3=80\r\n")
      << Escaped(written);
  IconLayout loaded;
  IconLayout before;
  ASSERT_EQ(LoadLayoutFile(ours.c_str(), loaded), 1);
  ASSERT_EQ(ReadValueByValue(reference, before), 1);
  EXPECT_TRUE(Same(loaded, before)) << "read:\n" << Describe(loaded) << "value by value:\n" << Describe(before);
}

std::string Utf16(const std::string& ascii, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char c : ascii) {
    bytes += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
  }
  return bytes;
}

// Files as anyone may have left them, read whole and read value by value.
TEST(LayoutFileReference, LoadReadsWhatValueByValueReads) {
  struct File {
    std::string what;
    std::string bytes;
  };
  std::vector<File> files = {
      {"UTF-8 with its mark",
       "\xEF\xBB\xBF[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=2\r\n"
       "IconName_0=\xE3\x81\x94\xE3\x81\xBF\xE7\xAE\xB1\r\nIconPosX_0=1\r\nIconPosY_0=2\r\nIconName_1=bad \xFF\xC3\r\n"},
      {"UTF-16", Utf16("[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=1\r\nIconName_0=a\r\nIconPosX_0=5\r\n",
                       false)},
      {"UTF-16, big end first", Utf16("[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=1\r\nIconName_0=b\r\n", true)},
      {"lead bytes before line ends",
       "[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=3\r\nIconName_0=a\x83\r\nIconName_1=b\x83\n"
       "IconName_2=c\r\nIconPosX_2=\x83"},
      {"damaged count", "[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=99999\r\nIconName_7=a\r\n"},
  };
  // A file of this version: whole and parsing names in keys that readers of
  // earlier versions pass over.
  {
    TempFolder folder;
    const std::string path = folder / "new.qvd";
    IconLayout layout = TrickyLayout();
    layout[0].parsingName = "::{645FF040-5081-101B-9F08-00AA002F954E}";
    layout[1].unicodeName = "\xF0\x9F\x98\x80 smile";
    layout[1].parsingName = "%\"quoted\" \xE2\x82\xA9.txt ";
    EXPECT_EQ(SaveLayoutFile(path.c_str(), layout), 1);
    files.push_back({"whole and parsing names", ReadBytes(path)});
  }
  // Names longer than a read takes, cut inside a two-byte character or not.
  std::string longNames = "[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=2\r\nIconName_0=";
  for (int i = 0; i < 1500; ++i) longNames += "表";
  longNames += "\r\nIconName_1=a";
  for (int i = 0; i < 1500; ++i) longNames += "表";
  files.push_back({"long two-byte names", longNames + "\r\n"});
  const std::filesystem::path source(TESSALY_SOURCE_DIR);
  for (const char* writer : {"native", "wine"}) {
    for (const char* name : {"layout.qvd", "settings.ini", "edited.ini"}) {
      const auto path = source / "tests" / "files" / "profile_fixtures" / writer / name;
      files.push_back({path.string(), ReadBytes(path.string())});
    }
  }
  // The fuzz target puts the current format's header before an input whose
  // first byte is odd.
  for (const auto& entry : std::filesystem::directory_iterator(source / "tests" / "fuzz" / "corpus" / "layout_file")) {
    std::string bytes = ReadBytes(entry.path().string());
    if (!bytes.empty() && (bytes[0] & 1)) bytes = "[QVD-Fomat]\r\nVersion=0.01\r\n" + bytes.substr(1);
    files.push_back({entry.path().filename().string(), bytes});
  }
  ASSERT_GT(files.size(), 100u) << "the fuzz corpus was not found";

  TempFolder folder;
  const std::string path = folder / "default.qvd";
  for (const File& file : files) {
    WriteBytes(path, file.bytes);
    IconLayout loaded;
    IconLayout reference;
    const int result = LoadLayoutFile(path.c_str(), loaded);
    EXPECT_EQ(result, ReadValueByValue(path, reference)) << file.what;
    EXPECT_TRUE(Same(loaded, reference)) << file.what << "\nread:\n" << Describe(loaded) << "value by value:\n"
                                         << Describe(reference);
  }
}

}  // namespace
