// Save and Restore from the tray menu, against the test desktop.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

std::vector<DesktopIcon> Icons() {
  return {{"ごみ箱", 20, 20},   {"Notes", 20, 110}, {"表計算.xls", 120, 20}, {"Mail", 120, 110},
          {"予定表", 220, 20}, {"Notes", 220, 200}, {"ソフト=;", 320, 20}};
}

class E2eCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(desktop.Start(Icons()));
    ASSERT_TRUE(tessaly.Start());
    DeleteFileA(CurrentLayoutFile().c_str());
  }
  void TearDown() override {
    int exitCode = -99;
    EXPECT_TRUE(tessaly.Close(&exitCode));
    EXPECT_EQ(exitCode, 0);
  }
  // Saves with the menu command and returns the icons as they were saved.
  std::vector<DesktopIcon> Save() {
    std::vector<DesktopIcon> now = desktop.Icons();
    DeleteFileA(CurrentLayoutFile().c_str());
    EXPECT_TRUE(tessaly.Post(WM_COMMAND, kSave));
    EXPECT_TRUE(WaitForFileSettled(CurrentLayoutFile()));
    return now;
  }

  TestDesktop desktop;
  Tessaly tessaly;
};

TEST_F(E2eCommands, SaveWritesEveryIconInPositionOrderWithTheExactKeys) {
  std::vector<DesktopIcon> saved = Save();
  const std::string file = CurrentLayoutFile();
  EXPECT_EQ(ProfileValue(file, "QVD-Fomat", "Version"), "0.01");
  EXPECT_EQ(ProfileValue(file, "QVD-Data", "IconCount"), std::to_string(saved.size()));
  std::vector<DesktopIcon> expected = InPositionOrder(saved);
  for (size_t i = 0; i < expected.size(); ++i) {
    std::string n = std::to_string(i);
    SCOPED_TRACE("entry " + n);
    EXPECT_EQ(ProfileValue(file, "QVD-Data", ("IconName_" + n).c_str()), expected[i].name);
    EXPECT_EQ(ProfileValue(file, "QVD-Data", ("IconPosX_" + n).c_str()), std::to_string(expected[i].x));
    EXPECT_EQ(ProfileValue(file, "QVD-Data", ("IconPosY_" + n).c_str()), std::to_string(expected[i].y));
  }
  EXPECT_EQ(ProfileValue(file, "QVD-Data", ("IconName_" + std::to_string(expected.size())).c_str()), "<absent>");
}

TEST_F(E2eCommands, RestorePutsMovedIconsBackExchangingWithOccupants) {
  std::vector<DesktopIcon> saved = Save();
  // Swap the first two icons' places, move one away, and put another on a
  // saved place that belongs to someone else.
  ASSERT_TRUE(desktop.Move(0, saved[1].x, saved[1].y));
  ASSERT_TRUE(desktop.Move(1, saved[0].x, saved[0].y));
  ASSERT_TRUE(desktop.Move(2, 600, 400));
  ASSERT_TRUE(desktop.Move(6, saved[4].x, saved[4].y));
  ASSERT_TRUE(desktop.Move(4, 700, 500));
  ASSERT_NE(desktop.Icons(), saved);

  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  EXPECT_TRUE(WaitFor([&] { return desktop.Icons() == saved; }))
      << "now:\n" << testsupport::ToString(desktop.Icons()) << "saved:\n" << testsupport::ToString(saved);
  EXPECT_EQ(tessaly.FindOwnWindow("#32770", nullptr), nullptr) << "no message on success";
}

TEST_F(E2eCommands, RestoreWithoutAFileShowsTheNoDataMessage) {
  ASSERT_FALSE(Exists(CurrentLayoutFile()));
  std::vector<DesktopIcon> before = desktop.Icons();
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  HWND box = tessaly.WaitForDialog("エラー - Pavane");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "現在の解像度で保存されたデータはありません！");
  PressOk(box);
  EXPECT_TRUE(tessaly.WaitForNoDialog("エラー - Pavane"));
  EXPECT_EQ(desktop.Icons(), before);
}

// The shell does not keep what a restore asks.  A list view tells it only by
// the read-back: one that lays its icons out again after every move (Auto
// arrange), and one that puts an icon elsewhere after the move.  The menu
// says so; the command line answers 1.
TEST_F(E2eCommands, ARestoreThatTheShellUndoesIsToldNotHidden) {
  const std::vector<DesktopIcon> saved = Save();
  struct Case {
    const char* setUp;
    const char* says;
  };
  const Case cases[] = {
      {"arrange on", "デスクトップの右クリック → 表示 → アイコンの自動整列"},
      {"displace 3 600 400", "1 個のアイコンが、復元した位置にありません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.setUp);
    ASSERT_TRUE(desktop.Command("arrange off"));
    ASSERT_TRUE(desktop.Command("displace -1 0 0"));
    ASSERT_TRUE(desktop.Move(0, saved[1].x, saved[1].y));
    ASSERT_TRUE(desktop.Move(1, saved[0].x, saved[0].y));
    ASSERT_TRUE(desktop.Move(3, 700, 500));
    ASSERT_TRUE(desktop.Command(c.setUp));
    ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
    HWND box = tessaly.WaitForDialog("エラー - Pavane");
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find(c.says), std::string::npos) << MessageBoxText(box);
    PressOk(box);
    EXPECT_TRUE(tessaly.WaitForNoDialog("エラー - Pavane"));

    Tessaly command;
    ASSERT_TRUE(command.Start(false, "/restore"));
    int exitCode = -99;
    ASSERT_TRUE(command.WaitExit(&exitCode, 60000));
    EXPECT_EQ(exitCode, 1);
    EXPECT_EQ(tessaly.FindOwnWindow("#32770", nullptr), nullptr) << "the command line shows no box";
  }
  ASSERT_TRUE(desktop.Command("displace -1 0 0"));
}

TEST_F(E2eCommands, SaveAgainReplacesTheFileWithoutStaleEntries) {
  Save();
  ASSERT_TRUE(desktop.Remove(6));
  ASSERT_TRUE(desktop.Remove(5));
  std::vector<DesktopIcon> saved = Save();
  EXPECT_EQ(ReadLayout(CurrentLayoutFile()), InPositionOrder(saved));
  EXPECT_EQ(ProfileValue(CurrentLayoutFile(), "QVD-Data", "IconName_5"), "<absent>");
}

}  // namespace
}  // namespace e2e
