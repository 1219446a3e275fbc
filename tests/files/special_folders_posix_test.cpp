// Where the folders come from on POSIX systems: XDG base directories and
// $HOME, each test with an environment of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/files/app_paths.h"
#include "framework/files/special_folders.h"
#include "tests/files/app_data_folder.h"

namespace {

using testfiles::SetEnvironment;

class FolderEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved.push_back(value != nullptr ? std::string(value) : std::string("\x01"));
      SetEnvironment(name, nullptr);
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < saved.size(); ++i)
      SetEnvironment(kNames[i], saved[i] == "\x01" ? nullptr : saved[i].c_str());
  }

  std::string Folder(int id) {
    char buffer[1024];
    return GetSpecialFolder(nullptr, id, buffer, sizeof buffer) == 1 ? buffer : "<none>";
  }

  static constexpr const char* kNames[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"};
  std::vector<std::string> saved;
};

TEST_F(FolderEnvironment, AppDataIsXdgConfigHomeElseDotConfig) {
  SetEnvironment("HOME", "/home/u");
  EXPECT_EQ(Folder(0x1a), "\\home\\u\\.config");
  SetEnvironment("XDG_CONFIG_HOME", "/tmp/cfg/");
  EXPECT_EQ(Folder(0x1a), "\\tmp\\cfg");
  SetEnvironment("XDG_CONFIG_HOME", "relative/cfg");
  EXPECT_EQ(Folder(0x1a), "\\home\\u\\.config") << "a relative XDG path does not count";
  char out[1024];
  ASSERT_NE(MakeAppDataPath("Brindle-Works", "Tessaly", "Tessaly.ini", out), nullptr);
  EXPECT_STREQ(out, "\\home\\u\\.config\\Brindle-Works\\Tessaly\\Tessaly.ini");
}

TEST_F(FolderEnvironment, WithoutHomeThereIsNoAppData) {
  char out[1024] = "untouched";
  EXPECT_EQ(Folder(0x1a), "<none>");
  EXPECT_EQ(MakeAppDataPath("Brindle-Works", "Tessaly", "Tessaly.ini", out), nullptr);
  EXPECT_STREQ(out, "untouched");
  EXPECT_EQ(EnsureAppDataFolder("Brindle-Works", "Tessaly"), 0);
  SetEnvironment("XDG_CONFIG_HOME", "/tmp/cfg");
  EXPECT_EQ(Folder(0x1a), "\\tmp\\cfg");
}

TEST_F(FolderEnvironment, OtherFoldersFollowHomeAndXdg) {
  SetEnvironment("HOME", "/home/u");
  EXPECT_EQ(Folder(0x28), "\\home\\u");
  EXPECT_EQ(Folder(0x1c), "\\home\\u\\.local\\share");
  EXPECT_EQ(Folder(0x14), "\\home\\u\\.local\\share\\fonts");
  EXPECT_EQ(Folder(0x20), "\\home\\u\\.cache");
  EXPECT_EQ(Folder(0x05), "\\home\\u\\Documents");
  EXPECT_EQ(Folder(0x10), "\\home\\u\\Desktop");
  EXPECT_EQ(Folder(0x23), "\\etc\\xdg");
  SetEnvironment("XDG_DATA_HOME", "/data");
  EXPECT_EQ(Folder(0x1c), "\\data");
  EXPECT_EQ(Folder(0x24), "<none>") << "no Windows folder here";
  EXPECT_EQ(Folder(0x0a), "<none>");
  char buffer[1024];
  EXPECT_EQ(BrowseForFolder(nullptr, "title", buffer, sizeof buffer), 0);
}

}  // namespace
