#include "engine/restore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/capture.h"
#include "engine/memory_desktop_view.h"
#include "engine/screen_size.h"

namespace {

using Move = MemoryDesktopView::Move;

constexpr int kParkX = 1280;
constexpr int kParkY = 1024;

class Restore : public ::testing::Test {
 protected:
  void SetUp() override {
    const ScreenSize screen{kParkX, kParkY};
    OverrideScreenSize(&screen);
  }
  void TearDown() override { OverrideScreenSize(nullptr); }
};

struct Icon {
  const char* name;
  int x;
  int y;
};

struct MoveCase {
  const char* what;
  std::vector<Icon> stored;
  std::vector<Icon> desktop;  // item index = position in this list
  std::vector<Move> moves;
};

std::string Describe(const std::vector<Move>& moves) {
  std::string text;
  for (const Move& m : moves) {
    text += "  " + std::to_string(m.index) + " -> (" + std::to_string(m.x) + ", " + std::to_string(m.y) + ")\n";
  }
  return text;
}

TEST_F(Restore, SendsTheExpectedMoves) {
  const std::vector<MoveCase> cases = {
      {"occupied place: exchange through the parking position",
       {{"Notes", 100, 50}},
       {{"Notes", 10, 10}, {"Mail", 100, 50}},
       {{1, kParkX, kParkY}, {0, 100, 50}, {1, 10, 10}}},
      {"free place: one move", {{"Notes", 100, 50}}, {{"Notes", 10, 10}}, {{0, 100, 50}}},
      {"icon already in place is its own occupant",
       {{"Notes", 10, 10}},
       {{"Notes", 10, 10}},
       {{0, kParkX, kParkY}, {0, 10, 10}, {0, 10, 10}}},
      {"names are case-sensitive", {{"notes", 100, 50}}, {{"Notes", 10, 10}}, {}},
      {"names match whole, not by prefix", {{"Note", 100, 50}}, {{"Notes", 10, 10}}, {}},
      {"duplicates are taken in position order",
       {{"A", 0, 300}, {"A", 0, 100}},
       {{"x", 500, 500}, {"x", 501, 500}, {"x", 502, 500}, {"x", 503, 500}, {"A", 50, 0}, {"x", 504, 500},
        {"x", 505, 500}, {"x", 506, 500}, {"x", 507, 500}, {"A", 20, 0}},
       {{9, 0, 100}, {4, 0, 300}}},
      {"no stored name on the desktop",
       {{"p", 1, 1}, {"q", 2, 2}, {"r", 3, 3}},
       {{"s", 1, 1}, {"t", 5, 5}},
       {}},
      {"empty stored layout", {}, {{"s", 1, 1}}, {}},
      {"coordinates are sent as stored, unclamped",
       {{"far", -5, 40000}},
       {{"far", 0, 0}},
       {{0, -5, 40000}}},
      // An icon the layout does not know, moved aside as an occupant, is
      // seen at its new place by later entries: B is not stacked onto it.
      {"occupant moved aside is tracked",
       {{"A", 0, 100}, {"B", 0, 200}},
       {{"X", 0, 100}, {"A", 0, 200}, {"B", 0, 300}},
       {{0, kParkX, kParkY}, {1, 0, 100}, {0, 0, 200}, {0, kParkX, kParkY}, {2, 0, 200}, {0, 0, 300}}},
  };
  for (const MoveCase& c : cases) {
    MemoryDesktopView view;
    for (const Icon& icon : c.desktop) view.AddIcon(icon.name, icon.x, icon.y);
    IconLayout stored;
    for (const Icon& icon : c.stored) stored.push_back({99, icon.name, icon.x, icon.y});
    EXPECT_EQ(RestoreIconLayout(view, stored), 0) << c.what;
    EXPECT_EQ(view.Moves(), c.moves) << c.what << "\nexpected:\n"
                                     << Describe(c.moves) << view.toString();
    EXPECT_TRUE(view.Misuses().empty()) << c.what << "\n" << view.toString();
    EXPECT_EQ(LayoutBusy, 0) << c.what;
  }
}

TEST_F(Restore, CapturesBeforeMovingAndSortsTheStoredLayout) {
  MemoryDesktopView view;
  view.AddIcon("b", 0, 0);
  view.AddIcon("a", 0, 50);
  IconLayout stored = {{0, "b", 10, 300}, {1, "a", 10, 100}};
  ASSERT_EQ(RestoreIconLayout(view, stored), 0);
  EXPECT_EQ(stored[0].name, "a");
  EXPECT_EQ(stored[1].name, "b");
  const auto& calls = view.Calls();
  const auto firstMove = std::find_if(calls.begin(), calls.end(), [](const MemoryDesktopView::Call& c) {
    return c.op == MemoryDesktopView::Op::SetItemPosition;
  });
  const auto close = std::find_if(calls.begin(), calls.end(), [](const MemoryDesktopView::Call& c) {
    return c.op == MemoryDesktopView::Op::Close;
  });
  EXPECT_LT(close - calls.begin(), firstMove - calls.begin()) << view.toString();
}

TEST_F(Restore, FailsWithoutTouchingAnythingWhenTheShellIsNotAccessible) {
  MemoryDesktopView view;
  view.AddIcon("Notes", 10, 10);
  view.SetAccessible(false);
  IconLayout stored = {{0, "Notes", 100, 50}, {1, "Notes", 0, 0}};
  EXPECT_EQ(RestoreIconLayout(view, stored), -1);
  EXPECT_TRUE(view.Moves().empty()) << view.toString();
  EXPECT_EQ(LayoutBusy, 0);
  EXPECT_EQ(stored[0].x, 100) << "the stored layout is left in its order";
}

TEST_F(Restore, ParkingPositionIsReadFromTheScreen) {
  const ScreenSize small{800, 600};
  OverrideScreenSize(&small);
  MemoryDesktopView view;
  view.AddIcon("Notes", 10, 10);
  view.AddIcon("Mail", 100, 50);
  IconLayout stored = {{0, "Notes", 100, 50}};
  RestoreIconLayout(view, stored);
  ASSERT_FALSE(view.Moves().empty());
  EXPECT_EQ(view.Moves()[0], (Move{1, 800, 600}));
}

// For any arrangement of the stored icons, plus icons the layout does not
// know, each on its own place: afterwards every stored icon stands on its
// stored place and no two icons share a place.
TEST_F(Restore, EveryArrangementEndsInTheStoredLayoutWithoutStacking) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    // Places on a grid, inside the screen (the parking position is outside).
    const int columns = 2 + static_cast<int>(random() % 5);
    const int rows = 2 + static_cast<int>(random() % 5);
    std::vector<std::pair<int, int>> places;
    for (int c = 0; c < columns; ++c)
      for (int r = 0; r < rows; ++r) places.push_back({20 + 75 * c, 2 + 70 * r});
    const int storedCount = 1 + static_cast<int>(random() % places.size());
    const int unknownCount = static_cast<int>(random() % (places.size() - storedCount + 1));

    // Names may repeat; a pool smaller than the count makes duplicates.
    const int namePool = 1 + static_cast<int>(random() % (storedCount + 1));
    std::shuffle(places.begin(), places.end(), random);
    IconLayout stored;
    for (int i = 0; i < storedCount; ++i) {
      stored.push_back({0, "icon" + std::to_string(random() % namePool), places[i].first, places[i].second});
    }
    std::vector<IconEntry> desktop;
    for (const IconEntry& s : stored) desktop.push_back({0, s.name, 0, 0});
    for (int i = 0; i < unknownCount; ++i) desktop.push_back({0, "other" + std::to_string(i), 0, 0});
    std::shuffle(desktop.begin(), desktop.end(), random);
    std::shuffle(places.begin(), places.end(), random);
    MemoryDesktopView view;
    for (size_t i = 0; i < desktop.size(); ++i) view.AddIcon(desktop[i].name, places[i].first, places[i].second);
    const MemoryDesktopView before = view;

    ASSERT_EQ(RestoreIconLayout(view, stored), 0);

    std::map<std::pair<int, int>, std::vector<std::string>> at;
    for (const auto& icon : view.Icons()) at[{icon.x, icon.y}].push_back(icon.name);
    bool ok = true;
    std::string problems;
    for (const auto& place : at) {
      if (place.second.size() > 1) {
        ok = false;
        problems += "stacked at (" + std::to_string(place.first.first) + ", " +
                    std::to_string(place.first.second) + ")\n";
      }
    }
    for (const IconEntry& s : stored) {
      auto it = at.find({s.x, s.y});
      if (it == at.end() || it->second.empty() || it->second[0] != s.name) {
        ok = false;
        problems += "'" + s.name + "' not at (" + std::to_string(s.x) + ", " + std::to_string(s.y) + ")\n";
      }
    }
    ASSERT_TRUE(ok) << "round " << round << "\n" << problems << "before:\n" << before.toString() << "after:\n"
                    << view.toString();
  }
}

// The shell ending during the moves: the restore reports failure and sends
// no further moves into the void.
TEST_F(Restore, ShellEndingDuringTheMovesFailsAndStops) {
  MemoryDesktopView view;
  for (int i = 0; i < 4; ++i) view.AddIcon("icon" + std::to_string(i), 0, 100 * i);
  int moves = 0;
  view.AfterMove([&view, &moves](int) {
    if (++moves == 1) view.SetPresent(false);
  });
  IconLayout stored;
  for (int i = 0; i < 4; ++i) stored.push_back({0, "icon" + std::to_string(i), 500, 100 * i});
  EXPECT_EQ(RestoreIconLayout(view, stored), -1);
  EXPECT_EQ(view.Moves().size(), 1u) << view.toString();
  EXPECT_EQ(LayoutBusy, 0);
  EXPECT_FALSE(view.IsOpen());
}

}  // namespace
