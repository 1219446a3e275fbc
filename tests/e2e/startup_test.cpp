// Start-up and shutdown of Tessaly.exe.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

TEST(E2eStartup, SecondCopyExitsWithMinusOneAndCreatesNoFolder) {
  Tessaly first;
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(Exists(SettingsFolder()));
  RemoveTree(MakerFolder());
  ASSERT_FALSE(Exists(MakerFolder()));

  Tessaly second;
  ASSERT_TRUE(second.Start(false));
  int exitCode = 0;
  ASSERT_TRUE(second.WaitExit(&exitCode));
  EXPECT_EQ(exitCode, -1);
  EXPECT_FALSE(Exists(MakerFolder()));
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(FindWindowA("CID_TESSALY", "Pavane"), first.Window());

  // The settings file goes only where the folder is; the first copy still
  // ends normally without it.
  ASSERT_TRUE(first.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

TEST(E2eStartup, CloseEndsWithExitZeroAndWritesTheSettings) {
  Tessaly tessaly;
  ASSERT_TRUE(tessaly.Start());
  EXPECT_FALSE(Exists(SettingsFile())) << "the settings are written at shutdown";
  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Start_AutoRestore"), "false");
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoRestore"), "false");
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoCapture"), "false");
}

// The session may end: the program agrees and waits for the end itself
// (another program may still cancel it); when it comes, the program ends as
// Exit ends it.
TEST(E2eStartup, QueryEndSessionAnswersOneAndTheEndOfTheSessionEndsTheProgram) {
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoRestore=TRUE\r\n"));
  Tessaly tessaly;
  ASSERT_TRUE(tessaly.Start());
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutA(tessaly.Window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer));
  EXPECT_EQ(answer, 1u);
  ASSERT_TRUE(SendMessageTimeoutA(tessaly.Window(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &answer));
  int exitCode = -99;
  ASSERT_TRUE(tessaly.WaitExit(&exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoRestore"), "true");
}

TEST(E2eStartup, WithoutTheShellTheProgramRunsAndSaveShowsTheCaptureFailure) {
  ASSERT_EQ(testsupport::TestDesktop::FindView(), nullptr) << "this test wants no desktop icon view";
  Tessaly tessaly;
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
  HWND box = tessaly.WaitForDialog("エラー");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "アイコン位置の取得に失敗しました");
  PressOk(box);
  EXPECT_TRUE(tessaly.WaitForNoDialog("エラー"));
  EXPECT_FALSE(Exists(CurrentLayoutFile()));
  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

TEST(E2eStartup, AFileInPlaceOfTheSettingsFolderIsLeftAloneAndTheProgramRuns) {
  RemoveTree(MakerFolder());
  CreateDirectoryA(MakerFolder().c_str(), nullptr);
  ASSERT_TRUE(WriteBytes(SettingsFolder(), "not a folder"));
  Tessaly tessaly;
  ASSERT_TRUE(tessaly.Start());
  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ReadBytes(SettingsFolder()), "not a folder");
  RemoveTree(MakerFolder());
}

TEST(E2eStartup, OutputFolderHoldsExactlyTheTwoDeliverables) {
  std::string folder = testsupport::DeliverablePath("");
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
  });
  ASSERT_EQ(names.size(), 2u);
  EXPECT_STRCASEEQ(names[0].c_str(), "sorrel_x64.dll");
  EXPECT_STRCASEEQ(names[1].c_str(), "Tessaly.exe");
}

}  // namespace
}  // namespace e2e
