// The automatic save and restore around resolution changes.  Runs on a Wine
// virtual desktop of 1024x768, where the resolution can be changed.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

class E2eAutoCapture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(ChangeResolution(1024, 768));
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  }
  void TearDown() override { ChangeResolution(1024, 768); }

  TestDesktop desktop;
  Tessaly tessaly;
};

TEST_F(E2eAutoCapture, MovesUpdateTheSnapshotAndADisplayChangeWritesItAndRestoresTheNewLayout) {
  ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}, {"Mail", 20, 110}, {"ごみ箱", 120, 20}, {"予定表", 120, 110}}));
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\nResolution_AutoRestore=true\r\n"));
  std::vector<DesktopIcon> stored800 = {{"Notes", 300, 20}, {"Mail", 300, 110}, {"ごみ箱", 400, 20}, {"予定表", 400, 110}};
  ASSERT_TRUE(WriteLayout(LayoutFile(800, 600), stored800));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(WaitFor([&] { return desktop.Count("getitemcount") >= 1; })) << "the first snapshot";
  WaitForQuietDesktop(desktop);

  // A move from another thread of the shell is heard through the hook.
  ASSERT_TRUE(desktop.ResetCounts());
  ASSERT_TRUE(desktop.Move(3, 500, 500));
  ASSERT_TRUE(WaitFor([&] { return desktop.Count("getitemcount") >= 1; })) << "a snapshot after the move";
  WaitForQuietDesktop(desktop);
  std::vector<DesktopIcon> at1024 = desktop.Icons();
  ASSERT_FALSE(Exists(LayoutFile(1024, 768))) << "snapshots stay in memory";

  ASSERT_TRUE(ChangeResolution(800, 600));
  ASSERT_TRUE(WaitForFileSettled(LayoutFile(1024, 768)));
  EXPECT_EQ(ReadLayout(LayoutFile(1024, 768)), InPositionOrder(at1024));
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == stored800; }))
      << "now:\n" << testsupport::ToString(desktop.Icons());
  WaitForQuietDesktop(desktop);

  // Back: the 800x600 snapshot is written, the 1024x768 layout restored.
  std::vector<DesktopIcon> at800 = desktop.Icons();
  ASSERT_TRUE(ChangeResolution(1024, 768));
  ASSERT_TRUE(WaitForFileSettled(LayoutFile(800, 600)));
  EXPECT_EQ(ReadLayout(LayoutFile(800, 600)), InPositionOrder(at800));
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == at1024; }))
      << "now:\n" << testsupport::ToString(desktop.Icons());
  WaitForQuietDesktop(desktop);

  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

TEST_F(E2eAutoCapture, AFailedCaptureNeverOverwritesAStoredFile) {
  ASSERT_TRUE(desktop.Start({{"Notes", 20, 20}, {"Mail", 20, 110}}));
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\n"));
  ASSERT_TRUE(WriteLayout(LayoutFile(1024, 768), {{"Notes", 400, 400}, {"Mail", 500, 500}}));
  const std::string before = ReadBytes(LayoutFile(1024, 768));
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(WaitFor([&] { return desktop.Count("getitemcount") >= 1; })) << "the first snapshot";
  WaitForQuietDesktop(desktop);

  // The shell goes away; the next snapshot (Settings, OK) fails and says so.
  desktop.Kill();
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kSettings));
  HWND dialog = tessaly.WaitForDialog("設定");
  ASSERT_NE(dialog, nullptr);
  PressOk(dialog);
  HWND box = tessaly.WaitForDialog("エラー");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "アイコン位置の取得に失敗しました");
  PressOk(box);
  ASSERT_TRUE(tessaly.WaitForNoDialog("エラー"));

  // The display change writes nothing for the failed snapshot; its own new
  // snapshot fails too, and says so.
  ASSERT_TRUE(ChangeResolution(800, 600));
  box = tessaly.WaitForDialog("エラー");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(ReadBytes(LayoutFile(1024, 768)), before);
  PressOk(box);
  ASSERT_TRUE(tessaly.WaitForNoDialog("エラー"));

  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
  EXPECT_EQ(ReadBytes(LayoutFile(1024, 768)), before);
}

// The resolution changes while a restore is moving icons.  The display change
// must wait until the restore is done: then the new resolution's layout is
// restored whole, not mixed with the rest of the first restore.
TEST_F(E2eAutoCapture, ADisplayChangeDuringARestoreRunsAfterIt) {
  std::vector<DesktopIcon> icons = testsupport::GridIcons(200, "icon", 20, 50, 10, 10);
  ASSERT_TRUE(desktop.Start(icons));
  icons = desktop.Icons();
  std::vector<DesktopIcon> stored1024 = icons;
  std::vector<DesktopIcon> stored800 = icons;
  for (size_t i = 0; i < icons.size(); ++i) {
    stored1024[i].x = icons[(i + 1) % icons.size()].x;
    stored1024[i].y = icons[(i + 1) % icons.size()].y;
    stored800[i].x = 15 + static_cast<int>(i % 10) * 70;
    stored800[i].y = 15 + static_cast<int>(i / 10) * 25;
  }
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoRestore=true\r\n"));
  ASSERT_TRUE(WriteLayout(LayoutFile(1024, 768), stored1024));
  ASSERT_TRUE(WriteLayout(LayoutFile(800, 600), stored800));
  ASSERT_TRUE(tessaly.Start());

  ASSERT_TRUE(desktop.ResetCounts());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  ASSERT_TRUE(WaitFor([&] { return desktop.Count("setitemposition") > 0; }, 30000));
  ASSERT_TRUE(ChangeResolution(800, 600));
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == stored800; }, 60000));
  WaitForQuietDesktop(desktop);
  EXPECT_EQ(desktop.Icons(), stored800);

  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace e2e
