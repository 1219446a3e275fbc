// The engine against the test desktop in its own process, as it meets the
// shell: found by the lookup, read across processes, moved by messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "engine/capture.h"
#include "engine/desktop_icon_view.h"
#include "engine/displays.h"
#include "engine/restore.h"
#include "tests/support/test_desktop_client.h"

namespace {

using testsupport::DesktopIcon;
using testsupport::TestDesktop;

std::vector<DesktopIcon> ToIcons(const IconLayout& layout) {
  std::vector<DesktopIcon> icons;
  for (const IconEntry& e : layout) icons.push_back({e.name, e.x, e.y});
  return icons;
}

// Runs first, in a process that has never seen a desktop: nothing to find
// and nothing remembered.
TEST(ShellView, NoDesktopAtAllFailsCaptureAndRestore) {
  ASSERT_EQ(TestDesktop::FindView(), nullptr) << "another desktop is running";
  EXPECT_EQ(FindDesktopListView(), nullptr);
  IconLayout layout = {{0, "old", 1, 2}};
  EXPECT_EQ(CaptureIconLayout(layout), -1);
  EXPECT_TRUE(layout.empty());
  IconLayout stored = {{0, "a", 1, 1}};
  EXPECT_EQ(RestoreIconLayout(stored), -1);
}

// Names are read whole, up to their NUL, whatever count the view answers
// with: one that counts characters, not bytes, or answers 0, cuts no
// double-byte name short.
TEST(ShellView, CapturesNamesAndPlacesInPositionOrder) {
  const std::string longName(2046, 'n');
  const std::string japanese = "ごみ箱";
  for (const char* behaviour : {"", "fault charcount on", "fault nocount on"}) {
    SCOPED_TRACE(behaviour);
    TestDesktop desktop;
    ASSERT_TRUE(desktop.Start({{"b", 10, 200}, {"a", 10, 100}, {"c", 5, 400}, {japanese, 300, 20},
                               {"a", 200, 20}, {longName, 400, 300}}));
    if (*behaviour) {
      ASSERT_TRUE(desktop.Command(behaviour));
    }
    IconLayout layout;
    ASSERT_EQ(CaptureIconLayout(layout), 0);
    const std::vector<DesktopIcon> expected = {{"c", 5, 400},     {"a", 10, 100},      {"b", 10, 200},
                                               {"a", 200, 20},    {japanese, 300, 20}, {longName, 400, 300}};
    EXPECT_EQ(ToIcons(layout), expected) << testsupport::ToString(ToIcons(layout));
    ASSERT_EQ(layout.size(), 6u);
    EXPECT_EQ(layout[0].index, 2);
    EXPECT_EQ(layout[1].index, 1);
    EXPECT_EQ(layout[3].index, 4);
    EXPECT_EQ(layout[5].name.size(), 2046u);
  }
}

TEST(ShellView, EachIconCostsTwoRequestsAndBlocksAreNotExecutable) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start(testsupport::GridIcons(5)));
  ASSERT_TRUE(desktop.ResetCounts());
  IconLayout layout;
  ASSERT_EQ(CaptureIconLayout(layout), 0);
  EXPECT_EQ(layout.size(), 5u);
  EXPECT_EQ(desktop.Count("getitemcount"), 1);
  EXPECT_EQ(desktop.Count("getitemtext"), 5);
  EXPECT_EQ(desktop.Count("getitemposition"), 5);
  EXPECT_EQ(desktop.Count("setitemposition"), 0);
  std::string protection;
  ASSERT_TRUE(desktop.Command("protection", &protection));
  const std::string readWrite = std::to_string(PAGE_READWRITE);
  EXPECT_EQ(protection, readWrite + " " + readWrite + " " + readWrite);
}

TEST(ShellView, EmptyDesktopOnlyCountsItems) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({}));
  ASSERT_TRUE(desktop.ResetCounts());
  IconLayout layout = {{0, "old", 1, 2}};
  EXPECT_EQ(CaptureIconLayout(layout), 0);
  EXPECT_TRUE(layout.empty());
  EXPECT_EQ(desktop.Count("getitemcount"), 1);
  EXPECT_EQ(desktop.Count("getitemtext"), 0);
  EXPECT_EQ(desktop.Count("getitemposition"), 0);
}

// An unanswered position drops the item, and an unanswered text never brings
// back the previous item's name, even from a view whose answers to text
// requests say nothing.
TEST(ShellView, UnansweredReadsDoNotRepeatThePreviousIcon) {
  for (const char* behaviour : {"", "fault nocount on"}) {
    SCOPED_TRACE(behaviour);
    TestDesktop desktop;
    ASSERT_TRUE(desktop.Start({{"first", 20, 20}, {"second", 20, 120}, {"third", 20, 220}, {"fourth", 20, 320}}));
    if (*behaviour) {
      ASSERT_TRUE(desktop.Command(behaviour));
    }
    ASSERT_TRUE(desktop.Command("failread position 2"));
    ASSERT_TRUE(desktop.Command("failread text 1"));
    IconLayout layout;
    ASSERT_EQ(CaptureIconLayout(layout), 0);
    const std::vector<DesktopIcon> expected = {{"first", 20, 20}, {"", 20, 120}, {"fourth", 20, 320}};
    EXPECT_EQ(ToIcons(layout), expected) << testsupport::ToString(ToIcons(layout));
  }
}

TEST(ShellView, IconRemovedDuringCaptureIsLeftOut) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"a", 20, 20}, {"b", 20, 120}, {"c", 20, 220}}));
  ASSERT_TRUE(desktop.Command("removeafter 1"));
  IconLayout layout;
  ASSERT_EQ(CaptureIconLayout(layout), 0);
  const std::vector<DesktopIcon> expected = {{"a", 20, 20}, {"b", 20, 120}};
  EXPECT_EQ(ToIcons(layout), expected) << testsupport::ToString(ToIcons(layout));
}

// A view that fills the whole text buffer without a terminator still gives
// names of at most 2046 bytes.
TEST(ShellView, UnterminatedTextIsCutAtTheLongestName) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"a", 20, 20}, {"b", 20, 120}}));
  ASSERT_TRUE(desktop.Command("fault unterminated on"));
  IconLayout layout;
  ASSERT_EQ(CaptureIconLayout(layout), 0);
  ASSERT_EQ(layout.size(), 2u);
  EXPECT_EQ(layout[0].name, std::string(2046, 'X'));
  EXPECT_EQ(layout[1].name, std::string(2046, 'X'));
}

// The shell going away in the middle: the capture and the restore report
// failure, keep nothing of what they read, and a new shell serves the next
// call.
TEST(ShellView, ShellEndingMidwayFailsAndTheNextShellServes) {
  TestDesktop desktop;
  for (int k : {1, 3}) {
    ASSERT_TRUE(desktop.Start(testsupport::GridIcons(6)));
    ASSERT_TRUE(desktop.Command("quitafter getitemtext " + std::to_string(k)));
    IconLayout layout = {{0, "old", 1, 1}};
    EXPECT_EQ(CaptureIconLayout(layout), -1) << "quit after text " << k;
    EXPECT_TRUE(layout.empty()) << testsupport::ToString(ToIcons(layout));
  }

  ASSERT_TRUE(desktop.Start(testsupport::GridIcons(6)));
  ASSERT_TRUE(desktop.Command("quitafter setitemposition 1"));
  IconLayout stored;
  for (int i = 0; i < 6; ++i) stored.push_back({0, "icon" + std::to_string(i), 500 - 40 * i, 300});
  EXPECT_EQ(RestoreIconLayout(stored), -1);

  ASSERT_TRUE(desktop.Start(testsupport::GridIcons(3)));
  IconLayout layout;
  EXPECT_EQ(CaptureIconLayout(layout), 0);
  EXPECT_EQ(layout.size(), 3u);
}

// A view whose every position request fails, writing nothing: no icon is
// recorded at a place that was never read (the block's earlier content).
TEST(ShellView, FailingPositionRequestsRecordNothing) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"a", 20, 20}, {"b", 20, 120}}));
  ASSERT_TRUE(desktop.Command("fault noposition on"));
  ASSERT_TRUE(desktop.Command("fault unterminated on"));
  IconLayout layout = {{0, "old", 1, 1}};
  EXPECT_EQ(CaptureIconLayout(layout), 0);
  EXPECT_TRUE(layout.empty()) << testsupport::ToString(ToIcons(layout));
}

TEST(ShellView, FailedLookupFallsBackToTheRememberedView) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"a", 20, 20}, {"b", 20, 120}}));
  DesktopViewHandle found = FindDesktopListView();
  ASSERT_NE(found, nullptr);
  ASSERT_TRUE(desktop.Command("title Somewhere Else"));
  ASSERT_EQ(TestDesktop::FindView(), nullptr);
  EXPECT_EQ(FindDesktopListView(), found);
  IconLayout layout;
  EXPECT_EQ(CaptureIconLayout(layout), 0);
  EXPECT_EQ(layout.size(), 2u);
  IconLayout stored = {{0, "b", 200, 20}};
  EXPECT_EQ(RestoreIconLayout(stored), 0);
  const std::vector<DesktopIcon> expected = {{"a", 20, 20}, {"b", 200, 20}};
  EXPECT_EQ(desktop.Icons(), expected) << testsupport::ToString(desktop.Icons());
}

// With a wallpaper slideshow the shell's view sits in a top-level "WorkerW"
// and Progman holds none: capture and restore find it there.
TEST(ShellView, CapturesAndRestoresAViewUnderAWorkerW) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"ごみ箱", 20, 20}, {"Notes", 20, 120}, {"Mail", 120, 20}},
                            testsupport::DesktopHost::kWorkerW));
  ASSERT_EQ(TestDesktop::FindView(), nullptr) << "Progman holds a view";
  EXPECT_EQ(FindDesktopListView(), static_cast<void*>(desktop.View()));
  IconLayout layout;
  ASSERT_EQ(CaptureIconLayout(layout), 0);
  const std::vector<DesktopIcon> captured = {{"ごみ箱", 20, 20}, {"Notes", 20, 120}, {"Mail", 120, 20}};
  EXPECT_EQ(ToIcons(layout), captured) << testsupport::ToString(ToIcons(layout));
  IconLayout stored = {{0, "Notes", 120, 20}};
  EXPECT_EQ(RestoreIconLayout(stored), 0);
  const std::vector<DesktopIcon> restored = {{"ごみ箱", 20, 20}, {"Notes", 120, 20}, {"Mail", 20, 120}};
  EXPECT_EQ(desktop.Icons(), restored) << testsupport::ToString(desktop.Icons());
}

TEST(ShellView, RemembersTheViewAndLosesItWithTheShell) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"a", 20, 20}}));
  DesktopViewHandle found = FindDesktopListView();
  EXPECT_EQ(found, static_cast<void*>(TestDesktop::FindView()));
  desktop.Quit();
  // The lookup fails now and gives the remembered, stale handle, which leads
  // to no process.
  EXPECT_EQ(FindDesktopListView(), found);
  IconLayout layout;
  EXPECT_EQ(CaptureIconLayout(layout), -1);
}

TEST(ShellView, RestoreExchangesThroughTheParkingPosition) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"Notes", 10, 10}, {"Mail", 100, 50}, {"Other", 300, 300}}));
  ASSERT_TRUE(desktop.ResetCounts());
  IconLayout stored = {{0, "Notes", 100, 50}};
  EXPECT_EQ(RestoreIconLayout(GetDesktopIconView(), stored, SingleMonitorSetup({900, 700})), 0);
  EXPECT_EQ(desktop.Count("setitemposition"), 3);
  const std::vector<DesktopIcon> expected = {{"Notes", 100, 50}, {"Mail", 10, 10}, {"Other", 300, 300}};
  EXPECT_EQ(desktop.Icons(), expected) << testsupport::ToString(desktop.Icons());
}

// Coordinates travel as their low 16 bits; the view reads them back signed.
TEST(ShellView, MovesCarryTheLow16BitsOfEachCoordinate) {
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start({{"a", 20, 20}}));
  DesktopIconView& view = GetDesktopIconView();
  ASSERT_TRUE(view.Open());
  view.SetItemPosition(0, -5, 40000);
  view.FlushMoves();
  view.Close();
  const std::vector<DesktopIcon> expected = {{"a", -5, static_cast<short>(40000)}};
  EXPECT_EQ(desktop.Icons(), expected) << testsupport::ToString(desktop.Icons());
}

// Stored icons in a random arrangement, among icons the layout does not know:
// each stored icon ends on its place and no two icons share one.
TEST(ShellView, RestoreOfARandomArrangementStacksNothing) {
  std::mt19937 random(7);
  std::vector<std::pair<int, int>> places;
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) places.push_back({20 + 100 * c, 20 + 100 * r});
  std::shuffle(places.begin(), places.end(), random);
  IconLayout stored;
  for (int i = 0; i < 5; ++i) stored.push_back({0, "s" + std::to_string(i), places[i].first, places[i].second});
  std::vector<std::string> names = {"s0", "s1", "s2", "s3", "s4", "x0", "x1", "x2"};
  std::shuffle(names.begin(), names.end(), random);
  std::shuffle(places.begin(), places.end(), random);
  std::vector<DesktopIcon> icons;
  for (size_t i = 0; i < names.size(); ++i) icons.push_back({names[i], places[i].first, places[i].second});
  TestDesktop desktop;
  ASSERT_TRUE(desktop.Start(icons));
  ASSERT_EQ(RestoreIconLayout(stored), 0);
  const std::vector<DesktopIcon> after = desktop.Icons();
  std::map<std::pair<int, int>, int> taken;
  for (const DesktopIcon& icon : after) ++taken[{icon.x, icon.y}];
  for (const auto& place : taken) EXPECT_EQ(place.second, 1) << testsupport::ToString(after);
  for (const IconEntry& s : stored) {
    auto it = std::find_if(after.begin(), after.end(), [&](const DesktopIcon& i) { return i.name == s.name; });
    ASSERT_NE(it, after.end());
    EXPECT_EQ(it->x, s.x) << s.name << "\nbefore:\n" << testsupport::ToString(icons) << "after:\n"
                          << testsupport::ToString(after);
    EXPECT_EQ(it->y, s.y) << s.name;
  }
}

}  // namespace
