// The settings file and the Settings dialog of Tessaly.exe.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

constexpr int kStartAutoRestore = 1005;
constexpr int kResolutionAutoRestore = 1006;
constexpr int kResolutionAutoCapture = 1010;

int CheckState(HWND dialog, int id) {
  return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0));
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

TEST(E2eSettings, LegacyStartRestoreRestoresAtStartUpAndIsMigratedAtShutdown) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}, {"Mail", 20, 110}, {"ごみ箱", 120, 20}}));
  std::vector<DesktopIcon> stored = {{"Notes", 120, 20}, {"Mail", 300, 300}, {"ごみ箱", 20, 20}};
  ASSERT_TRUE(WriteSettings("[General]\r\nStartRestore=true\r\n"));
  ASSERT_TRUE(WriteLayout(CurrentLayoutFile(), stored));

  Tessaly tessaly;
  ASSERT_TRUE(tessaly.Start());
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == stored; }))
      << "now:\n" << testsupport::ToString(desktop.Icons());

  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Start_AutoRestore"), "true");
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "StartRestore"), "<absent>");
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoRestore"), "false");
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoCapture"), "false");
}

TEST(E2eSettings, DialogShowsTheOptionsAndOkAppliesTheCheckBoxes) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}, {"Mail", 20, 110}}));
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoRestore=true\r\n"));
  Tessaly tessaly;
  ASSERT_TRUE(tessaly.Start());

  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSettings));
  HWND dialog = tessaly.WaitForDialog("設定");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(CheckState(dialog, kStartAutoRestore), BST_UNCHECKED);
  EXPECT_EQ(CheckState(dialog, kResolutionAutoRestore), BST_CHECKED);
  EXPECT_EQ(CheckState(dialog, kResolutionAutoCapture), BST_UNCHECKED);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1007)));

  // Escape does not close the dialog.
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  // Closed, it would be gone within this (a busy machine only weakens the check).
  Sleep(300);
  EXPECT_TRUE(IsWindow(dialog));

  Click(dialog, kStartAutoRestore);
  Click(dialog, kResolutionAutoRestore);
  Click(dialog, kResolutionAutoCapture);
  ASSERT_TRUE(desktop.ResetCounts());
  PressOk(dialog);
  ASSERT_TRUE(tessaly.WaitForNoDialog("設定"));
  // With the automatic save ticked, OK takes a snapshot at once.
  EXPECT_TRUE(WaitFor([&] { return desktop.Count("getitemcount") >= 1; }));

  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Start_AutoRestore"), "true");
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoRestore"), "false");
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoCapture"), "true");
}

TEST(E2eSettings, CloseBoxChangesNothing) {
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\n"));
  Tessaly tessaly;
  ASSERT_TRUE(tessaly.Start());
  // Without a desktop the start-up snapshot fails and says so; close that first.
  HWND box = tessaly.WaitForDialog("エラー");
  ASSERT_NE(box, nullptr) << "the start-up snapshot finds no desktop";
  PressOk(box);
  ASSERT_TRUE(tessaly.WaitForNoDialog("エラー"));

  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSettings));
  HWND dialog = tessaly.WaitForDialog("設定");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(CheckState(dialog, kResolutionAutoCapture), BST_CHECKED);
  Click(dialog, kStartAutoRestore);
  Click(dialog, kResolutionAutoCapture);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(tessaly.WaitForNoDialog("設定"));
  EXPECT_EQ(tessaly.FindOwnWindow("#32770", "エラー"), nullptr) << "closing takes no snapshot";

  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Start_AutoRestore"), "false");
  EXPECT_EQ(ProfileValue(SettingsFile(), "General", "Resolution_AutoCapture"), "true");
}

}  // namespace
}  // namespace e2e
