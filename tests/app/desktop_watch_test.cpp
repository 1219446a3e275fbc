#include "app/desktop_watch.h"

#include "app/automatic_options.h"
#include "tests/app/app_fixture.h"

namespace {

// By the watch's rule, a look comes this long after the input ends at the
// latest: the input is read once a poll, the desktop must stand still, the
// look before is kLookSpacingMs ago at least (a look costs nothing on this
// clock), at the next tick.
constexpr std::uint64_t kLookAfterSignMs = kInputPollMs + kStillMs + kLookSpacingMs + kLookTickMs;

class DesktopWatchTest : public AppFixture {
 protected:
  // Tessaly runs with the automatic save on, its first snapshot taken.
  void StartFollowing() {
    settings.resolutionAutoCapture = 1;
    OnStartupActions(app, look);
    view.ClearCalls();
  }
  // The user's input, which the host reports when the watch waits for it.
  void Input(bool onDesktop) {
    host.GiveInput(onDesktop);
    if (host.WakingOnInput()) look.OnInputArrived(app);
  }
  // The user drags for `ms` with the desktop in front (or another window),
  // the icon following the pointer; the drop is at (x, y).
  void Drag(int index, int x, int y, std::uint64_t ms, bool onDesktop = true) {
    for (std::uint64_t passed = 0; passed < ms; passed += 100) {
      Input(onDesktop);
      MoveIcon(index, x - static_cast<int>(ms - passed) / 10, y);
      RunTimers(100);
    }
    MoveIcon(index, x, y);
    Input(onDesktop);
  }
};

// Nobody at the desktop: after the first snapshot nothing reaches the
// shell, however long the program runs, and no look is due; where the host
// can report the next input, no timer runs either.
TEST_F(DesktopWatchTest, AtRestNothingReachesTheShell) {
  for (bool wakes : {true, false}) {
    SCOPED_TRACE(wakes ? "the host reports input" : "the input is read all along");
    host.SetWakesOnInput(wakes);
    StartFollowing();
    ASSERT_TRUE(host.TimerRunning(kInputPollTimer));
    EXPECT_TRUE(host.WatchingFolders());
    RunTimers(10 * 60 * 1000);
    EXPECT_TRUE(view.Calls().empty()) << view.Calls().size() << " calls";
    EXPECT_FALSE(host.TimerRunning(kLookTimer));
    EXPECT_EQ(host.TimerRunning(kInputPollTimer), !wakes);
    EXPECT_EQ(host.WakingOnInput(), wakes);
    settings.resolutionAutoCapture = 0;
    OnSettingsApplied(app, look);
    EXPECT_FALSE(host.WakingOnInput());
  }
}

// The signs that something may have moved, each followed by the desktop as it
// stands once they have stopped: as soon as the rule allows after the drop or
// the folder's change (kLookAfterSignMs), and not before the drag has ended.  Input to another window in
// front is no sign; the hook hears nothing of any of these.
TEST_F(DesktopWatchTest, EachSignBringsTheSnapshotUpToDateOnceTheDesktopStandsStill) {
  struct Case {
    const char* what;
    bool onDesktop;  // the input goes to the desktop
    bool folder;     // a file appears in the Desktop folder instead
    bool followed;
  } cases[] = {
      {"a drag on the desktop", true, false, true},
      {"typing in another window", false, false, false},
      {"a file copied to the Desktop folder", false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    host.GiveInput(c.onDesktop);  // the window in front before the program starts
    StartFollowing();
    RunTimers(kInputRestMs + 5000);  // nobody there for a while first
    const std::string key = host.PathFor(1024, 768);
    const IconLayout before = DesktopNow();
    if (c.folder) {
      // The new icon takes the place of one the user moved away meanwhile.
      MoveIcon(0, 500, 500);
      view.AddIcon("見積書.xls", 10, 10);
      look.OnFolderChange(app);
      RunTimers(200);
      look.OnFolderChange(app);  // the copy goes on
    } else {
      Drag(1, 640, 480, 1500, c.onDesktop);
      EXPECT_TRUE(view.Calls().empty()) << "no look during the drag";
    }
    RunTimers(kLookAfterSignMs);
    EXPECT_TRUE(SameIcons(SnapshotOf(key), c.followed ? DesktopNow() : before)) << Describe(SnapshotOf(key));
    view.ClearCalls();
    RunTimers(60000);
    EXPECT_TRUE(view.Calls().empty()) << "one look for one sign";
    settings.resolutionAutoCapture = 0;
    OnSettingsApplied(app, look);
    EXPECT_FALSE(host.TimerRunning(kInputPollTimer));
    EXPECT_FALSE(host.WatchingFolders());
    MoveIcon(1, 100, 50);
  }
}

// The screen has changed but its WM_DISPLAYCHANGE has not come yet: a look
// leaves the snapshot of the old resolution as it is, and the change writes
// the icon where the user put it before.
TEST_F(DesktopWatchTest, ALookBeforeTheDisplayChangeArrivesLeavesTheOldSnapshot) {
  StartFollowing();
  const std::string key = host.PathFor(1024, 768);
  Drag(2, 640, 480, 300);
  RunTimers(kLookAfterSignMs);
  const IconLayout at1024 = DesktopNow();
  ASSERT_TRUE(SameIcons(SnapshotOf(key), at1024)) << Describe(SnapshotOf(key));
  host.SetResolution(800, 600);
  Drag(0, 700, 20, 300);
  RunTimers(kLookAfterSignMs);
  EXPECT_TRUE(SameIcons(SnapshotOf(key), at1024));
  EXPECT_EQ(app.snapshots.Snapshots().count(host.PathFor(800, 600)), 0u);
  view.SetViewSize(800, 600);
  display.OnDisplayChange(app);
  FinishDisplayChange();
  EXPECT_TRUE(SameIcons(Stored(key), at1024)) << Describe(Stored(key));
}

// A shell that does not answer is asked again a few times, not for ever.
TEST_F(DesktopWatchTest, LooksAtAShellThatIsGoneStop) {
  StartFollowing();
  view.SetPresent(false);
  Drag(0, 300, 300, 300);
  RunTimers(60000);
  const size_t asked = view.Calls().size();
  EXPECT_GT(asked, 0u);
  EXPECT_FALSE(host.TimerRunning(kLookTimer));
  RunTimers(60000);
  EXPECT_EQ(view.Calls().size(), asked);
  EXPECT_TRUE(host.Messages().empty()) << "a look is silent";
}

}  // namespace
