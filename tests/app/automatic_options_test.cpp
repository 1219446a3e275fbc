#include "app/automatic_options.h"

#include "app/hook_report.h"
#include "tests/app/app_fixture.h"

namespace {

class AutomaticOptions : public AppFixture {};

TEST_F(AutomaticOptions, WithEveryOptionOffNothingHappens) {
  OnStartupActions(app, look);
  OnHookNotification(app);
  display.OnDisplayChange(app);
  display.OnDisplayChange(app);
  EXPECT_TRUE(view.Calls().empty()) << view.toString();
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_TRUE(app.snapshots.LatestPath().empty());
  EXPECT_TRUE(testfiles::ListFolder(folder.Path()).empty());
}

TEST_F(AutomaticOptions, StartupRestoresTheCurrentResolutionsFileThenTakesTheFirstSnapshot) {
  IconLayout stored = {{0, "Notes", 100, 50}};
  ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768).c_str(), stored), 1);
  settings.startAutoRestore = 1;
  settings.resolutionAutoCapture = 1;

  OnStartupActions(app, look);

  // Notes changes places with Mail, which stood at (100, 50).
  EXPECT_EQ(view.Icons()[0].x, 100);
  EXPECT_EQ(view.Icons()[0].y, 50);
  EXPECT_EQ(view.Icons()[1].x, 10);
  EXPECT_EQ(app.snapshots.LatestPath(), host.PathFor(1024, 768));
  EXPECT_TRUE(SameIcons(SnapshotOf(app.snapshots.LatestPath()), DesktopNow()));
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(AutomaticOptions, StartupRestoreWithoutAStoredFileIsSilent) {
  settings.startAutoRestore = 1;
  OnStartupActions(app, look);
  EXPECT_TRUE(view.Moves().empty());
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(AutomaticOptions, WithoutAnApplicationDataFolderTheAutomaticStepsAreSkippedSilently) {
  const IconLayout stored = {{0, "Notes", 100, 50}};
  ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768).c_str(), stored), 1);
  host.SetAppDataKnown(false);
  settings.startAutoRestore = 1;
  settings.resolutionAutoRestore = 1;
  settings.resolutionAutoCapture = 1;
  OnStartupActions(app, look);
  OnHookNotification(app);
  display.OnDisplayChange(app);
  EXPECT_TRUE(view.Calls().empty()) << view.toString();
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_TRUE(app.snapshots.LatestPath().empty());
}

}  // namespace
