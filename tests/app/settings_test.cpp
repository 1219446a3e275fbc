#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/files/temp_folder.h"

namespace {

using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

// The value of `key` in section General as the profile reads it, or "<absent>".
std::string ValueOf(const std::string& path, const char* key) {
  CProfile profile;
  char value[256] = {};
  if (profile.Open(path.c_str(), 1, 0) != 1) return "<unreadable>";
  profile.GetString("General", key, "<absent>", value, sizeof value);
  profile.Close();
  return value;
}

struct Options {
  int start;
  int resolutionRestore;
  int capture;
};

Options OptionsOf(const AppSettings& s) { return {s.startAutoRestore, s.resolutionAutoRestore, s.resolutionAutoCapture}; }

bool operator==(const Options& a, const Options& b) {
  return a.start == b.start && a.resolutionRestore == b.resolutionRestore && a.capture == b.capture;
}

std::ostream& operator<<(std::ostream& out, const Options& o) {
  return out << "{" << o.start << ", " << o.resolutionRestore << ", " << o.capture << "}";
}

class Settings : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string user = folder / "Tessaly.ini";
  std::string program = folder / "program.ini";
  AppSettings settings;
};

// Files of older and newer versions, and what they load as.
struct LoadCase {
  const char* text;
  Options loaded;
};

const LoadCase kLoadCases[] = {
    {"", {0, 0, 0}},
    {"[General]\nStartRestore=true\n", {1, 0, 0}},
    {"[General]\nAutoRestore=true\n", {0, 1, 0}},
    {"[General]\nAutoRestore=true\nResolution_AutoRestore=false\n", {0, 0, 0}},  // the new key wins
    {"[General]\nStartRestore=false\nStart_AutoRestore=true\n", {1, 0, 0}},
    {"[General]\nStart_AutoRestore=\nStartRestore=true\n", {1, 0, 0}},  // an empty key counts as missing
    {"[General]\nStart_AutoRestore=TRUE\nResolution_AutoRestore=True\nResolution_AutoCapture=tRuE\n", {1, 1, 1}},
    {"[General]\nStart_AutoRestore=1\nResolution_AutoRestore=yes\nResolution_AutoCapture=on\n", {0, 0, 0}},
    {"[Other]\nStart_AutoRestore=true\n", {0, 0, 0}},  // another section
};

TEST_F(Settings, LoadReadsNewKeysWithLegacyKeysAsTheirDefaults) {
  for (const LoadCase& c : kLoadCases) {
    WriteBytes(user, c.text);
    AppSettings loaded;
    EXPECT_EQ(loaded.LoadFrom(user.c_str(), program.c_str()), 1) << c.text;
    EXPECT_EQ(OptionsOf(loaded), c.loaded) << c.text;
  }
}

TEST_F(Settings, MissingKeysKeepTheValuesHeldBeforeTheLoad) {
  WriteBytes(user, "[General]\nResolution_AutoCapture=false\n");
  settings.startAutoRestore = 1;
  settings.resolutionAutoRestore = 1;
  settings.resolutionAutoCapture = 1;
  EXPECT_EQ(settings.LoadFrom(user.c_str(), program.c_str()), 1);
  EXPECT_EQ(OptionsOf(settings), (Options{1, 1, 0}));
}

TEST_F(Settings, MissingPerUserFileCountsAsOpenedAndTheProgramFolderFileIsNotRead) {
  WriteBytes(program, "[General]\nStart_AutoRestore=true\n");
  EXPECT_EQ(settings.LoadFrom(user.c_str(), program.c_str()), 1);
  EXPECT_EQ(OptionsOf(settings), (Options{0, 0, 0}));
  EXPECT_FALSE(testfiles::Exists(user));
}

TEST_F(Settings, ProgramFolderFileIsReadWhenThePerUserPathIsUnusable) {
  WriteBytes(program, "[General]\nStart_AutoRestore=true\nAutoRestore=true\n");
  std::filesystem::create_directory(TempFolder::NativePath(user));  // a folder where the file should be
  EXPECT_EQ(settings.LoadFrom(user.c_str(), program.c_str()), 1);
  EXPECT_EQ(OptionsOf(settings), (Options{1, 1, 0}));

  AppSettings noUserPath;
  EXPECT_EQ(noUserPath.LoadFrom(nullptr, program.c_str()), 1);
  EXPECT_EQ(OptionsOf(noUserPath), (Options{1, 1, 0}));
}

TEST_F(Settings, LoadFailsAndKeepsTheValuesWhenNeitherFileCanBeOpened) {
  std::filesystem::create_directory(TempFolder::NativePath(user));
  std::filesystem::create_directory(TempFolder::NativePath(program));
  settings.resolutionAutoCapture = 1;
  EXPECT_EQ(settings.LoadFrom(user.c_str(), program.c_str()), 0);
  EXPECT_EQ(settings.LoadFrom(nullptr, nullptr), 0);
  EXPECT_EQ(OptionsOf(settings), (Options{0, 0, 1}));
}

TEST_F(Settings, SaveWritesTheThreeKeysAndRemovesTheLegacyKeys) {
  WriteBytes(user, "[General]\nStartRestore=true\nAutoRestore=false\nResolution_AutoRestore_Note=kept\n[Other]\nStartRestore=x\n");
  settings.LoadFrom(user.c_str(), program.c_str());
  settings.resolutionAutoCapture = 1;
  settings.lockIcons = 1;
  EXPECT_EQ(settings.SaveTo(user.c_str()), 1);
  EXPECT_EQ(ValueOf(user, "Lock_Icons"), "true");
  EXPECT_EQ(ValueOf(user, "Start_AutoRestore"), "true");
  EXPECT_EQ(ValueOf(user, "Resolution_AutoRestore"), "false");
  EXPECT_EQ(ValueOf(user, "Resolution_AutoCapture"), "true");
  EXPECT_EQ(ValueOf(user, "StartRestore"), "<absent>");
  EXPECT_EQ(ValueOf(user, "AutoRestore"), "<absent>");
  EXPECT_EQ(ValueOf(user, "Resolution_AutoRestore_Note"), "kept");
  EXPECT_NE(ReadBytes(user).find("StartRestore=x"), std::string::npos) << "another section's key is kept";

  AppSettings reloaded;
  reloaded.LoadFrom(user.c_str(), program.c_str());
  EXPECT_EQ(OptionsOf(reloaded), (Options{1, 0, 1}));
  EXPECT_EQ(reloaded.lockIcons, 1);
}

// The language is only read: a file that has the key keeps it as it was, and
// the save adds none to a file without it (earlier versions pass over it).
TEST_F(Settings, LanguageIsReadAndKeptOnlyWhereTheFileHasIt) {
  WriteBytes(user, "[General]\nLanguage= en \nStart_AutoRestore=true\n");
  settings.LoadFrom(user.c_str(), program.c_str());
  EXPECT_EQ(settings.language, "en");
  EXPECT_EQ(settings.SaveTo(user.c_str()), 1);
  EXPECT_EQ(ValueOf(user, "Language"), "en");

  WriteBytes(user, "[General]\nStart_AutoRestore=true\n");
  AppSettings without;
  without.LoadFrom(user.c_str(), program.c_str());
  EXPECT_EQ(without.language, "");
  EXPECT_EQ(without.SaveTo(user.c_str()), 1);
  EXPECT_EQ(ReadBytes(user).find("Language"), std::string::npos) << ReadBytes(user);
}

TEST_F(Settings, SaveCreatesAMissingFileAndFailsWithoutAUsablePath) {
  settings.startAutoRestore = 1;
  EXPECT_EQ(settings.SaveTo(user.c_str()), 1);
  EXPECT_EQ(ValueOf(user, "Start_AutoRestore"), "true");

  EXPECT_EQ(settings.SaveTo(nullptr), 0);
  std::filesystem::create_directory(TempFolder::NativePath(program));
  EXPECT_EQ(settings.SaveTo(program.c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(TempFolder::NativePath(program)));
}

TEST(SettingsOption, OnOnlyWhenExactlyOne) {
  EXPECT_TRUE(IsOn(1));
  EXPECT_FALSE(IsOn(0));
  EXPECT_FALSE(IsOn(2));
  EXPECT_FALSE(IsOn(-1));
}

}  // namespace
