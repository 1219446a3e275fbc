#include "engine/layout_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "engine/display_setup.h"
#include "engine/displays.h"
#include "engine/layout_history.h"
#include "framework/files/file_system.h"
#include "framework/files/profile.h"
#include "framework/files/special_folders.h"
#include "tests/files/fault_sweep.h"
#include "tests/files/temp_folder.h"
#include "tests/support/faulty_file_seam.h"

namespace {

using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

std::string Describe(const IconLayout& layout) {
  std::string text;
  for (const IconEntry& e : layout) {
    text += "  [" + std::to_string(e.index) + "] '" + e.name + "' @ (" + std::to_string(e.x) + ", " +
            std::to_string(e.y) + ")\n";
  }
  return text;
}

void ExpectSame(const IconLayout& actual, const IconLayout& expected) {
  ASSERT_EQ(actual.size(), expected.size()) << Describe(actual);
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(actual[i].name, expected[i].name) << "entry " << i;
    EXPECT_EQ(actual[i].x, expected[i].x) << "entry " << i;
    EXPECT_EQ(actual[i].y, expected[i].y) << "entry " << i;
    EXPECT_EQ(actual[i].unicodeName, expected[i].unicodeName) << "entry " << i;
    EXPECT_EQ(actual[i].parsingName, expected[i].parsingName) << "entry " << i;
  }
}

TEST(LayoutFile, WriterAndReaderAgree) {
  TempFolder folder;
  const std::string path = folder / "default.1280x1024.qvd";
  const IconLayout layout = {{7, "Recycle Bin", 19, 2},
                             {3, "a=b;c", 19, 72},
                             {0, "", -20, 0},
                             {1, "ごみ箱 表", 100, 200},
                             {2, std::string(2046, 'n'), INT_MIN, INT_MAX},
                             {9, "Recycle Bin", 19, 142, "", "::{645FF040-5081-101B-9F08-00AA002F954E}"},
                             // Names that code page 932 cannot hold, in UTF-8.
                             {4, "?? smile", 0, 0, "\xF0\x9F\x98\x80 smile", "\xF0\x9F\x98\x80 smile.txt"},
                             {5, "Cafe", 0, 70, "Caf\xC3\xA9", "Caf\xC3\xA9.txt"},
                             {6, "50% off", 0, 140, " 50% \"off\"\t", "%41 'x' "}};
  ASSERT_EQ(SaveLayoutFile(path.c_str(), layout), 1);
  IconLayout loaded = {{0, "stale", 1, 1}};
  ASSERT_EQ(LoadLayoutFile(path.c_str(), loaded), 1);
  ExpectSame(loaded, layout);
  for (size_t i = 0; i < loaded.size(); ++i) EXPECT_EQ(loaded[i].index, static_cast<int>(i));
  const std::string bytes = ReadBytes(path);
  EXPECT_NE(bytes.find("[QVD-Fomat]"), std::string::npos) << bytes.substr(0, 200);
  EXPECT_NE(bytes.find("Version=0.01"), std::string::npos);
  EXPECT_NE(bytes.find("IconName_1=a=b;c"), std::string::npos) << "names are stored verbatim";
  // Whole and parsing names are UTF-8, stored in ASCII so that every reader
  // of code page 932 files passes them on unchanged.
  EXPECT_NE(bytes.find("IconParsingName_5=::{645FF040-5081-101B-9F08-00AA002F954E}\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("IconName_6=?? smile\r\nIconPosX_6=0\r\nIconPosY_6=0\r\n"
                       "IconUnicodeName_6=%F0%9F%98%80 smile\r\nIconParsingName_6=%F0%9F%98%80 smile.txt\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("IconUnicodeName_8=%2050%25 %22off%22%09\r\nIconParsingName_8=%2541 %27x%27%20\r\n"),
            std::string::npos);
}

// The monitors a layout was saved on, in a section that earlier versions pass
// over, and the monitor of each icon; the icons read as before.
TEST(LayoutFile, MonitorsAreKeptWithTheLayout) {
  TempFolder folder;
  const std::string path = folder / "default.1824x768.0badf00d.qvd";
  DisplaySetup setup;
  setup.monitors = {{"\\\\?\\DISPLAY#Default_Monitor#0000&0000#{e6f07b5f} EDID 10AC:40F3", 0, 0, 1024, 768, 144, true},
                    {"100% \"two\"", 1024, 0, 800, 600, kPlainDpi, false}};
  const IconLayout layout = {{0, "on the primary", 10, 10}, {1, "on the second", 1030, 20}, {2, "between", 1030, 700}};
  ASSERT_EQ(SaveLayoutFile(path.c_str(), layout, setup), 1);

  IconLayout loaded;
  DisplaySetup savedOn;
  ASSERT_EQ(LoadLayoutFile(path.c_str(), loaded, &savedOn), 1);
  ExpectSame(loaded, layout);
  ASSERT_EQ(savedOn.monitors.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    const Monitor& m = savedOn.monitors[i];
    const Monitor& w = setup.monitors[i];
    EXPECT_EQ(m.id, w.id);
    EXPECT_TRUE(m.left == w.left && m.top == w.top && m.width == w.width && m.height == w.height && m.dpi == w.dpi &&
                m.primary == w.primary)
        << "monitor " << i;
  }
  EXPECT_EQ(loaded[0].monitor, 0);
  EXPECT_EQ(loaded[1].monitor, 1);
  EXPECT_EQ(loaded[2].monitor, -1) << "no monitor shows it";

  const std::string bytes = ReadBytes(path);
  EXPECT_LT(bytes.find("[QVD-Monitors]\r\nMonitorCount=2\r\n"), bytes.find("[QVD-Data]")) << bytes;
  EXPECT_NE(bytes.find("MonitorId_1=100%25 %22two%22\r\nMonitorLeft_1=1024\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("IconPosY_1=20\r\nIconMonitor_1=1\r\n"), std::string::npos) << bytes;
  // What an earlier version reads, value by value.
  CProfile profile;
  ASSERT_EQ(profile.Open(path.c_str(), 1, 0), 1);
  EXPECT_EQ(profile.GetInt("QVD-Data", "IconCount", 0), 3);
  EXPECT_EQ(profile.GetInt("QVD-Data", "IconPosX_1", 0), 1030);
  profile.Close();

  // One monitor: no icon says on which.
  ASSERT_EQ(SaveLayoutFile(path.c_str(), layout, SingleMonitorSetup({1920, 1080})), 1);
  EXPECT_EQ(ReadBytes(path).find("IconMonitor_"), std::string::npos);
  ASSERT_EQ(LoadLayoutFile(path.c_str(), loaded, &savedOn), 1);
  EXPECT_EQ(savedOn.monitors.size(), 1u);
}

// A monitors' section that is not whole tells nothing: the layout reads as a
// file of an earlier version.
TEST(LayoutFile, MonitorsThatAreNotWholeAreUnknown) {
  const std::string head = "[QVD-Fomat]\r\nVersion=0.01\r\n";
  const std::string monitor0 =
      "MonitorId_0=a\r\nMonitorLeft_0=0\r\nMonitorTop_0=0\r\nMonitorWidth_0=800\r\nMonitorHeight_0=600\r\n"
      "MonitorDpi_0=96\r\nMonitorPrimary_0=1\r\n";
  const std::string data =
      "[QVD-Data]\r\nIconCount=1\r\nIconName_0=A\r\nIconPosX_0=5\r\nIconPosY_0=6\r\nIconMonitor_0=0\r\n";
  struct Case {
    const char* what;
    std::string bytes;
    size_t monitors;
    int iconMonitor;
  };
  const Case cases[] = {
      {"whole", head + "[QVD-Monitors]\r\nMonitorCount=1\r\n" + monitor0 + data, 1, 0},
      {"no section", head + data, 0, -1},
      {"a monitor missing", head + "[QVD-Monitors]\r\nMonitorCount=2\r\n" + monitor0 + data, 0, -1},
      {"no size", head + "[QVD-Monitors]\r\nMonitorCount=1\r\n" + monitor0.substr(0, monitor0.find("MonitorWidth")) +
                      "MonitorWidth_0=0\r\nMonitorHeight_0=600\r\nMonitorDpi_0=96\r\nMonitorPrimary_0=1\r\n" + data,
       0, -1},
      {"more monitors than any desktop", head + "[QVD-Monitors]\r\nMonitorCount=100000\r\n" + monitor0 + data, 0, -1},
      {"the count after the monitors", head + "[QVD-Monitors]\r\n" + monitor0 + "MonitorCount=1\r\n" + data, 0, -1},
      {"an icon's monitor beyond the file's", head + "[QVD-Monitors]\r\nMonitorCount=1\r\n" + monitor0 +
                                                   "[QVD-Data]\r\nIconCount=1\r\nIconName_0=A\r\nIconMonitor_0=1\r\n",
       1, -1},
  };
  TempFolder folder;
  const std::string path = folder / "monitors.qvd";
  for (const Case& c : cases) {
    WriteBytes(path, c.bytes);
    IconLayout layout;
    DisplaySetup savedOn;
    savedOn.monitors.resize(3);
    ASSERT_EQ(LoadLayoutFile(path.c_str(), layout, &savedOn), 1) << c.what;
    EXPECT_EQ(savedOn.monitors.size(), c.monitors) << c.what;
    ASSERT_EQ(layout.size(), 1u) << c.what;
    EXPECT_EQ(layout[0].name, "A") << c.what;
    EXPECT_EQ(layout[0].monitor, c.iconMonitor) << c.what;
  }
}

TEST(LayoutFile, EmptyLayoutRoundTrips) {
  TempFolder folder;
  const std::string path = folder / "empty.qvd";
  ASSERT_EQ(SaveLayoutFile(path.c_str(), {}), 1);
  const std::string bytes = ReadBytes(path);
  EXPECT_NE(bytes.find("IconCount=0"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("IconName_"), std::string::npos) << bytes;
  IconLayout loaded = {{0, "stale", 1, 1}};
  EXPECT_EQ(LoadLayoutFile(path.c_str(), loaded), 1);
  EXPECT_TRUE(loaded.empty());
}

TEST(LayoutFile, SmallerSaveLeavesNoStaleEntries) {
  TempFolder folder;
  const std::string path = folder / "default.qvd";
  ASSERT_EQ(SaveLayoutFile(path.c_str(), {{0, "a", 1, 1}, {1, "b", 2, 2}, {2, "c", 3, 3}}), 1);
  ASSERT_EQ(SaveLayoutFile(path.c_str(), {{0, "z", 9, 9}}), 1);
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes.find("IconName_1"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("IconPosY_2"), std::string::npos) << bytes;
  IconLayout loaded;
  ASSERT_EQ(LoadLayoutFile(path.c_str(), loaded), 1);
  ExpectSame(loaded, {{0, "z", 9, 9}});
  EXPECT_FALSE(testfiles::Exists(path + ".tmp~")) << "no temporary file is left behind";
}

// A save that cannot complete reports 0 and leaves the previous layout
// byte for byte, with no temporary file beside it.
TEST(LayoutFile, FailedSaveKeepsThePreviousFile) {
  TempFolder folder;
  const std::string path = folder / "default.qvd";
  const IconLayout previous = {{0, "keep", 5, 6}, {1, "me", 7, 8}};
  ASSERT_EQ(SaveLayoutFile(path.c_str(), previous), 1);
  const std::string before = ReadBytes(path);
  const IconLayout next = {{0, "new", 1, 1}};

  for (auto step : {FaultyFileSeam::kCreate, FaultyFileSeam::kWrite, FaultyFileSeam::kClose, FaultyFileSeam::kFlush,
                    FaultyFileSeam::kReplace}) {
    FaultyFileSeam faulty(step);
    const int result = SaveLayoutFile(path.c_str(), next, faulty);
    ASSERT_TRUE(faulty.Failed()) << "step " << step << " was not taken";
    EXPECT_EQ(result, 0) << "step " << step;
    EXPECT_EQ(ReadBytes(path), before) << "step " << step;
    EXPECT_FALSE(testfiles::Exists(path + ".tmp~")) << "step " << step;
  }
}

TEST(LayoutFile, SaveThatCannotReachTheDiskFails) {
  TempFolder folder;
  const std::string missing = folder / "no such folder" + "\\default.qvd";
  EXPECT_EQ(SaveLayoutFile(missing.c_str(), {{0, "a", 1, 1}}), 0);
  EXPECT_FALSE(testfiles::Exists(missing));
  // A folder in the place of the file.
  EXPECT_EQ(SaveLayoutFile(folder.Path().c_str(), {{0, "a", 1, 1}}), 0);
}

TEST(LayoutFile, LoadFailsForMissingFileAndFolder) {
  TempFolder folder;
  IconLayout layout = {{0, "stale", 1, 1}};
  EXPECT_EQ(LoadLayoutFile((folder / "absent.qvd").c_str(), layout), 0);
  EXPECT_TRUE(layout.empty());
  EXPECT_EQ(LoadLayoutFile(folder.Path().c_str(), layout), 0);
}

struct ProfileCase {
  const char* what;
  const char* data;  // the [QVD-Data] section's lines
  IconLayout expected;
};

TEST(LayoutFile, ReadsCountsAndNumbersByTheProfileRules) {
  const std::vector<ProfileCase> cases = {
      {"count larger than the entries", "IconCount=3\r\nIconName_0=a\r\nIconPosX_0=4\r\nIconPosY_0=5\r\n",
       {{0, "a", 4, 5}, {0, "", 0, 0}, {0, "", 0, 0}}},
      {"count smaller than the entries", "IconCount=1\r\nIconName_0=a\r\nIconName_1=b\r\n", {{0, "a", 0, 0}}},
      {"no count", "IconName_0=a\r\n", {}},
      {"count not a number", "IconCount=many\r\nIconName_0=a\r\n", {}},
      {"negative count", "IconCount=-4\r\nIconName_0=a\r\n", {}},
      {"integer rule", "IconCount=1\r\nIconName_0=n\r\nIconPosX_0= -12\r\nIconPosY_0=7px\r\n", {{0, "n", -12, 7}}},
  };
  TempFolder folder;
  const std::string path = folder / "case.qvd";
  for (const ProfileCase& c : cases) {
    WriteBytes(path, std::string("[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\n") + c.data);
    IconLayout layout;
    EXPECT_EQ(LoadLayoutFile(path.c_str(), layout), 1) << c.what;
    SCOPED_TRACE(c.what);
    ExpectSame(layout, c.expected);
  }
}

// A damaged count finishes promptly: at most 1024 entries plus one for every
// 11 bytes of the file.
TEST(LayoutFile, HugeCountIsBoundedByTheFile) {
  TempFolder folder;
  const std::string path = folder / "huge.qvd";
  const std::string text =
      "[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=2000000000\r\n"
      "IconName_0=a\r\nIconPosX_0=1\r\nIconPosY_0=2\r\nIconName_1=b\r\n";
  WriteBytes(path, text);
  IconLayout layout;
  ASSERT_EQ(LoadLayoutFile(path.c_str(), layout), 1);
  EXPECT_LE(layout.size(), 1024u + text.size() / 11);
  EXPECT_GE(layout.size(), 1024u);
  EXPECT_EQ(layout[0].name, "a");
  EXPECT_EQ(layout[0].y, 2);
  EXPECT_EQ(layout[1].name, "b");
  EXPECT_EQ(layout[2].name, "");
}

TEST(LayoutFile, OtherVersionsAreReadAsTabSeparatedText) {
  struct TextCase {
    const char* what;
    const char* bytes;
    IconLayout expected;
  };
  const std::vector<TextCase> cases = {
      {"three fields", "Notes\t40\t300\r\n", {{0, "Notes", 40, 300}}},
      {"two fields give an empty name", "Notes\t40\n", {{0, "", 0, 0}}},
      {"integer rule", "  Notes \t -12\t7px\n", {{0, "  Notes ", -12, 7}}},
      {"last line without a line end", "a\t1\t2\nb\t3\t4", {{0, "a", 1, 2}, {0, "b", 3, 4}}},
      {"closing tab makes four fields", "a\t1\t2\t\n", {{0, "", 0, 0}}},
      {"two-byte names", "ごみ箱\t5\t6\n", {{0, "ごみ箱", 5, 6}}},
      {"another version: every line an entry",
       "[QVD-Fomat]\r\nVersion=0.02\r\n[QVD-Data]\r\nIconCount=1\r\n",
       {{0, "", 0, 0}, {0, "", 0, 0}, {0, "", 0, 0}, {0, "", 0, 0}}},
      {"empty file", "", {}},
  };
  TempFolder folder;
  const std::string path = folder / "old.qvd";
  for (const TextCase& c : cases) {
    WriteBytes(path, c.bytes);
    IconLayout layout = {{0, "stale", 1, 1}};
    EXPECT_EQ(LoadLayoutFile(path.c_str(), layout), 1) << c.what;
    SCOPED_TRACE(c.what);
    ExpectSame(layout, c.expected);
  }
}

TEST(LayoutFile, PathNamesTheResolution) {
  char folder[1024];
  ASSERT_EQ(GetAppDataFolder(nullptr, folder, sizeof folder), 1) << "no application-data folder here";
  struct Case {
    ScreenSize screen;
    const char* ending;
  };
  const Case cases[] = {{{1280, 1024}, "\\Brindle-Works\\Tessaly\\default.1280x1024.qvd"},
                        {{1024, 768}, "\\Brindle-Works\\Tessaly\\default.1024x768.qvd"}};
  for (const Case& c : cases) {
    char tag[32];
    GetResolutionTag(c.screen, tag);
    char path[1024] = "untouched";
    EXPECT_EQ(GetLayoutFilePath("default", tag, path), 1);
    EXPECT_EQ(std::string(path), std::string(folder) + c.ending);
  }
}

TEST(LayoutHistory, KeptFilesAreNamedAfterTheFileAndTheTime) {
  const LocalTime time{2026, 12, 8, 14, 30, 5};
  EXPECT_EQ(KeptLayoutName("default.1024x768.qvd", time), "default.1024x768.20261208-143005.qvd");
  EXPECT_EQ(KeptLayoutName("default.1024x768.qvd", time, 2), "default.1024x768.20261208-143005-2.qvd");
  EXPECT_EQ(KeptLayoutName("会議 用.qvd", {2027, 1, 2, 3, 4, 5}), "会議 用.20270102-030405.qvd");
  EXPECT_EQ(KeptLayoutName("layout", time), "layout.20261208-143005");
}

// Each save keeps the file it replaced, byte for byte, and the history holds
// the newest twenty of that file alone; the first save and a failed one keep
// nothing.
TEST(LayoutHistory, SavesKeepWhatTheyReplaceTheNewestTwentyOfEachFile) {
  TempFolder folder;
  const std::string path = folder / "default.1024x768.qvd";
  const std::string history = folder / "history";
  const std::string other = folder / "default.800x600.qvd";
  ASSERT_EQ(SaveLayoutFileKeepingHistory(other.c_str(), {{0, "x", 1, 1}}, {}, {2026, 1, 1, 0, 0, 0}), 1);
  ASSERT_EQ(SaveLayoutFileKeepingHistory(other.c_str(), {{0, "x", 2, 2}}, {}, {2026, 1, 1, 0, 0, 0}), 1);
  std::vector<std::string> written;
  for (int i = 0; i < 24; ++i) {
    ASSERT_EQ(SaveLayoutFileKeepingHistory(path.c_str(), {{0, "icon", i, i}}, {}, {2026, 12, 8, 10, i, 0}), 1);
    written.push_back(ReadBytes(path));
  }
  // A save within the same second keeps its file beside the first.
  ASSERT_EQ(SaveLayoutFileKeepingHistory(path.c_str(), {{0, "icon", 99, 99}}, {}, {2026, 12, 8, 10, 23, 0}), 1);
  FaultyFileSeam faulty(FaultyFileSeam::kReplace);
  EXPECT_EQ(SaveLayoutFileKeepingHistory(path.c_str(), {{0, "lost", 0, 0}}, {}, {2026, 12, 9, 0, 0, 0}, faulty), 0);

  std::vector<std::string> names = testfiles::ListFolder(history);
  std::vector<std::string> expected = {"default.800x600.20260101-000000.qvd"};
  for (int i = 5; i < 24; ++i) expected.push_back(KeptLayoutName("default.1024x768.qvd", {2026, 12, 8, 10, i, 0}));
  expected.push_back("default.1024x768.20261208-102300-2.qvd");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  for (int i = 4; i < 23; ++i) {
    EXPECT_EQ(ReadBytes(history + "\\" + KeptLayoutName("default.1024x768.qvd", {2026, 12, 8, 10, i + 1, 0})),
              written[static_cast<size_t>(i)])
        << "the save at minute " << i + 1 << " keeps the file of minute " << i;
  }
  EXPECT_EQ(ReadBytes(history + "\\default.1024x768.20261208-102300-2.qvd"), written[23]);
  IconLayout restored;
  ASSERT_EQ(LoadLayoutFile((history + "\\default.1024x768.20261208-102300.qvd").c_str(), restored), 1);
  ExpectSame(restored, {{0, "icon", 22, 22}});

  // A name whose last character ends in the byte of a backslash (表).
  const std::string table = folder / "表.qvd";
  ASSERT_EQ(SaveLayoutFileKeepingHistory(table.c_str(), {{0, "a", 1, 1}}, {}, {2026, 12, 8, 10, 0, 0}), 1);
  ASSERT_EQ(SaveLayoutFileKeepingHistory(table.c_str(), {{0, "b", 2, 2}}, {}, {2026, 12, 8, 11, 0, 0}), 1);
  // (The framework's own test of a path: the test helpers take names as UTF-8 on Windows.)
  EXPECT_EQ(GetPathKind((history + "\\表.20261208-110000.qvd").c_str()), kPathFile);
}

// The file and its kept versions as the tray menu lists them: newest first,
// each with the time its layout was saved (a kept file keeps the time of the
// file it was) and its icons.
TEST(LayoutHistory, KeptLayoutsAreListedNewestFirstWithTheirSaveTimes) {
  TempFolder folder;
  const std::string path = folder / "default.1024x768.qvd";
  EXPECT_TRUE(ListKeptLayouts(path).empty());
  const std::int64_t first = 1796000000;  // 2026-11-29, about
  for (int i = 0; i < 3; ++i) {
    IconLayout layout(static_cast<size_t>(i + 1), IconEntry{0, "icon", 0, 0});
    ASSERT_EQ(SaveLayoutFileKeepingHistory(path.c_str(), layout, {}, {2026, 12, 8, 10, i, 0}), 1);
    ASSERT_TRUE(SetLastWriteTime(path.c_str(), first + i * 3600));
  }
  const std::vector<KeptLayout> listed = ListKeptLayouts(path);
  ASSERT_EQ(listed.size(), 3u);
  for (size_t i = 0; i < listed.size(); ++i) {
    SCOPED_TRACE(listed[i].path);
    const int made = 2 - static_cast<int>(i);  // the save that wrote it
    EXPECT_EQ(listed[i].kept, i > 0);
    EXPECT_EQ(listed[i].icons, made + 1);
    const LocalTime expected = LocalTimeOf(first + made * 3600);
    EXPECT_EQ(listed[i].savedAt.hour, expected.hour);
    EXPECT_EQ(listed[i].savedAt.day, expected.day);
  }
  EXPECT_EQ(listed[1].path, folder / "history\\default.1024x768.20261208-100200.qvd");
}

}  // namespace
