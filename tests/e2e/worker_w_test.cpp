// The shell's desktop view in a top-level "WorkerW" window, Progman holding
// none, as with a wallpaper slideshow: Tessaly saves and restores its icons
// and hears their moves through its hook, as with the view under Progman.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

using testsupport::DesktopHost;
using testsupport::DesktopIcon;
using testsupport::TestDesktop;

class E2eWorkerW : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}, {"Mail", 20, 110}, {"ごみ箱", 120, 20}, {"予定表", 120, 110}},
                              DesktopHost::kWorkerW));
    ASSERT_EQ(TestDesktop::FindView(), nullptr) << "Progman holds a view";
  }
  void TearDown() override {
    if (!tessaly.Running()) return;
    EXPECT_EQ(tessaly.FindOwnWindow("#32770", "エラー"), nullptr) << "a command failed";
    int exitCode = -99;
    EXPECT_TRUE(tessaly.Close(&exitCode));
    EXPECT_EQ(exitCode, 0);
  }

  TestDesktop desktop;
  Tessaly tessaly;
};

TEST_F(E2eWorkerW, SaveAndRestoreReachTheView) {
  ASSERT_TRUE(tessaly.Start());
  const std::vector<DesktopIcon> saved = desktop.Icons();
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSave));
  ASSERT_TRUE(WaitForFileSettled(CurrentLayoutFile()));
  EXPECT_EQ(ReadLayout(CurrentLayoutFile()), InPositionOrder(saved));

  ASSERT_TRUE(desktop.Move(0, 400, 300));
  ASSERT_TRUE(desktop.Move(2, 20, 20));
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == saved; }))
      << "now:\n" << testsupport::ToString(desktop.Icons());
  WaitForQuietDesktop(desktop);
}

TEST_F(E2eWorkerW, TheHookReportsMovesOfTheView) {
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\n"));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(WaitFor([&] { return desktop.Count("getitemcount") >= 1; })) << "the first snapshot";
  WaitForQuietDesktop(desktop);

  ASSERT_TRUE(desktop.ResetCounts());
  ASSERT_TRUE(desktop.Move(3, 500, 400));
  EXPECT_TRUE(WaitFor([&] { return desktop.Count("getitemcount") >= 1; }))
      << "a move on the desktop reaches Tessaly and brings a snapshot";
  WaitForQuietDesktop(desktop);
}

}  // namespace
}  // namespace e2e
