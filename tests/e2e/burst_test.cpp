// A restore with the automatic save on is followed by one snapshot, not one
// per icon move.
#include <gtest/gtest.h>

#include "tests/e2e/tessaly_driver.h"

namespace e2e {
namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

TEST(E2eBurst, ARestoreOfFiftyIconsIsFollowedByAtMostTwoCaptures) {
  std::vector<DesktopIcon> icons = testsupport::GridIcons(50, "icon", 10, 80, 20, 20);
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start(icons));
  icons = desktop.Icons();
  // The stored layout: every icon one place further on, so that the icons
  // stand on each other's places in one ring: one is parked, and every icon
  // moved once (51 moves).
  std::vector<DesktopIcon> stored = icons;
  for (size_t i = 0; i < stored.size(); ++i) {
    stored[i].x = icons[(i + 1) % icons.size()].x;
    stored[i].y = icons[(i + 1) % icons.size()].y;
  }
  ASSERT_TRUE(WriteSettings("[General]\r\nResolution_AutoCapture=true\r\n"));
  ASSERT_TRUE(WriteLayout(CurrentLayoutFile(), stored));

  Tessaly tessaly;
  ASSERT_TRUE(tessaly.Start());
  ASSERT_TRUE(WaitFor([&] { return desktop.Count("getitemcount") >= 1; })) << "the first snapshot";
  WaitForQuietDesktop(desktop);

  ASSERT_TRUE(desktop.ResetCounts());
  ASSERT_TRUE(tessaly.Post(WM_COMMAND, kRestore));
  // Only the counts are read meanwhile: the desktop does not count requests
  // that it answers while it runs a command of the test's own.
  ASSERT_TRUE(WaitFor([&] { return desktop.Count("setitemposition") >= 51; }, 60000));
  WaitForQuietDesktop(desktop);

  long moves = desktop.Count("setitemposition");
  long captures = desktop.Count("getitemcount") - 1;  // less the restore's own capture
  RecordProperty("moves", static_cast<int>(moves));
  RecordProperty("captures_after_restore", static_cast<int>(captures));
  EXPECT_EQ(moves, 51);
  EXPECT_GE(captures, 1) << "the snapshot after the restore";
  EXPECT_LE(captures, 2) << "not one snapshot per reported move";
  EXPECT_EQ(desktop.Icons(), stored);

  int exitCode = -99;
  ASSERT_TRUE(tessaly.Close(&exitCode));
  EXPECT_EQ(exitCode, 0);
}

}  // namespace
}  // namespace e2e
