#include "app/auto_layout.h"

#include "tests/app/app_fixture.h"

namespace {

constexpr std::uint64_t kSetItemPosition = 0x100F;
constexpr std::uint64_t kNotify = 0x4E;
constexpr std::uint64_t kBeginLabelEdit = 0xFFFFFF97u;

class AutoLayout : public AppFixture {};

TEST_F(AutoLayout, WithEveryOptionOffNothingHappens) {
  OnStartupActions(app);
  OnHookNotification(app);
  OnDisplayChange(app);
  OnDisplayChange(app);
  EXPECT_TRUE(view.Calls().empty()) << view.toString();
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_TRUE(app.snapshots.snapshotKey.empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

TEST_F(AutoLayout, StartupRestoresTheCurrentResolutionsFileThenTakesTheFirstSnapshot) {
  IconLayout stored = {{0, "Notes", 100, 50}};
  ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768).c_str(), stored), 1);
  settings.startAutoRestore = 1;
  settings.resolutionAutoCapture = 1;

  OnStartupActions(app);

  // Notes changes places with Mail, which stood at (100, 50).
  EXPECT_EQ(view.Icons()[0].x, 100);
  EXPECT_EQ(view.Icons()[0].y, 50);
  EXPECT_EQ(view.Icons()[1].x, 10);
  EXPECT_EQ(app.snapshots.snapshotKey, host.PathFor(1024, 768));
  EXPECT_TRUE(SameIcons(app.snapshots.snapshotStore[app.snapshots.snapshotKey], DesktopNow()));
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(AutoLayout, StartupRestoreWithoutAStoredFileIsSilent) {
  settings.startAutoRestore = 1;
  OnStartupActions(app);
  EXPECT_TRUE(view.Moves().empty());
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(AutoLayout, HookReportsTakeASnapshotOnlyWithTheOptionOnAndNoLayoutWorkRunning) {
  OnHookNotification(app);
  EXPECT_EQ(Captures(), 0);

  settings.resolutionAutoCapture = 1;
  LayoutBusy = 1;
  OnHookNotification(app);
  EXPECT_EQ(Captures(), 0);

  LayoutBusy = 0;
  MoveIcon(0, 500, 500);
  OnHookNotification(app);
  EXPECT_EQ(Captures(), 1);
  EXPECT_TRUE(SameIcons(app.snapshots.snapshotStore[host.PathFor(1024, 768)], DesktopNow()));
}

TEST_F(AutoLayout, ABurstOfReportsTakesOneSnapshot) {
  settings.resolutionAutoCapture = 1;
  for (int i = 0; i < 30; ++i) host.QueueReport(kSetItemPosition, 0);
  host.QueueReport(kNotify, kBeginLabelEdit);  // would be ignored anyway
  host.QueueReport(kSetItemPosition, 0);

  OnHookNotification(app);

  EXPECT_EQ(Captures(), 1);
  EXPECT_EQ(host.PendingReports(), 0u);
}

TEST_F(AutoLayout, DisplayChangeWritesTheOldSnapshotRestoresTheNewFileAndSnapshotsAgain) {
  settings.resolutionAutoCapture = 1;
  settings.resolutionAutoRestore = 1;
  TakeSnapshot(app);
  IconLayout at1024 = DesktopNow();
  IconLayout stored800 = {{0, "Mail", 300, 200}};
  ASSERT_EQ(SaveLayoutFile(host.PathFor(800, 600).c_str(), stored800), 1);

  // The shell rearranges the icons for the new screen before we hear of it.
  MoveIcon(0, 700, 10);
  host.SetResolution(800, 600);
  OnDisplayChange(app);

  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), at1024))
      << "written:\n" << Describe(Stored(host.PathFor(1024, 768))) << "expected:\n" << Describe(at1024);
  EXPECT_EQ(view.Icons()[1].x, 300);
  EXPECT_EQ(view.Icons()[1].y, 200);
  EXPECT_EQ(app.snapshots.snapshotKey, host.PathFor(800, 600));
  EXPECT_TRUE(SameIcons(app.snapshots.snapshotStore[host.PathFor(800, 600)], DesktopNow()));
  EXPECT_EQ(app.snapshots.snapshotStore.size(), 2u);
  EXPECT_EQ(app.layoutWork, 0);

  // And back: the 800x600 snapshot goes to its own file.
  IconLayout at800 = DesktopNow();
  host.SetResolution(1024, 768);
  OnDisplayChange(app);
  EXPECT_TRUE(SameIcons(Stored(host.PathFor(800, 600)), at800));
}

TEST_F(AutoLayout, DisplayChangeWithCaptureOffWritesNothingAndKeepsTheKey) {
  settings.resolutionAutoCapture = 1;
  TakeSnapshot(app);
  settings.resolutionAutoCapture = 0;
  OnDisplayChange(app);
  OnDisplayChange(app);
  EXPECT_FALSE(std::filesystem::exists(host.PathFor(1024, 768)));
  EXPECT_EQ(app.snapshots.snapshotKey, host.PathFor(1024, 768));
}

TEST_F(AutoLayout, AFailedSnapshotIsNeverWrittenOverTheStoredFile) {
  const std::string stored = host.PathFor(1024, 768);
  ASSERT_EQ(SaveLayoutFile(stored.c_str(), DesktopNow()), 1);
  const std::string before = Bytes(stored);
  settings.resolutionAutoCapture = 1;
  TakeSnapshot(app);  // a good snapshot first
  view.SetPresent(false);
  TakeSnapshot(app);  // then the shell goes away
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text, "アイコン位置の取得に失敗しました");
  EXPECT_EQ(host.Messages()[0].caption, "エラー");

  host.SetResolution(800, 600);
  OnDisplayChange(app);

  EXPECT_EQ(Bytes(stored), before);
  EXPECT_TRUE(app.snapshots.snapshotKey.empty() || app.snapshots.snapshotKey == host.PathFor(800, 600));
}

TEST_F(AutoLayout, ASnapshotAfterAFailureIsWrittenAgain) {
  settings.resolutionAutoCapture = 1;
  view.SetPresent(false);
  TakeSnapshot(app);
  view.SetPresent(true);
  TakeSnapshot(app);
  host.SetResolution(800, 600);
  OnDisplayChange(app);
  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), DesktopNow()));
}

TEST_F(AutoLayout, SnapshotFailureMessagesDoNotPileUp) {
  settings.resolutionAutoCapture = 1;
  view.SetPresent(false);
  int opened = 0;
  size_t callsBefore = 0;
  // While the message box is open, more reports arrive and are handled; each
  // tries a snapshot, which fails again.
  host.WhileMessageOpen([&] {
    ++opened;
    callsBefore = view.Calls().size();
    for (int i = 0; i < 3; ++i) OnHookNotification(app);
    EXPECT_GT(view.Calls().size(), callsBefore) << "the nested reports tried their snapshots";
  });
  TakeSnapshot(app);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(host.Messages().size(), 1u);

  // Once it is closed, the next failure is told again.
  host.WhileMessageOpen(nullptr);
  TakeSnapshot(app);
  EXPECT_EQ(host.Messages().size(), 2u);
}

TEST_F(AutoLayout, WithoutAnApplicationDataFolderTheAutomaticStepsAreSkippedSilently) {
  const IconLayout stored = {{0, "Notes", 100, 50}};
  ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768).c_str(), stored), 1);
  host.SetAppDataKnown(false);
  settings.startAutoRestore = 1;
  settings.resolutionAutoRestore = 1;
  settings.resolutionAutoCapture = 1;
  OnStartupActions(app);
  OnHookNotification(app);
  OnDisplayChange(app);
  EXPECT_TRUE(view.Calls().empty()) << view.toString();
  EXPECT_TRUE(host.Messages().empty());
  EXPECT_TRUE(app.snapshots.snapshotKey.empty());
}

TEST_F(AutoLayout, CapturesAndRestoresAreCountedAsLayoutWorkWhileTheyRun) {
  settings.resolutionAutoCapture = 1;
  settings.resolutionAutoRestore = 1;
  ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768).c_str(), DesktopNow()), 1);
  int sawWork = 0;
  int reads = 0;
  view.BeforeTextRead([&](int) {
    ++reads;
    if (app.layoutWork > 0) ++sawWork;
  });
  TakeSnapshot(app);
  OnDisplayChange(app);
  EXPECT_GT(reads, 0);
  EXPECT_EQ(sawWork, reads);
  EXPECT_EQ(app.layoutWork, 0);
}

}  // namespace
