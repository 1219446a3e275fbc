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
#include "engine/displays.h"
#include "tests/support/memory_desktop_view.h"

namespace {

using Move = MemoryDesktopView::Move;

constexpr int kParkX = 1280;
constexpr int kParkY = 1024;
const DisplaySetup kScreen = SingleMonitorSetup({kParkX, kParkY});

struct Icon {
  const char* name;
  int x;
  int y;
  const char* parsingName = "";
  const char* unicodeName = "";
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

TEST(Restore, SendsTheExpectedMoves) {
  const std::vector<MoveCase> cases = {
      {"occupied place: exchange through the parking position",
       {{"Notes", 100, 50}},
       {{"Notes", 10, 10}, {"Mail", 100, 50}},
       {{1, kParkX, kParkY}, {0, 100, 50}, {1, 10, 10}}},
      {"free place: one move", {{"Notes", 100, 50}}, {{"Notes", 10, 10}}, {{0, 100, 50}}},
      {"icon already in place is not moved", {{"Notes", 10, 10}}, {{"Notes", 10, 10}}, {}},
      {"unchanged desktop: no move",
       {{"A", 0, 0}, {"A", 0, 70}, {"B", 75, 0}, {"C", 75, 70}},
       {{"A", 0, 0}, {"x", 150, 0}, {"B", 75, 0}, {"A", 0, 70}, {"C", 75, 70}},
       {}},
      {"one icon moved away: one move",
       {{"A", 0, 0}, {"B", 0, 70}, {"C", 0, 140}},
       {{"A", 0, 0}, {"B", 300, 300}, {"C", 0, 140}},
       {{1, 0, 70}}},
      {"an icon in the way that must move itself goes first",
       {{"A", 0, 100}, {"B", 0, 200}},
       {{"A", 0, 0}, {"B", 0, 100}},
       {{1, 0, 200}, {0, 0, 100}}},
      {"two icons on each other's places: one parked",
       {{"A", 0, 100}, {"B", 0, 200}},
       {{"B", 0, 100}, {"A", 0, 200}},
       {{0, kParkX, kParkY}, {1, 0, 100}, {0, 0, 200}}},
      {"a ring of four: one parked, the rest follow",
       {{"A", 0, 0}, {"B", 0, 70}, {"C", 0, 140}, {"D", 0, 210}},
       {{"D", 0, 0}, {"A", 0, 70}, {"B", 0, 140}, {"C", 0, 210}},
       {{0, kParkX, kParkY}, {1, 0, 0}, {2, 0, 70}, {3, 0, 140}, {0, 0, 210}}},
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
      {"a place that no monitor shows: the icon stays", {{"far", -5, 40000}}, {{"far", 0, 0}}, {}},
      {"the screen's last pixel is on it", {{"edge", kParkX - 1, kParkY - 1}}, {{"edge", 0, 0}},
       {{0, kParkX - 1, kParkY - 1}}},
      // An icon the layout does not know, moved aside as an occupant, is
      // seen at its new place by later entries: B is not stacked onto it, it
      // changes places again and ends where B stood.
      {"occupant moved aside is tracked",
       {{"A", 0, 100}, {"B", 0, 200}},
       {{"X", 0, 100}, {"A", 0, 200}, {"B", 0, 300}},
       {{0, kParkX, kParkY}, {1, 0, 100}, {2, 0, 200}, {0, 0, 300}}},
      // Same-named icons pair with the stored entries in position order, as
      // they always did, even when that moves one that stands on a place of
      // its name.
      {"duplicates pair in position order",
       {{"A", 0, 0}, {"A", 0, 140}},
       {{"A", 0, 140}, {"A", 0, 300}},
       {{0, 0, 0}, {1, 0, 140}}},
      // Extensions hidden: two icons show "report"; their parsing names
      // tell them apart, and they change places.
      {"look-alikes pair by parsing name",
       {{"report", 0, 100, "report.txt"}, {"report", 0, 200, "report.ini"}},
       {{"report", 0, 200, "report.txt"}, {"report", 0, 100, "report.ini"}},
       {{1, kParkX, kParkY}, {0, 0, 100}, {1, 0, 200}}},
      {"an icon taken by its parsing name is not taken again by name",
       {{"report", 0, 100}, {"report", 0, 200, "report.txt"}},
       {{"report", 0, 300, "report.txt"}, {"report", 0, 400, "report.ini"}},
       {{1, 0, 100}, {0, 0, 200}}},
      {"a parsing name not on the desktop falls back to the name",
       {{"report", 0, 100, "report.doc"}},
       {{"report", 50, 50, "report.txt"}},
       {{0, 0, 100}}},
      {"entries of earlier files, without parsing names, pair by name",
       {{"report", 0, 100}},
       {{"report", 50, 50, "report.txt"}},
       {{0, 0, 100}}},
      // "Café" shows as "Cafe" in code page 932; its whole name differs.
      {"names are compared whole, not as code page 932 shows them",
       {{"Cafe", 0, 100, "", "Caf\xC3\xA9"}},
       {{"Cafe", 0, 300}, {"Cafe", 0, 400, "", "Caf\xC3\xA9"}},
       {{1, 0, 100}}},
  };
  for (const MoveCase& c : cases) {
    MemoryDesktopView view;
    for (const Icon& icon : c.desktop) view.AddIcon(icon.name, icon.x, icon.y, icon.parsingName, icon.unicodeName);
    IconLayout stored;
    for (const Icon& icon : c.stored)
      stored.push_back({99, icon.name, icon.x, icon.y, icon.unicodeName, icon.parsingName});
    EXPECT_EQ(RestoreIconLayout(view, stored, kScreen), 0) << c.what;
    EXPECT_EQ(view.Moves(), c.moves) << c.what << "\nexpected:\n"
                                     << Describe(c.moves) << view.toString();
    EXPECT_TRUE(view.Misuses().empty()) << c.what << "\n" << view.toString();
  }
}

TEST(Restore, ReadsEveryIconBeforeMovingThroughOneConnectionAndSortsTheStoredLayout) {
  MemoryDesktopView view;
  view.AddIcon("b", 0, 0);
  view.AddIcon("a", 0, 50);
  IconLayout stored = {{0, "b", 10, 300}, {1, "a", 10, 100}};
  ASSERT_EQ(RestoreIconLayout(view, stored, kScreen), 0);
  EXPECT_EQ(stored[0].name, "a");
  EXPECT_EQ(stored[1].name, "b");
  using Op = MemoryDesktopView::Op;
  std::vector<Op> ops;
  for (const MemoryDesktopView::Call& call : view.Calls()) ops.push_back(call.op);
  // The moved icons are read back on the same connection.
  const std::vector<Op> expected = {Op::Open,         Op::GetItemCount,     Op::ReadItemText,     Op::ReadItemPosition,
                                    Op::ReadItemText, Op::ReadItemPosition, Op::SetItemPosition,  Op::SetItemPosition,
                                    Op::ReadItemPosition, Op::ReadItemPosition, Op::Close};
  EXPECT_EQ(ops, expected) << view.toString();
  EXPECT_TRUE(view.Misuses().empty()) << view.toString();
}

TEST(Restore, FailsWithoutTouchingAnythingWhenTheShellIsNotAccessible) {
  MemoryDesktopView view;
  view.AddIcon("Notes", 10, 10);
  view.SetAccessible(false);
  IconLayout stored = {{0, "Notes", 100, 50}, {1, "Notes", 0, 0}};
  EXPECT_EQ(RestoreIconLayout(view, stored, kScreen), -1);
  EXPECT_TRUE(view.Moves().empty()) << view.toString();
  EXPECT_EQ(stored[0].x, 100) << "the stored layout is left in its order";
}

// What a restore tells besides its moves: how many icons the shell did not
// keep where they were put, and whether it arranges them itself.
TEST(Restore, ReportsWhatTheShellDidNotKeep) {
  struct Case {
    const char* what;
    Arranging arranging;
    int displaced;  // the icon the desktop puts elsewhere after every move of it, or -1
    bool undoEvery;  // the desktop puts every moved icon back where it stood
    bool anyMove;
    RestoreReport report;
  };
  const Case cases[] = {
      {"every icon kept", Arranging::kKeepsPlaces, -1, false, true, {3, 0, false}},
      {"one icon put elsewhere by the shell", Arranging::kKeepsPlaces, 1, false, true, {3, 1, false}},
      {"a view that says it arranges itself: nothing moved", Arranging::kArranges, -1, false, false, {0, 0, true}},
      {"a view that may arrange itself and keeps the places", Arranging::kMayArrange, -1, false, true, {3, 0, false}},
      {"a view that may arrange itself and undoes every move", Arranging::kMayArrange, -1, true, true, {3, 3, true}},
  };
  for (const Case& c : cases) {
    MemoryDesktopView view;
    view.AddIcon("A", 0, 0);
    view.AddIcon("B", 0, 70);
    view.AddIcon("C", 0, 140);
    view.SetArranging(c.arranging);
    bool shellMoves = false;  // the desktop's own moves come back here too
    view.AfterMove([&](int index) {
      if (shellMoves) return;
      shellMoves = true;
      if (index == c.displaced) view.SetItemPosition(index, 500, 500);
      if (c.undoEvery) view.SetItemPosition(index, 0, 70 * index);
      shellMoves = false;
    });
    IconLayout stored = {{0, "A", 300, 0}, {1, "B", 300, 70}, {2, "C", 300, 140}};
    RestoreReport report;
    ASSERT_EQ(RestoreIconLayout(view, stored, kScreen, nullptr, &report), 0) << c.what;
    EXPECT_EQ(report.moved, c.report.moved) << c.what;
    EXPECT_EQ(report.notKept, c.report.notKept) << c.what;
    EXPECT_EQ(report.arranges, c.report.arranges) << c.what;
    EXPECT_EQ(!view.Moves().empty(), c.anyMove) << c.what << "\n" << view.toString();
  }
}

// A primary of 1024 x 768 and a monitor of 800 x 600 beside it, top-aligned:
// below the second monitor lies an area that no monitor shows.
TEST(Restore, SendsNoIconWhereNoMonitorShowsIt) {
  DisplaySetup setup;
  setup.monitors = {{"one", 0, 0, 1024, 768, kPlainDpi, true}, {"two", 1024, 0, 800, 600, kPlainDpi, false}};
  struct Case {
    const char* what;
    int x;
    int y;
    bool moved;
  };
  const Case cases[] = {
      {"on the second monitor", 1100, 100, true},
      {"below the second monitor", 1100, 700, false},
      {"beyond the desktop", 2000, 100, false},
      {"left of the desktop", -1, 100, false},
      {"the parking position", 1824, 768, false},
      {"on the primary, beside the dead area", 1000, 700, true},
  };
  for (const Case& c : cases) {
    MemoryDesktopView view;
    view.AddIcon("A", 10, 10);
    view.AddIcon("B", c.x, c.y);  // an occupant never gets pushed off the monitors either
    IconLayout stored = {{0, "A", c.x, c.y}};
    ASSERT_EQ(RestoreIconLayout(view, stored, setup), 0) << c.what;
    const bool movedA =
        std::any_of(view.Moves().begin(), view.Moves().end(), [](const Move& m) { return m.index == 0; });
    EXPECT_EQ(movedA, c.moved) << c.what << "\n" << view.toString();
    if (!c.moved) {
      EXPECT_TRUE(view.Moves().empty()) << c.what << "\n" << view.toString();
    }
  }
}

TEST(Restore, ParkingPositionIsTheCornerOfTheScreenGiven) {
  MemoryDesktopView view;
  view.AddIcon("Notes", 10, 10);
  view.AddIcon("Mail", 100, 50);
  IconLayout stored = {{0, "Notes", 100, 50}};
  EXPECT_EQ(RestoreIconLayout(view, stored, SingleMonitorSetup({800, 600})), 0);
  ASSERT_FALSE(view.Moves().empty());
  EXPECT_EQ(view.Moves()[0], (Move{1, 800, 600}));
}

// Restore as it was before it moved only what is out of place, kept as the
// reference for where icons end: every stored entry, in position order,
// takes the first icon of its name in the captured list; the first icon on
// the stored place is parked, the entry's icon takes the place, and the
// parked icon takes the place the entry's icon had (where later entries see
// it).  Three moves for every entry whose place is taken, also by its own
// icon.
//
// `stored` comes sorted by position: entries on one place come in no
// particular order, and the order the restore took them in is taken here.
std::vector<MemoryDesktopView::Icon> EndsByExchanges(MemoryDesktopView view, const IconLayout& stored) {
  view.FindDesktopListView();
  IconLayout working;
  EXPECT_EQ(CaptureIconLayout(view, working), 0);
  for (const IconEntry& s : stored) {
    auto match = std::find_if(working.begin(), working.end(), [&s](const IconEntry& e) { return e.name == s.name; });
    if (match == working.end()) continue;
    auto occupant =
        std::find_if(working.begin(), working.end(), [&s](const IconEntry& e) { return e.x == s.x && e.y == s.y; });
    if (occupant != working.end()) {
      view.SetItemPosition(occupant->index, kParkX, kParkY);
      view.SetItemPosition(match->index, s.x, s.y);
      view.SetItemPosition(occupant->index, match->x, match->y);
      occupant->x = match->x;
      occupant->y = match->y;
    } else {
      view.SetItemPosition(match->index, s.x, s.y);
    }
    working.erase(match);
  }
  return view.Icons();
}

using Places = std::vector<std::pair<int, int>>;

// Places on a grid inside the screen (the parking position is outside).
Places Grid(std::mt19937& random) {
  const int columns = 2 + static_cast<int>(random() % 5);
  const int rows = 2 + static_cast<int>(random() % 5);
  Places places;
  for (int c = 0; c < columns; ++c)
    for (int r = 0; r < rows; ++r) places.push_back({20 + 75 * c, 2 + 70 * r});
  std::shuffle(places.begin(), places.end(), random);
  return places;
}

// Checks the moves against the icons' start and end: an icon that ends
// where it stood is not moved; any other gets one move to where it ends,
// after a move to the parking position when it stands where another icon
// ends; on a desktop of one icon a place (`tidy`), no move lands on another
// icon.  Returns what is wrong, or "".
std::string CheckMoves(const MemoryDesktopView& before, const MemoryDesktopView& after, bool tidy) {
  const auto& start = before.Icons();
  const auto& end = after.Icons();
  auto board = start;
  std::vector<int> moves(start.size(), 0);
  std::vector<bool> parked(start.size(), false);
  std::string problems;
  for (const Move& m : after.Moves()) {
    const std::string which = "icon " + std::to_string(m.index);
    const auto here = [&board, &m](const MemoryDesktopView::Icon& icon) {
      return &icon != &board[m.index] && icon.x == m.x && icon.y == m.y;
    };
    if (m.x == kParkX && m.y == kParkY) {
      if (moves[m.index] != 0) problems += which + " parked after a move\n";
      const auto& icon = board[m.index];
      bool inTheWay = false;
      for (size_t i = 0; i < end.size(); ++i)
        inTheWay = inTheWay || (static_cast<int>(i) != m.index && end[i].x == icon.x && end[i].y == icon.y);
      if (!inTheWay) problems += which + " parked without standing in another icon's way\n";
      parked[m.index] = true;
    } else {
      if (moves[m.index] > (parked[m.index] ? 1 : 0)) problems += which + " moved more than once\n";
      if (m.x != end[m.index].x || m.y != end[m.index].y) problems += which + " not moved to where it ends\n";
      if (tidy && std::any_of(board.begin(), board.end(), here)) problems += which + " moved onto another icon\n";
    }
    ++moves[m.index];
    board[m.index].x = m.x;
    board[m.index].y = m.y;
  }
  for (size_t i = 0; i < start.size(); ++i) {
    if (start[i].x == end[i].x && start[i].y == end[i].y && moves[i] != 0)
      problems += "icon " + std::to_string(i) + " moved although it ends where it stood\n";
  }
  return problems;
}

std::string Positions(const std::vector<MemoryDesktopView::Icon>& icons) {
  std::string text;
  for (size_t i = 0; i < icons.size(); ++i)
    text += "  [" + std::to_string(i) + "] (" + std::to_string(icons[i].x) + ", " + std::to_string(icons[i].y) + ")\n";
  return text;
}

// Random stored layouts and desktops with repeated names, icons the layout
// does not know and occupied places; one round in four also repeats places
// (two stored entries on one place, icons stacked on the desktop).  Every
// icon ends where the exchanges always put it, with the moves CheckMoves
// asks for, and the desktop as it was captured needs no move; on a tidy
// desktop every stored icon ends on its place, no two icons share one, and a
// second restore moves nothing.
TEST(Restore, EndsWhereTheExchangesEndedMovingOnlyWhatIsOutOfPlace) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    const bool tidy = round % 4 != 0;
    const Places places = Grid(random);
    const auto anyPlace = [&random, &places] { return places[random() % places.size()]; };
    const int storedCount = 1 + static_cast<int>(random() % places.size());
    const int unknownCount = static_cast<int>(random() % (places.size() - storedCount + 1));
    // Names may repeat; a pool smaller than the count makes duplicates.
    const int namePool = 1 + static_cast<int>(random() % (storedCount + 1));
    const auto poolName = [&random, namePool] { return "icon" + std::to_string(random() % namePool); };

    IconLayout stored;
    for (int i = 0; i < storedCount; ++i) {
      const auto place = tidy ? places[i] : anyPlace();
      stored.push_back({0, poolName(), place.first, place.second});
    }
    // The stored icons, one in eight under another name of the pool, and
    // the unknown ones.
    std::vector<std::string> names;
    for (const IconEntry& s : stored) names.push_back(random() % 8 == 0 ? poolName() : s.name);
    for (int i = 0; i < unknownCount; ++i) names.push_back("other" + std::to_string(i));
    std::shuffle(names.begin(), names.end(), random);
    Places spots = places;
    std::shuffle(spots.begin(), spots.end(), random);
    MemoryDesktopView view;
    for (size_t i = 0; i < names.size(); ++i) {
      const auto place = tidy ? spots[i] : anyPlace();
      view.AddIcon(names[i], place.first, place.second);
    }
    const MemoryDesktopView before = view;

    ASSERT_EQ(RestoreIconLayout(view, stored, kScreen), 0);
    ASSERT_TRUE(std::is_sorted(stored.begin(), stored.end(), ComparePosition));
    const auto expected = EndsByExchanges(before, stored);
    bool same = true;
    for (size_t i = 0; i < expected.size(); ++i)
      same = same && view.Icons()[i].x == expected[i].x && view.Icons()[i].y == expected[i].y;
    ASSERT_TRUE(same) << "round " << round << "\nbefore:\n" << before.toString() << "after:\n" << view.toString()
                      << "where the exchanges end:\n" << Positions(expected);
    const std::string problems = CheckMoves(before, view, tidy);
    ASSERT_EQ(problems, "") << "round " << round << "\nbefore:\n" << before.toString() << "after:\n"
                            << view.toString();
    // An unchanged desktop: restoring what was captured from it moves nothing.
    MemoryDesktopView unchanged = before;
    IconLayout captured;
    ASSERT_EQ(CaptureIconLayout(unchanged, captured), 0);
    ASSERT_EQ(RestoreIconLayout(unchanged, captured, kScreen), 0);
    ASSERT_TRUE(unchanged.Moves().empty()) << "round " << round << ": the unchanged desktop moved\n"
                                           << unchanged.toString();
    if (!tidy) continue;

    std::map<std::pair<int, int>, std::vector<std::string>> at;
    for (const auto& icon : view.Icons()) at[{icon.x, icon.y}].push_back(icon.name);
    std::string misplaced;
    for (const auto& place : at) {
      if (place.second.size() > 1)
        misplaced += "stacked at (" + std::to_string(place.first.first) + ", " + std::to_string(place.first.second) + ")\n";
    }
    // Entries in position order take the icons of their name while there are.
    std::map<std::string, int> left;
    for (const std::string& name : names) ++left[name];
    for (const IconEntry& s : stored) {
      if (left[s.name]-- <= 0) continue;
      auto it = at.find({s.x, s.y});
      if (it == at.end() || it->second[0] != s.name)
        misplaced += "'" + s.name + "' not at (" + std::to_string(s.x) + ", " + std::to_string(s.y) + ")\n";
    }
    ASSERT_EQ(misplaced, "") << "round " << round << "\nbefore:\n" << before.toString() << "after:\n"
                             << view.toString();
    // A second restore moves nothing, unless a name has more icons than
    // entries: the first icons of the name by position take the entries,
    // and those may now be others.
    bool surplus = false;
    for (const auto& name : left) surplus = surplus || (name.second > 0 && name.first.compare(0, 4, "icon") == 0);
    if (surplus) continue;
    view.ClearCalls();
    ASSERT_EQ(RestoreIconLayout(view, stored, kScreen), 0);
    ASSERT_TRUE(view.Moves().empty()) << "round " << round << ": a second restore moved\n" << view.toString();
  }
}

// A desktop that stood as stored, with unique names, after k of its icons
// (stored ones or others) were moved to free places or onto each other's:
// the restore puts it back with at most 2k moves, none when k is 0.
TEST(Restore, PutsBackKIconsMovedAwayWithAtMostTwiceKMoves) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    const Places places = Grid(random);
    const int storedCount = 1 + static_cast<int>(random() % places.size());
    const int unknownCount = static_cast<int>(random() % (places.size() - storedCount + 1));
    IconLayout stored;
    MemoryDesktopView view;
    for (int i = 0; i < storedCount + unknownCount; ++i) {
      const std::string name = (i < storedCount ? "icon" : "other") + std::to_string(i);
      if (i < storedCount) stored.push_back({0, name, places[i].first, places[i].second});
      view.AddIcon(name, places[i].first, places[i].second);
    }
    // The chosen icons take their own places and the free ones, shuffled.
    const int icons = storedCount + unknownCount;
    const int k = static_cast<int>(random() % (std::min(icons, 6) + 1));
    std::vector<int> chosen(icons);
    for (int i = 0; i < icons; ++i) chosen[i] = i;
    std::shuffle(chosen.begin(), chosen.end(), random);
    chosen.resize(k);
    Places spots;
    for (int i : chosen) spots.push_back(places[i]);
    spots.insert(spots.end(), places.begin() + icons, places.end());
    std::shuffle(spots.begin(), spots.end(), random);
    MemoryDesktopView moved;
    for (int i = 0; i < icons; ++i) {
      const auto it = std::find(chosen.begin(), chosen.end(), i);
      const auto place = it == chosen.end() ? places[i] : spots[it - chosen.begin()];
      moved.AddIcon(view.Icons()[i].name, place.first, place.second);
    }
    const MemoryDesktopView before = moved;

    ASSERT_EQ(RestoreIconLayout(moved, stored, kScreen), 0);
    ASSERT_LE(moved.Moves().size(), static_cast<size_t>(2 * k))
        << "round " << round << ", " << k << " moved away\nbefore:\n" << before.toString() << "after:\n"
        << moved.toString();
    for (const IconEntry& s : stored) {
      const auto& icon = moved.Icons()[std::stoi(s.name.substr(4))];
      ASSERT_TRUE(icon.x == s.x && icon.y == s.y) << "round " << round << ": '" << s.name << "' not back\n"
                                                  << moved.toString();
    }
  }
}

// The shell ending during the moves: the restore reports failure and sends
// no further moves into the void.
TEST(Restore, ShellEndingDuringTheMovesFailsAndStops) {
  MemoryDesktopView view;
  for (int i = 0; i < 4; ++i) view.AddIcon("icon" + std::to_string(i), 0, 100 * i);
  int moves = 0;
  view.AfterMove([&view, &moves](int) {
    if (++moves == 1) view.SetPresent(false);
  });
  IconLayout stored;
  for (int i = 0; i < 4; ++i) stored.push_back({0, "icon" + std::to_string(i), 500, 100 * i});
  EXPECT_EQ(RestoreIconLayout(view, stored, kScreen), -1);
  EXPECT_EQ(view.Moves().size(), 1u) << view.toString();
  EXPECT_FALSE(view.IsOpen());
}

}  // namespace
