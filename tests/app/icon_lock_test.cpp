#include "app/icon_lock.h"

#include "app/automatic_options.h"
#include "app/layout_commands.h"
#include "app/undo.h"
#include "engine/layout_history.h"
#include "resources/resource.h"
#include "tests/app/app_fixture.h"

namespace {

struct Place {
  const char* name;
  int x;
  int y;
};

IconLayout LayoutOf(std::initializer_list<Place> places) {
  IconLayout layout;
  for (const Place& p : places) {
    IconEntry entry;
    entry.name = p.name;
    entry.x = p.x;
    entry.y = p.y;
    layout.push_back(entry);
  }
  SortByPosition(layout);
  return layout;
}

class IconLockTest : public AppFixture {
 protected:
  // Tessaly runs with the lock on (the automatic options off), the desktop
  // of the fixture held.
  void Lock() {
    OnStartupActions(app, look);
    ASSERT_TRUE(SetLock(app, look, true));
    view.ClearCalls();
  }
  // Something may have moved: the watch looks once the desktop stands still.
  void Sign(bool namesToo) {
    look.OnSign(app, namesToo);
    RunTimers(3000);
  }
  int IndexOf(const std::string& name) const {
    for (size_t i = 0; i < view.Icons().size(); ++i) {
      if (view.Icons()[i].name == name) return static_cast<int>(i);
    }
    return -1;
  }
  void Move(const std::string& name, int x, int y) { MoveIcon(IndexOf(name), x, y); }
  void Remove(const std::string& name) { view.RemoveIcon(IndexOf(name)); }
  std::string HeldFile() { return host.PathFor(1024, 768); }
};

// The held layout as icons come, go, are moved and renamed, and the desktop
// each case ends with: the fixture's desktop is Notes (10, 10), Mail (100, 50)
// and ごみ箱 (20, 300).  The setup's file holds what is held.
TEST_F(IconLockTest, HeldLayout) {
  struct Case {
    const char* what;
    std::function<void()> change;
    IconLayout expected;  // the desktop at the end, and what the file holds
  } cases[] = {
      {"an icon dragged goes back",
       [this] {
         Move("Mail", 500, 500);
         Sign(false);
       },
       LayoutOf({{"Notes", 10, 10}, {"Mail", 100, 50}, {"ごみ箱", 20, 300}})},
      {"every icon the shell's arrangement moved goes back",
       [this] {
         Move("Mail", 10, 10);
         Move("Notes", 10, 100);
         Move("ごみ箱", 10, 190);
         Sign(false);
       },
       LayoutOf({{"Notes", 10, 10}, {"Mail", 100, 50}, {"ごみ箱", 20, 300}})},
      {"an icon added stays where the shell put it, and goes back there when dragged",
       [this] {
         view.AddIcon("見積書.xls", 200, 200);
         Sign(true);
         Move("見積書.xls", 600, 600);
         Sign(false);
       },
       LayoutOf({{"Notes", 10, 10}, {"Mail", 100, 50}, {"ごみ箱", 20, 300}, {"見積書.xls", 200, 200}})},
      {"an icon removed and added again goes back to its place",
       [this] {
         Remove("Mail");
         Sign(true);
         view.AddIcon("Mail", 700, 700);
         Sign(true);
       },
       LayoutOf({{"Notes", 10, 10}, {"Mail", 100, 50}, {"ごみ箱", 20, 300}})},
      {"an icon removed whose place another took stays where it comes back",
       [this] {
         Remove("Mail");
         Sign(true);
         view.AddIcon("見積書.xls", 100, 50);
         Sign(true);
         view.AddIcon("Mail", 700, 700);
         Sign(true);
       },
       LayoutOf({{"Notes", 10, 10}, {"見積書.xls", 100, 50}, {"ごみ箱", 20, 300}, {"Mail", 700, 700}})},
      {"an icon renamed in place keeps its place under its new name",
       [this] {
         Remove("Notes");
         view.AddIcon("Notes 2", 10, 10);
         Sign(true);
         Move("Notes 2", 400, 400);
         Sign(false);
         view.AddIcon("Notes", 800, 10);  // a new icon of the old name is new
         Sign(true);
       },
       LayoutOf({{"Notes 2", 10, 10}, {"Mail", 100, 50}, {"ごみ箱", 20, 300}, {"Notes", 800, 10}})},
      {"a Save while locked holds the new layout",
       [this] {
         Move("Mail", 500, 500);
         SaveDefaultLayout(app);
         Sign(false);
         Move("Mail", 600, 100);
         Sign(false);
       },
       LayoutOf({{"Notes", 10, 10}, {"Mail", 500, 500}, {"ごみ箱", 20, 300}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Lock();
    c.change();
    EXPECT_TRUE(SameIcons(DesktopNow(), c.expected)) << Describe(DesktopNow());
    EXPECT_TRUE(SameIcons(app.lock.Held(), c.expected)) << Describe(app.lock.Held());
    EXPECT_TRUE(SameIcons(Stored(HeldFile()), c.expected)) << Describe(Stored(HeldFile()));
    EXPECT_TRUE(host.Messages().empty());
    EXPECT_TRUE(host.Balloons().empty());
    // The next case starts from the fixture's desktop.
    ASSERT_TRUE(SetLock(app, look, false));
    while (!view.Icons().empty()) view.RemoveIcon(0);
    SetUp();
  }
}

// Turning the lock on saves the desktop as Save does, the file it replaces
// kept; the tray icon shows it; a put-back keeps no undo and no history; at
// rest nothing asks the shell.  Turned off, a drag stays.
TEST_F(IconLockTest, TurningOnSavesAndAPutBackLeavesNoTrace) {
  ASSERT_EQ(SaveLayoutFile(HeldFile().c_str(), LayoutOf({{"Notes", 1, 1}}), host.Displays()), 1);
  Lock();
  EXPECT_TRUE(host.LockShown());
  EXPECT_TRUE(look.Following()) << "the lock follows the desktop with the automatic save off";
  EXPECT_TRUE(SameIcons(Stored(HeldFile()), DesktopNow()));
  EXPECT_EQ(ListKeptLayouts(HeldFile()).size(), 2u) << "the history keeps the file the lock replaced";
  Move("Mail", 500, 500);
  Sign(false);
  EXPECT_EQ(ListKeptLayouts(HeldFile()).size(), 2u) << "a put-back writes no history";
  EXPECT_FALSE(CanUndo(app)) << "a put-back is no undo entry";
  view.ClearCalls();
  RunTimers(10 * 60 * 1000);
  EXPECT_TRUE(view.Calls().empty()) << view.toString();
  EXPECT_FALSE(host.TimerRunning(kLookTimer));

  ASSERT_TRUE(SetLock(app, look, false));
  EXPECT_FALSE(host.LockShown());
  EXPECT_FALSE(look.Following());
  Move("Mail", 500, 500);
  look.OnSign(app, false);
  RunTimers(3000);
  EXPECT_EQ(view.Icons()[IndexOf("Mail")].x, 500);
}

// The desktop could not be read as the lock came on: the lock is on all the
// same, and its first look holds the desktop and writes it as turning on
// would have, the file it replaces kept.
TEST_F(IconLockTest, ALockThatCouldNotSaveSavesAtItsFirstLook) {
  ASSERT_EQ(SaveLayoutFile(HeldFile().c_str(), LayoutOf({{"Notes", 1, 1}}), host.Displays()), 1);
  OnStartupActions(app, look);
  view.SetPresent(false);
  EXPECT_FALSE(SetLock(app, look, true));
  EXPECT_TRUE(app.lock.On());
  EXPECT_EQ(ListKeptLayouts(HeldFile()).size(), 1u);
  view.SetPresent(true);
  Sign(true);
  EXPECT_TRUE(SameIcons(Stored(HeldFile()), DesktopNow())) << Describe(Stored(HeldFile()));
  EXPECT_EQ(ListKeptLayouts(HeldFile()).size(), 2u) << "the history keeps the file the lock replaced";
}

// Tessaly started with the lock on puts the held layout back (the icons
// moved while it was not running) and holds it.
TEST_F(IconLockTest, AtStartUpTheHeldLayoutComesBack) {
  const IconLayout held = DesktopNow();
  ASSERT_EQ(SaveLayoutFile(HeldFile().c_str(), held, host.Displays()), 1);
  Move("Notes", 300, 300);
  settings.lockIcons = 1;
  OnStartupActions(app, look);
  EXPECT_TRUE(SameIcons(DesktopNow(), held)) << Describe(DesktopNow());
  Move("Mail", 600, 600);
  Sign(false);
  EXPECT_TRUE(SameIcons(DesktopNow(), held)) << Describe(DesktopNow());
}

// A display change while locked: the new setup's layout is put back and held
// whatever the automatic options say; the old setup's held layout stays in
// its file, and comes back with that setup.  No undo is kept.
TEST_F(IconLockTest, EachSetupItsHeldLayout) {
  const IconLayout at1024 = DesktopNow();
  const IconLayout at800 = LayoutOf({{"Notes", 10, 10}, {"Mail", 700, 500}, {"ごみ箱", 20, 300}});
  ASSERT_EQ(SaveLayoutFile(host.PathFor(800, 600).c_str(), at800, SingleMonitorSetup({800, 600})), 1);
  Lock();
  ChangeResolution(800, 600);
  Move("Mail", 50, 50);  // the shell lays the desktop out for the new size
  FinishDisplayChange();
  EXPECT_TRUE(SameIcons(DesktopNow(), at800)) << Describe(DesktopNow());
  Move("Notes", 400, 400);
  Sign(false);
  EXPECT_TRUE(SameIcons(DesktopNow(), at800)) << Describe(DesktopNow());

  ChangeResolution(1024, 768);
  Move("Mail", 10, 100);
  FinishDisplayChange();
  EXPECT_TRUE(SameIcons(DesktopNow(), at1024)) << Describe(DesktopNow());
  EXPECT_TRUE(SameIcons(Stored(HeldFile()), at1024)) << Describe(Stored(HeldFile()));
  EXPECT_TRUE(SameIcons(Stored(host.PathFor(800, 600)), at800));
  EXPECT_FALSE(CanUndo(app)) << "without the automatic restore, the lock keeps no undo";

  // A setup seen for the first time holds the nearest setup's layout, and
  // its file takes it.
  ChangeResolution(1280, 1024);
  FinishDisplayChange();
  const IconLayout at1280 = DesktopNow();
  Move("Notes", 900, 900);
  Sign(false);
  EXPECT_TRUE(SameIcons(DesktopNow(), at1280)) << Describe(DesktopNow());
  EXPECT_TRUE(SameIcons(Stored(host.PathFor(1280, 1024)), at1280));
}

// The shell moves the same icon back after every put-back (the put-back reads
// it back elsewhere, and looks again without waiting for a sign): three
// put-backs in a row, then the lock rests for a minute, told once, and after
// it holds again at the next sign.  With Auto arrange on nothing is moved, told once,
// until the shell no longer arranges.
TEST_F(IconLockTest, NoFightWithTheShell) {
  Lock();
  bool shellMoves = true;
  bool moving = false;
  view.AfterMove([&](int index) {
    if (!shellMoves || moving || view.Icons()[index].name != "Mail") return;
    moving = true;
    view.SetItemPosition(index, 500, 500);
    moving = false;
  });
  Move("Mail", 500, 500);
  Sign(false);
  RunTimers(20000);
  EXPECT_EQ(view.Moves().size(), 2u * kMaxPutBacks) << view.toString();
  EXPECT_EQ(app.lock.State(), LockState::kResting);
  EXPECT_EQ(LockMenuText(app.lock.State()), static_cast<unsigned>(IDS_LOCK_MENU_RESTING));
  ASSERT_EQ(host.Balloons().size(), 1u);
  EXPECT_EQ(host.Balloons()[0], static_cast<unsigned>(IDS_LOCK_RESTING));

  shellMoves = false;
  RunTimers(kRestMs);
  Sign(false);
  EXPECT_EQ(view.Icons()[IndexOf("Mail")].x, 100);
  EXPECT_EQ(app.lock.State(), LockState::kHolding);

  view.SetArranging(Arranging::kArranges);
  view.ClearCalls();
  Move("Notes", 300, 300);
  Sign(false);
  Sign(true);
  EXPECT_TRUE(view.Moves().empty()) << view.toString();
  EXPECT_EQ(app.lock.State(), LockState::kShellArranges);
  EXPECT_EQ(LockMenuText(app.lock.State()), static_cast<unsigned>(IDS_LOCK_MENU_ARRANGES));
  ASSERT_EQ(host.Balloons().size(), 2u);
  EXPECT_EQ(host.Balloons()[1], static_cast<unsigned>(IDS_LOCK_SHELL_ARRANGES));

  view.SetArranging(Arranging::kKeepsPlaces);
  Sign(false);
  EXPECT_EQ(view.Icons()[IndexOf("Notes")].x, 10);
  EXPECT_EQ(app.lock.State(), LockState::kHolding);
  EXPECT_EQ(host.Balloons().size(), 2u);
}

}  // namespace
