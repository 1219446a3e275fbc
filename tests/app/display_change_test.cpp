// The display change: the old snapshot written, the new layout restored once
// the shell is done, whatever arrives when.
#include "app/display_change.h"

#include "app/hook_report.h"
#include "app/layout_commands.h"
#include "tests/app/app_fixture.h"

namespace {

// LVM_SETITEMPOSITION, as the hook reports it.
constexpr std::uint64_t kSetItemPosition = 0x100F;

class DisplayChangeTest : public AppFixture {};

TEST_F(DisplayChangeTest, DisplayChangeWritesTheOldSnapshotRestoresTheNewFileAndSnapshotsAgain) {
  settings.resolutionAutoCapture = 1;
  settings.resolutionAutoRestore = 1;
  app.snapshots.TakeAndReport(app.Desktop());
  IconLayout at1024 = DesktopNow();
  IconLayout stored800 = {{0, "Mail", 300, 200}};
  ASSERT_EQ(SaveLayoutFile(host.PathFor(800, 600).c_str(), stored800), 1);

  // The shell rearranges the icons for the new screen before we hear of it.
  MoveIcon(0, 700, 10);
  ChangeResolution(800, 600);
  FinishDisplayChange();

  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), at1024))
      << "written:\n" << Describe(Stored(host.PathFor(1024, 768))) << "expected:\n" << Describe(at1024);
  EXPECT_EQ(view.Icons()[1].x, 300);
  EXPECT_EQ(view.Icons()[1].y, 200);
  EXPECT_EQ(app.snapshots.LatestPath(), host.PathFor(800, 600));
  EXPECT_TRUE(SameIcons(SnapshotOf(host.PathFor(800, 600)), DesktopNow()));
  EXPECT_EQ(app.snapshots.Snapshots().size(), 2u);
  EXPECT_EQ(app.layoutWork, 0);

  // And back: the 800x600 snapshot goes to its own file.
  IconLayout at800 = DesktopNow();
  ChangeResolution(1024, 768);
  FinishDisplayChange();
  EXPECT_TRUE(SameIcons(Stored(host.PathFor(800, 600)), at800));
}

// A primary of 1024 x 768 and a monitor of 800 x 600 beside it: top- and
// bottom-aligned, the desktop is 1824 x 768 either way, and each setup keeps
// its own file.  Seen for the first time, the bottom-aligned setup takes the
// top-aligned one's layout, each icon at its place on its own monitor; then
// the second monitor is detached and attached again.
TEST_F(DisplayChangeTest, EverySetupHasItsFileAndIconsFollowTheirMonitors) {
  const Monitor primary{"primary", 0, 0, 1024, 768, kPlainDpi, true};
  const DisplaySetup top{{primary, {"second", 1024, 0, 800, 600, kPlainDpi, false}}};
  const DisplaySetup bottom{{primary, {"second", 1024, 168, 800, 600, kPlainDpi, false}}};
  const DisplaySetup alone{{primary}};
  settings.resolutionAutoCapture = 1;
  settings.resolutionAutoRestore = 1;
  ChangeDisplays(top);
  FinishDisplayChange();
  const int onSecond = view.AddIcon("Second", 1100, 500);  // near the bottom of the shorter monitor
  app.snapshots.TakeAndReport(app.Desktop());
  const IconLayout atTop = DesktopNow();

  // The shell keeps the icon's desktop point, which now lies 168 pixels too
  // high on the lowered monitor.
  ChangeDisplays(bottom);
  FinishDisplayChange();
  EXPECT_TRUE(SameIcons(Stored(host.PathFor(top)), atTop)) << Describe(Stored(host.PathFor(top)));
  EXPECT_NE(host.PathFor(top), host.PathFor(bottom));
  EXPECT_EQ(view.Icons()[onSecond].x, 1100);
  EXPECT_EQ(view.Icons()[onSecond].y, 668) << "at its place on its monitor";
  EXPECT_EQ(view.Icons()[0].x, 10) << "the primary's icons stay";

  // Detached: the shell puts the second monitor's icon on the primary; it is
  // left there, and the rest is restored.
  MoveIcon(onSecond, 500, 500);
  ChangeDisplays(alone);
  FinishDisplayChange();
  EXPECT_EQ(view.Icons()[onSecond].x, 500);
  // Attached again, below as before: the icon goes back to its place on it.
  ChangeDisplays(bottom);
  FinishDisplayChange();
  EXPECT_EQ(view.Icons()[onSecond].x, 1100);
  EXPECT_EQ(view.Icons()[onSecond].y, 668);
}

// Auto arrange on: the shell lays the icons out itself.  The change restores
// nothing and takes no snapshot of the shell's order; the next change writes
// nothing over the new resolution's file.
TEST_F(DisplayChangeTest, ADesktopThatArrangesItselfIsNeitherRestoredNorSnapshot) {
  settings.resolutionAutoCapture = 1;
  settings.resolutionAutoRestore = 1;
  const IconLayout stored800 = {{0, "Mail", 300, 200}};
  ASSERT_EQ(SaveLayoutFile(host.PathFor(800, 600).c_str(), stored800), 1);
  const std::string before = ReadBytes(host.PathFor(800, 600));
  view.SetArranging(Arranging::kArranges);
  ChangeResolution(800, 600);
  FinishDisplayChange();
  EXPECT_TRUE(view.Moves().empty());
  EXPECT_EQ(SnapshotOf(host.PathFor(800, 600)).size(), 0u);
  app.snapshots.TakeAndReport(app.Desktop());  // a hook report, say
  ChangeResolution(1024, 768);
  FinishDisplayChange();
  EXPECT_EQ(ReadBytes(host.PathFor(800, 600)), before);
  EXPECT_TRUE(host.Messages().empty());
}

TEST_F(DisplayChangeTest, DisplayChangeWithCaptureOffWritesNothingAndKeepsTheKey) {
  settings.resolutionAutoCapture = 1;
  app.snapshots.TakeAndReport(app.Desktop());
  settings.resolutionAutoCapture = 0;
  display.OnDisplayChange(app);
  display.OnDisplayChange(app);
  EXPECT_FALSE(testfiles::Exists(host.PathFor(1024, 768)));
  EXPECT_EQ(app.snapshots.LatestPath(), host.PathFor(1024, 768));
}

TEST_F(DisplayChangeTest, AFailedSnapshotIsNeverWrittenOverTheStoredFile) {
  const std::string stored = host.PathFor(1024, 768);
  ASSERT_EQ(SaveLayoutFile(stored.c_str(), DesktopNow()), 1);
  const std::string before = ReadBytes(stored);
  settings.resolutionAutoCapture = 1;
  app.snapshots.TakeAndReport(app.Desktop());  // a good snapshot first
  view.SetPresent(false);
  app.snapshots.TakeAndReport(app.Desktop());  // then the shell goes away
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text, static_cast<unsigned>(IDS_CAPTURE_FAILED));
  EXPECT_EQ(host.Messages()[0].caption, static_cast<unsigned>(IDS_ERROR_CAPTION));

  ChangeResolution(800, 600);
  FinishDisplayChange();

  EXPECT_EQ(ReadBytes(stored), before);
  EXPECT_TRUE(app.snapshots.LatestPath().empty() || app.snapshots.LatestPath() == host.PathFor(800, 600));
}

TEST_F(DisplayChangeTest, ASnapshotAfterAFailureIsWrittenAgain) {
  settings.resolutionAutoCapture = 1;
  view.SetPresent(false);
  app.snapshots.TakeAndReport(app.Desktop());
  view.SetPresent(true);
  app.snapshots.TakeAndReport(app.Desktop());
  const IconLayout at1024 = DesktopNow();
  ChangeResolution(800, 600);
  FinishDisplayChange();
  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), at1024));
}

TEST_F(DisplayChangeTest, CapturesAndRestoresAreCountedAsLayoutWorkWhileTheyRun) {
  settings.resolutionAutoCapture = 1;
  settings.resolutionAutoRestore = 1;
  ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768).c_str(), DesktopNow()), 1);
  int sawWork = 0;
  int reads = 0;
  view.BeforeTextRead([&](int) {
    ++reads;
    if (app.layoutWork > 0) ++sawWork;
  });
  app.snapshots.TakeAndReport(app.Desktop());
  ChangeResolution(800, 600);
  FinishDisplayChange();
  EXPECT_GT(reads, 0);
  EXPECT_EQ(sawWork, reads);
  EXPECT_EQ(app.layoutWork, 0);
}

// The resolution changes in the middle of a menu restore; the restore's moves
// are reported afterwards, as the hook posts them.  The old resolution's file
// gets the snapshot from before the change, and nothing of the new resolution
// is written.
TEST_F(DisplayChangeTest, AChangeDuringARestoreWritesTheSnapshotFromBeforeIt) {
  settings.resolutionAutoCapture = 1;
  app.snapshots.TakeAndReport(app.Desktop());
  const IconLayout before = DesktopNow();
  ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768).c_str(), IconLayout{{0, "Notes", 600, 600}, {1, "Mail", 700, 600}}), 1);
  const std::string stored1024 = ReadBytes(host.PathFor(1024, 768));
  bool changed = false;
  view.AfterMove([&](int) {
    if (changed) return;
    changed = true;
    ChangeResolution(800, 600);  // delivered while the restore awaits the shell
    for (int i = 0; i < 3; ++i) host.QueueReport(kSetItemPosition, 0);
  });
  RestoreDefaultLayout(app);
  view.AfterMove(nullptr);
  ASSERT_TRUE(changed);
  OnHookNotification(app);  // the reports of the restore's moves
  FinishDisplayChange();

  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), before))
      << "written:\n" << Describe(Stored(host.PathFor(1024, 768))) << "taken before the change:\n" << Describe(before);
  EXPECT_NE(ReadBytes(host.PathFor(1024, 768)), stored1024);
  EXPECT_FALSE(testfiles::Exists(host.PathFor(800, 600)));
  EXPECT_EQ(app.snapshots.LatestPath(), host.PathFor(800, 600));
  EXPECT_TRUE(SameIcons(SnapshotOf(host.PathFor(800, 600)), DesktopNow()));
}

// 1024x768 -> 800x600 -> 1024x768 before the shell is done: the old snapshot
// is written once, and the layout restored is the one of the resolution in
// force at the end.
TEST_F(DisplayChangeTest, ChangesInARowWriteTheOldSnapshotOnceAndRestoreTheLastResolution) {
  settings.resolutionAutoCapture = 1;
  settings.resolutionAutoRestore = 1;
  app.snapshots.TakeAndReport(app.Desktop());
  const IconLayout before = DesktopNow();
  ASSERT_EQ(SaveLayoutFile(host.PathFor(800, 600).c_str(), IconLayout{{0, "Notes", 300, 300}}), 1);
  const std::string stored800 = ReadBytes(host.PathFor(800, 600));

  ChangeResolution(800, 600);
  MoveIcon(0, 500, 20);  // the shell lays the desktop out for 800x600
  RunTimers(300);
  MoveIcon(1, 500, 120);
  ChangeResolution(1024, 768);
  MoveIcon(2, 900, 20);  // and again for 1024x768
  FinishDisplayChange();

  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), before)) << Describe(Stored(host.PathFor(1024, 768)));
  EXPECT_EQ(ReadBytes(host.PathFor(800, 600)), stored800);
  EXPECT_TRUE(SameIcons(DesktopNow(), before)) << view.toString();
  EXPECT_EQ(app.snapshots.LatestPath(), host.PathFor(1024, 768));
}

// The capture-failure box runs a modal loop; a display change delivered in it
// is carried out there.  The failed snapshot is not written, the new one is
// taken, and no second box opens on top of the first.
TEST_F(DisplayChangeTest, AChangeWhileTheFailureMessageIsOpenIsCarriedOut) {
  settings.resolutionAutoCapture = 1;
  ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768).c_str(), IconLayout{{0, "Notes", 600, 600}}), 1);
  const std::string stored1024 = ReadBytes(host.PathFor(1024, 768));
  app.snapshots.TakeAndReport(app.Desktop());
  view.SetPresent(false);
  host.WhileMessageOpen([&] {
    view.SetPresent(true);
    ChangeResolution(800, 600);
    FinishDisplayChange();
  });
  app.snapshots.TakeAndReport(app.Desktop());

  EXPECT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(ReadBytes(host.PathFor(1024, 768)), stored1024);
  EXPECT_EQ(app.snapshots.LatestPath(), host.PathFor(800, 600));
  EXPECT_TRUE(SameIcons(SnapshotOf(host.PathFor(800, 600)), DesktopNow()));
}

// The restore waits until the shell's view has the new size and the icons
// have stood still for the quiet time, or until the bound has passed.
TEST_F(DisplayChangeTest, TheRestoreWaitsUntilTheShellHasLaidTheDesktopOut) {
  struct Case {
    const char* what;
    std::uint64_t viewResizedAfter;  // ms after the change
    std::uint64_t shellMovesFor;     // ms after the change; 0: not at all
    std::uint64_t earliest;          // the first restore move, ms after the change
    std::uint64_t latest;
  };
  constexpr std::uint64_t kNever = 1u << 30;
  const Case cases[] = {
      {"the shell is done at once", 0, 0, kQuietMs, kQuietMs + 2 * kDisplayChangeTickMs},
      {"the view takes a second to grow", 1000, 0, 1000 + kQuietMs - kDisplayChangeTickMs,
       1000 + kQuietMs + kDisplayChangeTickMs},
      {"the shell arranges for two seconds", 0, 2000, 2000 + kQuietMs, 2000 + kQuietMs + 2 * kDisplayChangeTickMs},
      {"the shell never comes to rest", 0, kNever, kSettleBoundMs, kSettleBoundMs + kDisplayChangeTickMs},
      {"the view never grows", kNever, 0, kSettleBoundMs, kSettleBoundMs + kDisplayChangeTickMs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryDesktopView desktop;
    for (int i = 0; i < 6; ++i) desktop.AddIcon("icon" + std::to_string(i), 20, 20 + 80 * i);
    FakeAppHost clock(folder.Path());
    AppState state(desktop, settings, clock);
    DisplayChange change;
    settings.resolutionAutoRestore = 1;
    ASSERT_EQ(SaveLayoutFile(clock.PathFor(800, 600).c_str(), IconLayout{{0, "icon0", 400, 20}}), 1);

    clock.SetResolution(800, 600);
    change.OnDisplayChange(state);
    const std::uint64_t changedAt = clock.NowMs();
    std::uint64_t firstRestoreMove = 0;
    bool shellMoving = false;
    desktop.AfterMove([&](int) {
      if (!shellMoving && firstRestoreMove == 0) firstRestoreMove = clock.NowMs() - changedAt;
    });
    for (int step = 0; step < 1200 && change.UnderWay(); ++step) {
      const std::uint64_t since = clock.NowMs() - changedAt;
      if (since >= c.viewResizedAfter) desktop.SetViewSize(800, 600);
      if (since < c.shellMovesFor) {
        shellMoving = true;
        desktop.SetItemPosition(5, 20 + static_cast<int>(since % 300), 500);
        shellMoving = false;
      }
      clock.Advance(kStepMs);
      clock.RunDueTimers([&](unsigned id) {
        if (id == kDisplayChangeTimer) change.OnTimer(state);
      });
    }
    EXPECT_FALSE(change.UnderWay());
    EXPECT_GE(firstRestoreMove, c.earliest);
    EXPECT_LE(firstRestoreMove, c.latest);
    settings.resolutionAutoRestore = 0;
  }
}

// The shell moves restored icons once more after the restore (as it finishes
// its own arrangement late): they are restored again.
TEST_F(DisplayChangeTest, IconsTheShellMovesAfterTheRestoreAreRestoredAgain) {
  settings.resolutionAutoRestore = 1;
  const IconLayout stored800 = {{0, "Notes", 400, 20}, {1, "Mail", 400, 100}, {2, "ごみ箱", 400, 180}};
  ASSERT_EQ(SaveLayoutFile(host.PathFor(800, 600).c_str(), stored800), 1);
  int restoreMoves = 0;
  bool shellMoving = false;
  view.AfterMove([&](int) {
    if (!shellMoving) ++restoreMoves;
  });
  ChangeResolution(800, 600);
  bool pushedAside = false;
  RunTimers(20000, [&] {
    if (restoreMoves > 0 && !pushedAside) {
      pushedAside = true;
      shellMoving = true;
      view.SetItemPosition(1, 20, 20);
      shellMoving = false;
    }
  });
  EXPECT_TRUE(pushedAside);
  EXPECT_FALSE(display.UnderWay());
  IconLayout expected = stored800;
  SortByPosition(expected);
  EXPECT_TRUE(SameIcons(DesktopNow(), expected)) << view.toString();
}

// 100 % -> 150 %: the same size at another scale has a layout file of its
// own, and the change is followed as a change of resolution.  A change of
// another setting is not.
TEST_F(DisplayChangeTest, AChangeOfScaleIsFollowedAsAChangeOfResolution) {
  settings.resolutionAutoCapture = 1;
  settings.resolutionAutoRestore = 1;
  app.snapshots.TakeAndReport(app.Desktop());
  const IconLayout at100 = DesktopNow();
  ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768, 144).c_str(), IconLayout{{0, "Mail", 300, 200}}), 1);

  display.OnScaleMayHaveChanged(app);
  EXPECT_FALSE(display.UnderWay()) << "the scale did not change";
  MoveIcon(0, 700, 10);  // the shell lays the desktop out anew
  host.SetScale(144);
  display.OnScaleMayHaveChanged(app);
  FinishDisplayChange();

  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), at100)) << Describe(Stored(host.PathFor(1024, 768)));
  EXPECT_EQ(view.Icons()[1].x, 300);
  EXPECT_EQ(view.Icons()[1].y, 200);
  EXPECT_EQ(app.snapshots.LatestPath(), host.PathFor(1024, 768, 144));
}

}  // namespace

namespace {

// The desktop disturbed without a change of setup that Tessaly heard of: the
// shell started again, showing the places it stored for itself (after a
// while with an empty view), or the desktop back from sleep or from another
// session, the shell having moved icons meanwhile.  With the automatic
// restore on, the icons go back where the user had them: to the latest
// snapshot, or without one (capture off) after a new shell to the file; the
// snapshot from before is what comes back, not the new shell's arrangement.
// With it off, the snapshot follows the desktop as it now is.  Back with
// another setup than the one last seen, the return is a display change.
TEST_F(DisplayChangeTest, ANewShellOrAReturnPutsTheIconsBackWhereTheUserHadThem) {
  enum class Event { kShellRestart, kReturn, kReturnOnAnotherSetup };
  struct Case {
    const char* what;
    Event event;
    bool restore;
    bool capture;
    enum { kSnapshot, kFile, kAsTheShellLeftThem } expected;
  } cases[] = {
      {"a new shell, restore and capture on", Event::kShellRestart, true, true, Case::kSnapshot},
      {"a new shell, restore on, capture off", Event::kShellRestart, true, false, Case::kFile},
      {"a new shell, restore off", Event::kShellRestart, false, true, Case::kAsTheShellLeftThem},
      {"back from sleep, restore and capture on", Event::kReturn, true, true, Case::kSnapshot},
      {"back from sleep, restore off", Event::kReturn, false, true, Case::kAsTheShellLeftThem},
      {"back on another setup", Event::kReturnOnAnotherSetup, true, true, Case::kFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AppState state(view, settings, host);
    DisplayChange change;
    // The main window's timer of this change, for `ms`.
    const auto run = [&](std::uint64_t ms) {
      for (std::uint64_t passed = 0; passed < ms && change.UnderWay(); passed += kStepMs) {
        host.Advance(kStepMs);
        host.RunDueTimers([&](unsigned id) {
          if (id == kDisplayChangeTimer) change.OnTimer(state);
        });
      }
    };
    view.SetViewSize(1024, 768);
    host.SetResolution(1024, 768);
    for (int i = 0; i < 3; ++i) MoveIcon(i, 10 + 100 * i, 10);
    settings.resolutionAutoRestore = c.restore;
    settings.resolutionAutoCapture = c.capture;
    state.snapshots.SetSeenTag(host.ResolutionTag());
    if (c.capture) state.snapshots.TakeAndReport(state.Desktop());
    const IconLayout users = DesktopNow();
    const IconLayout inFile = {{0, "Notes", 400, 400}, {1, "Mail", 500, 400}, {2, "ごみ箱", 600, 400}};
    ASSERT_EQ(SaveLayoutFile(host.PathFor(1024, 768).c_str(), inFile), 1);
    ASSERT_EQ(SaveLayoutFile(host.PathFor(800, 600).c_str(), inFile), 1);

    bool followed = false;
    if (c.event == Event::kShellRestart) {
      // The shell ends; the new one shows nothing for two seconds, then its
      // own places.
      const std::vector<MemoryDesktopView::Icon> icons = view.Icons();
      view.SetPresent(false);
      while (!view.Icons().empty()) view.RemoveIcon(0);
      view.SetPresent(true);
      followed = change.OnShellRestarted(state);
      run(2000);
      for (size_t i = 0; i < icons.size(); ++i) view.AddIcon(icons[i].name, 300, 100 + 80 * static_cast<int>(i));
    } else {
      for (int i = 0; i < 3; ++i) MoveIcon(i, 300, 100 + 80 * i);
      if (c.event == Event::kReturnOnAnotherSetup) {
        host.SetResolution(800, 600);
        view.SetViewSize(800, 600);
      }
      followed = change.OnReturn(state);
    }
    const IconLayout left = DesktopNow();
    EXPECT_EQ(followed, c.restore || (c.event == Event::kShellRestart && c.capture));
    run(2 * kShellSettleBoundMs);  // the longest wait of the follow-up, twice
    ASSERT_FALSE(change.UnderWay());
    const IconLayout expected = c.expected == Case::kSnapshot ? users : c.expected == Case::kFile ? inFile : left;
    EXPECT_TRUE(SameIcons(DesktopNow(), expected)) << Describe(DesktopNow());
    if (c.capture && followed) {  // else the watch on the desktop looks (desktop_watch_test.cpp)
      std::string path;
      ASSERT_TRUE(host.DefaultLayoutPath(path));
      ASSERT_EQ(state.snapshots.Snapshots().count(path), 1u);
      EXPECT_TRUE(SameIcons(state.snapshots.Snapshots().at(path).layout, DesktopNow())) << "the snapshot follows";
    }
    if (c.event == Event::kReturnOnAnotherSetup) {
      EXPECT_TRUE(SameIcons(Stored(host.PathFor(1024, 768)), users)) << "the setup left has its snapshot";
    }
    EXPECT_TRUE(host.Messages().empty());
  }
}

}  // namespace
