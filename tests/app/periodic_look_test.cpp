#include "app/periodic_look.h"

#include "app/automatic_options.h"
#include "tests/app/app_fixture.h"

namespace {

class PeriodicLookTest : public AppFixture {};

// The shell places icons on its own thread without the hook hearing it: the
// periodic look brings the snapshot up to date, and the next display change
// writes the icon where the user put it.  It runs only with the option on,
// and takes nothing while the screen has a resolution not yet seen.
TEST_F(PeriodicLookTest, ThePeriodicLookFollowsMovesTheHookDoesNotHear) {
  OnStartupActions(app, look);
  EXPECT_FALSE(host.TimerRunning(kLookTimer)) << "the option is off";

  settings.resolutionAutoCapture = 1;
  OnSettingsApplied(app, look);
  ASSERT_TRUE(host.TimerRunning(kLookTimer));
  const std::string key = host.PathFor(1024, 768);
  MoveIcon(2, 640, 480);  // a drag and drop on the desktop
  RunTimers(kLookIntervalMs);
  EXPECT_TRUE(SameIcons(SnapshotOf(key), DesktopNow())) << Describe(SnapshotOf(key));
  // A new name in the same place: the looks read names less often.
  view.RemoveIcon(2);
  view.AddIcon("予定表", 640, 480);
  RunTimers(kLookIntervalMs * kLookNamesEvery);
  EXPECT_TRUE(SameIcons(SnapshotOf(key), DesktopNow())) << Describe(SnapshotOf(key));

  // The screen has changed but its WM_DISPLAYCHANGE has not come yet: the
  // look leaves the snapshot of the old resolution as it is.
  const IconLayout at1024 = DesktopNow();
  host.SetResolution(800, 600);
  MoveIcon(0, 700, 20);
  RunTimers(kLookIntervalMs);
  EXPECT_TRUE(SameIcons(SnapshotOf(key), at1024));
  EXPECT_EQ(app.snapshots.Snapshots().count(host.PathFor(800, 600)), 0u);
  view.SetViewSize(800, 600);
  display.OnDisplayChange(app);
  FinishDisplayChange();
  EXPECT_TRUE(SameIcons(Stored(key), at1024)) << Describe(Stored(key));

  settings.resolutionAutoCapture = 0;
  OnSettingsApplied(app, look);
  EXPECT_FALSE(host.TimerRunning(kLookTimer));
}

}  // namespace
