// Profiles written by one build and read by the other.
//
// profile_fixtures/native holds the files the native build writes, and
// profile_fixtures/wine those the Windows build writes under Wine (both
// committed).  Each build checks that it still writes exactly its own set,
// and reads the other build's set back value for value through its own
// profile code: natively the portable engine, under Wine the system's
// private-profile calls.  TESSALY_UPDATE_FIXTURES=1 rewrites this build's
// set instead of comparing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/files/profile.h"
#include "tests/files/temp_folder.h"

namespace {

using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

struct Value {
  const char* section;
  const char* key;
  const char* written;   // null: written as an integer (below)
  int number;
  const char* readBack;  // what a read gives
};

// A layout as the layout writer stores it, names chosen to cross every rule.
const Value kLayout[] = {
    {"QVD-Fomat", "Version", "0.01", 0, "0.01"},
    {"QVD-Data", "IconCount", nullptr, 6, "6"},
    {"QVD-Data", "IconName_0", "ごみ箱", 0, "ごみ箱"},
    {"QVD-Data", "IconPosX_0", nullptr, 12, "12"},
    {"QVD-Data", "IconPosY_0", nullptr, -8, "-8"},
    {"QVD-Data", "IconName_1", "表示\\ソフト", 0, "表示\\ソフト"},
    {"QVD-Data", "IconPosX_1", nullptr, 2147483647, "2147483647"},
    {"QVD-Data", "IconPosY_1", nullptr, -2147483647 - 1, "-2147483648"},
    {"QVD-Data", "IconName_2", "a=b; c", 0, "a=b; c"},
    {"QVD-Data", "IconPosX_2", nullptr, 0, "0"},
    {"QVD-Data", "IconPosY_2", nullptr, 75, "75"},
    {"QVD-Data", "IconName_3", "\"quoted\"", 0, "quoted"},
    {"QVD-Data", "IconPosX_3", nullptr, 1, "1"},
    {"QVD-Data", "IconPosY_3", nullptr, 2, "2"},
    {"QVD-Data", "IconName_4", "  blanks around  ", 0, "blanks around"},
    {"QVD-Data", "IconPosX_4", nullptr, 3, "3"},
    {"QVD-Data", "IconPosY_4", nullptr, 4, "4"},
    {"QVD-Data", "IconName_5", "ｶﾅ [x] #1", 0, "ｶﾅ [x] #1"},
    {"QVD-Data", "IconPosX_5", nullptr, 5, "5"},
    {"QVD-Data", "IconPosY_5", nullptr, 6, "6"},
};

// Settings as the settings save leaves them: current keys written, the
// legacy keys of an older file removed by rewriting.
const Value kSettings[] = {
    {"General", "Start_AutoRestore", "true", 0, "true"},
    {"General", "Resolution_AutoRestore", "false", 0, "false"},
    {"General", "Resolution_AutoCapture", "true", 0, "true"},
    {"Other", "AutoRestore", "1", 0, "1"},
};

// Keys that must read as absent afterwards.
const Value kSettingsGone[] = {
    {"General", "StartRestore", nullptr, 0, "<absent>"},
    {"General", "AutoRestore", nullptr, 0, "<absent>"},
};

// Edits of an existing hand-made file: replace, add, remove.
const char kHandMade[] = "; made by hand\n[General]\n  StartRestore = 1 \nAutoRestore=0\n\n[Old]\nx=1\n[Other]\n";
const Value kEdited[] = {
    {"General", "StartRestore", "0", 0, "0"},
    {"General", "Added", "new", 0, "new"},
    {"New", "key", "value", 0, "value"},
    {"Other", "AutoRestore", "2", 0, "2"},
};
const Value kEditedGone[] = {
    {"General", "AutoRestore", nullptr, 0, "<absent>"},
    {"Old", "x", nullptr, 0, "<absent>"},
};

void WriteValues(CProfile& profile, const Value* values, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Value& v = values[i];
    int ok = v.written != nullptr ? profile.WriteString(v.section, v.key, v.written)
                                  : profile.WriteInt(v.section, v.key, v.number);
    EXPECT_NE(ok, 0) << v.key;
  }
}

// Writes this build's set of files into `folder`.
void WriteSet(const std::string& folder) {
  CProfile profile;
  std::string layout = folder + "\\layout.qvd";
  ASSERT_EQ(profile.Open(layout.c_str(), 0, 1), 1);
  WriteValues(profile, kLayout, sizeof kLayout / sizeof kLayout[0]);

  std::string settings = folder + "\\settings.ini";
  WriteBytes(settings, "[General]\r\nStartRestore=1\r\nAutoRestore=1\r\n");
  ASSERT_EQ(profile.Open(settings.c_str(), 0, 0), 1);
  WriteValues(profile, kSettings, sizeof kSettings / sizeof kSettings[0]);
  EXPECT_EQ(profile.DeleteKey("General", "StartRestore"), 1);
  EXPECT_EQ(profile.DeleteKey("General", "AutoRestore"), 1);

  std::string edited = folder + "\\edited.ini";
  WriteBytes(edited, kHandMade);
  ASSERT_EQ(profile.Open(edited.c_str(), 0, 0), 1);
  WriteValues(profile, kEdited, sizeof kEdited / sizeof kEdited[0]);
  EXPECT_NE(profile.WriteString("General", "AutoRestore", nullptr), 0);
  EXPECT_EQ(profile.DeleteSection("Old"), 1);
  profile.Close();
}

void CheckValues(const std::string& path, const Value* values, size_t count) {
  CProfile profile;
  ASSERT_EQ(profile.Open(path.c_str(), 1, 0), 1) << path;
  for (size_t i = 0; i < count; ++i) {
    char buffer[1024];
    int n = profile.GetString(values[i].section, values[i].key, "<absent>", buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(n)), values[i].readBack) << path << " " << values[i].key;
  }
}

// Reads a set of files (written by either build) value for value.
void CheckSet(const std::string& folder) {
  CheckValues(folder + "\\layout.qvd", kLayout, sizeof kLayout / sizeof kLayout[0]);
  CProfile layout;
  layout.Open((folder + "\\layout.qvd").c_str(), 1, 0);
  EXPECT_EQ(layout.GetInt("QVD-Data", "IconPosY_1", 0), -2147483647 - 1);
  EXPECT_EQ(layout.GetInt("qvd-data", "iconposy_0", 0), -8);
  char sections[64];
  int n = layout.GetString(nullptr, nullptr, "", sections, sizeof sections);
  EXPECT_EQ(std::string(sections, static_cast<size_t>(n)), std::string("QVD-Fomat\0QVD-Data\0", 19));

  CheckValues(folder + "\\settings.ini", kSettings, sizeof kSettings / sizeof kSettings[0]);
  CheckValues(folder + "\\settings.ini", kSettingsGone, sizeof kSettingsGone / sizeof kSettingsGone[0]);
  CProfile settings;
  settings.Open((folder + "\\settings.ini").c_str(), 1, 0);
  EXPECT_EQ(settings.GetBool("General", "Start_AutoRestore", 0), 1);
  EXPECT_EQ(settings.GetBool("General", "Resolution_AutoRestore", 1), 0);

  CheckValues(folder + "\\edited.ini", kEdited, sizeof kEdited / sizeof kEdited[0]);
  CheckValues(folder + "\\edited.ini", kEditedGone, sizeof kEditedGone / sizeof kEditedGone[0]);
}

const char* const kFiles[] = {"layout.qvd", "settings.ini", "edited.ini"};

std::string FixtureFolder(const char* writer) { return std::string(TESSALY_PROFILE_FIXTURES) + "\\" + writer; }

TEST(ProfileExchange, ThisBuildWritesItsCommittedFiles) {
  TempFolder folder;
  WriteSet(folder.Path());
  std::string committed = FixtureFolder(TESSALY_PROFILE_WRITER);
  const char* update = std::getenv("TESSALY_UPDATE_FIXTURES");
  for (const char* name : kFiles) {
    std::string written = ReadBytes(folder / name);
    if (update != nullptr && std::string(update) == "1") WriteBytes(committed + "\\" + name, written);
    EXPECT_EQ(written, ReadBytes(committed + "\\" + name)) << name;
  }
}

TEST(ProfileExchange, ThisBuildReadsItsOwnFiles) { CheckSet(FixtureFolder(TESSALY_PROFILE_WRITER)); }

TEST(ProfileExchange, ThisBuildReadsTheOtherBuildsFiles) { CheckSet(FixtureFolder(TESSALY_PROFILE_READER_OF)); }

TEST(ProfileExchange, BothBuildsWriteTheSameBytes) {
  for (const char* name : kFiles)
    EXPECT_EQ(ReadBytes(FixtureFolder("native") + "\\" + name), ReadBytes(FixtureFolder("wine") + "\\" + name)) << name;
}

}  // namespace
