#include "framework/files/app_paths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>

#include "framework/files/file_system.h"
#include "framework/files/special_folders.h"
#include "tests/files/app_data_folder.h"
#include "tests/files/temp_folder.h"

namespace {

using testfiles::ScopedAppDataFolder;
using testfiles::TempFolder;

TEST(AppPaths, ModuleFolderIsThePathBeforeTheLastSeparator) {
  struct Case {
    const char* path;
    int length;
    const char* folder;
  };
  const Case cases[] = {
      {"C:\\Tools\\app.exe", 8, "C:\\Tools"},
      {"C:\\app.exe", 2, "C:"},
      {"C:\\表\\app.exe", 5, "C:\\表"},
      {"C:\\ソフト\\app.exe", 9, "C:\\ソフト"},
      {"C:\\x\\表", 4, "C:\\x"},
      {"app.exe", 0, nullptr},
      {"\\app.exe", 0, nullptr},
      {"\\\\server\\share\\app.exe", 14, "\\\\server\\share"},
  };
  for (const Case& c : cases) {
    char buffer[64] = "untouched";
    EXPECT_EQ(ModuleDirectoryOf(c.path, buffer, sizeof buffer), c.length) << c.path;
    EXPECT_STREQ(buffer, c.folder != nullptr ? c.folder : "untouched") << c.path;
  }
  char small[8] = "small";
  EXPECT_EQ(ModuleDirectoryOf("C:\\Tools\\app.exe", small, 8), 0);
  EXPECT_STREQ(small, "small");
}

TEST(AppPaths, ACutProgramPathGivesNoFolder) {
  std::string path = "C:\\Tools\\" + std::string(400, 'a') + "\\app.exe";
  char buffer[1024] = "untouched";
  // What GetModuleFileNameA leaves in 360 characters: the first 360, length 360.
  EXPECT_EQ(ModuleDirectoryOfRead(path.c_str(), 360, 360, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(ModuleDirectoryOfRead(path.c_str(), 0, 360, buffer, sizeof buffer), 0);
  EXPECT_EQ(ModuleDirectoryOfRead("C:\\Tools\\app.exe", 16, 360, buffer, sizeof buffer), 8);
  EXPECT_STREQ(buffer, "C:\\Tools");
}

TEST(AppPaths, ModuleFolderHoldsThisProgram) {
  char folder[1024];
  int length = GetModuleDirectory(folder, sizeof folder);
  ASSERT_GT(length, 0);
  EXPECT_EQ(length, static_cast<int>(std::strlen(folder)));
  EXPECT_NE(folder[length - 1], '\\');
  EXPECT_EQ(GetPathKind(folder), kPathFolder);
  std::string program = std::string(folder) + "\\files_app_paths_tests";
  EXPECT_TRUE(GetPathKind(program.c_str()) == kPathFile || GetPathKind((program + ".exe").c_str()) == kPathFile);

  char joined[1024];
  EXPECT_EQ(std::string(MakeModulePath("Tessaly.ini", joined)), std::string(folder) + "\\Tessaly.ini");
  char tooSmall[4] = "abc";
  EXPECT_EQ(GetModuleDirectory(tooSmall, sizeof tooSmall), 0);
  EXPECT_STREQ(tooSmall, "abc");
}

TEST(SpecialFolders, ApplicationPathIsTheModuleFolder) {
  char module[1024], special[1024], byName[1024];
  ASSERT_GT(GetModuleDirectory(module, sizeof module), 0);
  EXPECT_EQ(GetSpecialFolder(nullptr, APPLICATION_PATH, special, sizeof special), 1);
  EXPECT_STREQ(special, module);
  EXPECT_EQ(GetSpecialFolderByName(nullptr, "APPLICATION_PATH", byName, sizeof byName), 1);
  EXPECT_STREQ(byName, module);
  char small[100];
  EXPECT_EQ(GetSpecialFolder(nullptr, APPLICATION_PATH, small, sizeof small), 0);
  EXPECT_EQ(GetAppDataFolder(nullptr, small, sizeof small), 0);
}

TEST(SpecialFolders, NamesMatchExactly) {
  char buffer[1024];
  EXPECT_EQ(GetSpecialFolderByName(nullptr, "csidl_appdata", buffer, sizeof buffer), 0);
  EXPECT_EQ(GetSpecialFolderByName(nullptr, "CSIDL_NOTHING", buffer, sizeof buffer), 0);
  EXPECT_EQ(GetSpecialFolderByName(nullptr, "", buffer, sizeof buffer), 0);
}

TEST(SpecialFolders, TableHasFiftyEightRowsInOrder) {
  std::set<std::string> names;
  for (int i = 0; i < kSpecialFolderCount; ++i) {
    names.insert(kSpecialFolders[i].name);
    if (i > 0) {
      EXPECT_LT(kSpecialFolders[i - 1].id, kSpecialFolders[i].id) << kSpecialFolders[i].name;
    }
  }
  EXPECT_EQ(names.size(), 58u);
  EXPECT_STREQ(kSpecialFolders[0].name, "CSIDL_DESKTOP");
  EXPECT_STREQ(kSpecialFolders[25].name, "CSIDL_APPDATA");
  EXPECT_EQ(kSpecialFolders[25].id, 0x1a);
  EXPECT_STREQ(kSpecialFolders[56].name, "CSIDL_COMPUTERSNEARME");
  EXPECT_EQ(kSpecialFolders[56].id, 0x3d);
  EXPECT_STREQ(kSpecialFolders[57].name, "APPLICATION_PATH");
  EXPECT_EQ(kSpecialFolders[57].id, 128);
}

TEST(SpecialFolders, OlderConsumerSystemsUsePerUserFolders) {
  struct Case {
    int id;
    unsigned long platform;
    int expected;
  };
  constexpr Case cases[] = {{0x17, 1, 0x02}, {0x19, 1, 0x10}, {0x1a, 1, 0x1a}, {0x17, 2, 0x17},
                            {0x19, 2, 0x19}, {0x17, 0, 0x17}};
  for (const Case& c : cases) EXPECT_EQ(MapFolderIdForPlatformId(c.id, c.platform), c.expected) << c.id;
  EXPECT_EQ(MapFolderIdForPlatform(0x17), 0x17) << "no system here is a consumer one";
}

TEST(AppPaths, AppDataPathsJoinTheFolderWithSingleBackslashes) {
  TempFolder folder;
  ScopedAppDataFolder appData(folder.Path());
  char base[1024];
  ASSERT_EQ(GetAppDataFolder(nullptr, base, sizeof base), 1);
  if (appData.Redirected()) {
    EXPECT_EQ(std::string(base), folder.Path());
  }
  char special[1024];
  ASSERT_EQ(GetSpecialFolderByName(nullptr, "CSIDL_APPDATA", special, sizeof special), 1);
  EXPECT_STREQ(special, base);
  char out[1024];
  ASSERT_NE(MakeAppDataPath("Brindle-Works", "Tessaly", "Tessaly.ini", out), nullptr);
  EXPECT_EQ(std::string(out), std::string(base) + "\\Brindle-Works\\Tessaly\\Tessaly.ini");
  std::string longName(1100, 'n');
  strcpy(out, "untouched");
  EXPECT_EQ(MakeAppDataPath("Brindle-Works", "Tessaly", longName.c_str(), out), nullptr);
  EXPECT_STREQ(out, "untouched");
}

TEST(AppPaths, EnsureAppDataFolderCreatesTheChainOnce) {
  TempFolder folder;
  ScopedAppDataFolder appData(folder.Path());
  char base[1024];
  ASSERT_EQ(GetAppDataFolder(nullptr, base, sizeof base), 1);
  // Under Windows this is the user's real folder: a name of its own, removed
  // at the end.
  std::string maker = "Tessaly-Test-" + std::to_string(reinterpret_cast<std::uintptr_t>(&folder) & 0xFFFFFF);
  std::string makerPath = std::string(base) + "\\" + maker;
  EXPECT_EQ(EnsureAppDataFolder(maker.c_str(), "Tessaly"), 1);
  EXPECT_EQ(GetPathKind((makerPath + "\\Tessaly").c_str()), kPathFolder);
  EXPECT_EQ(EnsureAppDataFolder(maker.c_str(), "Tessaly"), 1);

  // A file named like the folder counts as present; nothing is created.
  testfiles::WriteBytes(makerPath + "\\Blocked", "x");
  EXPECT_EQ(EnsureAppDataFolder(maker.c_str(), "Blocked"), 1);
  EXPECT_EQ(GetPathKind((makerPath + "\\Blocked").c_str()), kPathFile);

  int error = 0;
  EXPECT_EQ(DeleteDirectoryTree(makerPath.c_str(), &error), 3);
  EXPECT_EQ(error, 0);
}

}  // namespace
