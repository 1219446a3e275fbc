// The shell going away while Tessaly reads or moves its icons, and a new
// shell taking its place, as when Explorer ends and is started again: the
// test desktop quits in the middle of a Save or a Restore, Tessaly keeps
// running, and once a new desktop is there and "TaskbarCreated" has reached
// Tessaly, its hook hears the new desktop and its commands work again.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

const char kCaptureFailed[] = "アイコン位置の取得に失敗しました";

bool WaitForDesktopGone(TestDesktop& desktop) {
  return WaitFor([&] { return !desktop.Running(); });
}

class E2eShellRestart : public ::testing::Test {
 protected:
  void TearDown() override {
    if (tessaly.Running()) {
      int exitCode = -99;
      EXPECT_TRUE(tessaly.Close(&exitCode));
      EXPECT_EQ(exitCode, 0);
    }
  }

  TestDesktop desktop;
  Tessaly tessaly;
};

TEST_F(E2eShellRestart, ShellEndingDuringSaveShowsTheCaptureMessageAndANewShellIsServed) {
  ASSERT_TRUE(desktop.Start(testsupport::GridIcons(6)));
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\n"));
  ASSERT_TRUE(WriteLayout(CurrentLayoutFile(), {{"icon0", 400, 400}, {"icon1", 500, 500}}));
  const std::string before = ReadBytes(CurrentLayoutFile());
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(WaitFor([&] { return desktop.Count("getitemcount") >= 1; })) << "the first snapshot";
  WaitForQuietDesktop(desktop);

  ASSERT_TRUE(desktop.Command("quitafter getitemtext 2"));
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
  HWND box = tessaly.WaitForDialog("エラー");
  ASSERT_NE(box, nullptr) << "the failed capture is reported";
  EXPECT_EQ(MessageBoxText(box), kCaptureFailed);
  EXPECT_TRUE(WaitForDesktopGone(desktop));
  EXPECT_EQ(ReadBytes(CurrentLayoutFile()), before) << "nothing of the broken capture is saved";
  PressOk(box);
  ASSERT_TRUE(tessaly.WaitForNoDialog("エラー"));
  ASSERT_TRUE(tessaly.Running());

  // A new shell: its moves are heard once Tessaly has hooked it again.
  std::vector<DesktopIcon> icons = {{"Notes", 20, 20}, {"Mail", 20, 110}, {"ごみ箱", 120, 20}};
  ASSERT_TRUE(desktop.Start(icons));
  ASSERT_TRUE(tessaly.AnnounceNewTaskbar());
  ASSERT_TRUE(desktop.ResetCounts());
  ASSERT_TRUE(desktop.Move(2, 300, 300));
  EXPECT_TRUE(WaitFor([&] { return desktop.Count("getitemcount") >= 1; }))
      << "a move on the new desktop reaches Tessaly and brings a snapshot";
  WaitForQuietDesktop(desktop);
  EXPECT_EQ(tessaly.FindOwnWindow("#32770", "エラー"), nullptr) << "the snapshot of the new desktop succeeds";

  // And Save reads the new desktop whole.
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
  const std::vector<DesktopIcon> now = desktop.Icons();
  EXPECT_TRUE(WaitFor([&] { return ReadLayout(CurrentLayoutFile()) == InPositionOrder(now); }))
      << testsupport::ToString(ReadLayout(CurrentLayoutFile()));
}

TEST_F(E2eShellRestart, ShellEndingDuringRestoreLeavesTessalyRunningAndANewShellIsRestored) {
  std::vector<DesktopIcon> icons = testsupport::GridIcons(6, "icon", 10, 80, 20, 20);
  ASSERT_TRUE(desktop.Start(icons));
  icons = desktop.Icons();
  std::vector<DesktopIcon> stored = icons;
  for (size_t i = 0; i < stored.size(); ++i) stored[i].y += 300;
  ASSERT_TRUE(WriteLayout(CurrentLayoutFile(), stored));
  const std::string before = ReadBytes(CurrentLayoutFile());
  ASSERT_TRUE(tessaly.Start());

  ASSERT_TRUE(desktop.Command("quitafter setitemposition 2"));
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  ASSERT_TRUE(WaitForDesktopGone(desktop));
  // Tessaly still answers its window, and a failed restore is not reported.
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutA(tessaly.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 20000, &answer), 0);
  EXPECT_TRUE(tessaly.Running());
  EXPECT_EQ(tessaly.FindOwnWindow("#32770", "エラー - Pavane"), nullptr);
  EXPECT_EQ(ReadBytes(CurrentLayoutFile()), before);

  ASSERT_TRUE(desktop.Start(icons));
  ASSERT_TRUE(tessaly.AnnounceNewTaskbar());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == stored; }))
      << "now:\n" << testsupport::ToString(desktop.Icons());
  WaitForQuietDesktop(desktop);
}

}  // namespace
}  // namespace e2e
