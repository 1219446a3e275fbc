#include "engine/restore.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/capture.h"
#include "engine/display_setup.h"
#include "engine/displays.h"

namespace {

struct Place {
  int x;
  int y;
  bool operator==(const Place& other) const { return x == other.x && y == other.y; }
  bool operator!=(const Place& other) const { return !(*this == other); }
};

std::uint64_t KeyOf(Place place) {
  return static_cast<std::uint64_t>(static_cast<std::uint32_t>(place.x)) << 32 | static_cast<std::uint32_t>(place.y);
}

// The tables below are hash tables with open addressing, sized once for
// the keys they will hold: at most two thirds of their slots are used.
size_t SlotCount(size_t keys) {
  size_t slots = 16;
  while (slots < keys + keys / 2) slots *= 2;
  return slots;
}

// What icons and stored entries are paired by: the parsing name, which no
// two icons of a desktop share, or the whole name shown.
struct ByParsingName {
  static bool Has(const IconEntry& e) { return !e.parsingName.empty(); }
  static size_t Hash(const IconEntry& e) { return std::hash<std::string_view>()(e.parsingName); }
  static bool Same(const IconEntry& a, const IconEntry& b) { return a.parsingName == b.parsingName; }
};
struct ByName {
  static bool Has(const IconEntry&) { return true; }
  static size_t Hash(const IconEntry& e) {
    return std::hash<std::string_view>()(e.name) ^ std::hash<std::string_view>()(e.unicodeName) * 31;
  }
  static bool Same(const IconEntry& a, const IconEntry& b) { return SameName(a, b); }
};

// The icons (by rank: their position in the captured list) of each key,
// lowest rank first, for taking them in that order.  An icon taken through
// another table (`taken`) is passed over.
template <typename Key>
class RankTable {
 public:
  RankTable(const IconLayout& working, const std::vector<bool>& taken)
      : working(working), taken(taken), slots(SlotCount(working.size()), -1), next(working.size(), -1),
        untaken(working.size(), -1) {
    for (size_t rank = working.size(); rank-- > 0;) {
      if (!Key::Has(working[rank])) continue;
      int& lowest = slots[Find(working[rank])];
      next[rank] = lowest;
      lowest = static_cast<int>(rank);
    }
    for (int lowest : slots) {
      if (lowest >= 0) untaken[lowest] = lowest;
    }
  }

  // The first icon of the entry's key that is not taken, or -1.
  int First(const IconEntry& wanted) {
    if (!Key::Has(wanted)) return -1;
    const int lowest = slots[Find(wanted)];
    if (lowest < 0) return -1;
    int& rank = untaken[lowest];
    while (rank >= 0 && taken[rank]) rank = next[rank];
    return rank;
  }

 private:
  // The slot of the entry's key, or the free slot where it would go.
  size_t Find(const IconEntry& wanted) const {
    const size_t mask = slots.size() - 1;
    size_t i = Key::Hash(wanted) & mask;
    while (slots[i] >= 0 && !Key::Same(working[slots[i]], wanted)) i = (i + 1) & mask;
    return i;
  }

  const IconLayout& working;
  const std::vector<bool>& taken;
  std::vector<int> slots;    // the lowest rank of a key, or -1
  std::vector<int> next;     // the next icon of the same key
  std::vector<int> untaken;  // by the lowest rank of a key: its first icon maybe not taken
};

// The icon (by rank) each stored entry takes, -1 for none.  Entries with a
// parsing name take the icon of that parsing name first, so that icons that
// show the same name (extensions hidden) keep apart; the entries left (from
// files without parsing names, or whose icon is gone) then take, in position
// order, the first icon of their name that nothing took.
std::vector<int> Pair(const IconLayout& stored, const IconLayout& working) {
  std::vector<int> pairs(stored.size(), -1);
  std::vector<bool> taken(working.size(), false);
  RankTable<ByParsingName> byParsingName(working, taken);
  for (size_t i = 0; i < stored.size(); ++i) {
    const int rank = byParsingName.First(stored[i]);
    if (rank < 0) continue;
    pairs[i] = rank;
    taken[rank] = true;
  }
  RankTable<ByName> byName(working, taken);
  for (size_t i = 0; i < stored.size(); ++i) {
    if (pairs[i] >= 0) continue;
    const int rank = byName.First(stored[i]);
    if (rank < 0) continue;
    pairs[i] = rank;
    taken[rank] = true;
  }
  return pairs;
}

// Icons, by rank, found by the place where each stands.  The icons on one
// place are kept lowest rank first, in a list threaded through `next`; a
// place rarely holds more than one.
class PlaceTable {
 public:
  // `places`: how many places at most will be added to.
  PlaceTable(size_t icons, size_t places)
      : keys(SlotCount(places)), first(keys.size(), kFree), next(icons, -1) {}

  void Add(Place place, int rank) {
    const size_t slot = Find(place);
    if (first[slot] == kFree) {
      keys[slot] = KeyOf(place);
      first[slot] = -1;
    }
    int* link = &first[slot];
    while (*link >= 0 && *link < rank) link = &next[*link];
    next[rank] = *link;
    *link = rank;
  }

  void Remove(Place place, int rank) {
    int* link = &first[Find(place)];
    while (*link >= 0 && *link != rank) link = &next[*link];
    if (*link == rank) *link = next[rank];
  }

  // The lowest rank on the place, or -1 when it is free.
  int First(Place place) const {
    const int rank = first[Find(place)];
    return rank == kFree ? -1 : rank;
  }

 private:
  static constexpr int kFree = -2;  // a slot that holds no place

  // The slot of the place, or the free slot where it would go.
  size_t Find(Place place) const {
    const std::uint64_t key = KeyOf(place);
    // Places differ mostly in a few low bits of each coordinate: mix them all.
    std::uint64_t hash = (key ^ key >> 29) * 0xBF58476D1CE4E5B9u;
    const size_t mask = keys.size() - 1;
    size_t i = static_cast<size_t>(hash ^ hash >> 32) & mask;
    while (first[i] != kFree && keys[i] != key) i = (i + 1) & mask;
    return i;
  }

  std::vector<std::uint64_t> keys;
  std::vector<int> first;  // the lowest rank on the slot's place, -1 none, or kFree
  std::vector<int> next;
};

// One restore of a stored layout onto the captured desktop (`working`, in
// position order; an icon's rank is its position in it).
class Restorer {
 public:
  Restorer(DesktopIconView& view, const IconLayout& working, Place parking)
      : view(view), working(working), parking(parking), icons(working.size()), at(icons), end(icons) {
    for (size_t rank = 0; rank < icons; ++rank) at[rank] = end[rank] = {working[rank].x, working[rank].y};
  }

  // Works out where every icon ends, without moving any.  The stored entries,
  // in position order, each with the icon Pair gave it: the entry's icon
  // goes to the stored place; the icon that stands there first among those
  // not taken goes where the entry's icon stood, so a later entry finds it
  // there.
  void Match(const IconLayout& stored, const DisplaySetup& setup) {
    const std::vector<int> pairs = Pair(stored, working);
    // An empty setup (nothing measured) shows everything.
    std::vector<bool> onSomeMonitor(stored.size(), true);
    if (!setup.monitors.empty()) {
      for (size_t i = 0; i < stored.size(); ++i) onSomeMonitor[i] = MonitorAt(setup, stored[i].x, stored[i].y) >= 0;
    }
    PlaceTable untaken(icons, icons);
    for (size_t rank = icons; rank-- > 0;) untaken.Add(end[rank], static_cast<int>(rank));
    for (size_t i = 0; i < stored.size(); ++i) {
      const IconEntry& entry = stored[i];
      const int match = pairs[i];
      if (match < 0) continue;
      const Place place{entry.x, entry.y};
      if (!onSomeMonitor[i]) continue;
      const int occupant = untaken.First(place);
      if (occupant >= 0 && occupant != match) {
        untaken.Remove(place, occupant);
        untaken.Add(end[match], occupant);
        end[occupant] = end[match];
      }
      untaken.Remove(end[match], match);
      end[match] = place;
      matched.push_back(match);
    }
  }

  // Moves every icon that does not stand where it ends straight there, once
  // the place is free: an icon whose place is taken by another that must move
  // waits for it.  Of icons that stand on each other's places in a ring, the
  // one on the first icon's place is parked, and the rest follow.  False
  // when the desktop went away (the moves stop there).
  bool Move() {
    waiting = PlaceTable(icons, icons);
    for (size_t rank = icons; rank-- > 0;) {
      if (at[rank] != end[rank]) waiting.Add(at[rank], static_cast<int>(rank));
    }
    inChain.assign(icons, -1);
    for (int rank : matched) {
      if (!MoveWithChain(rank)) return false;
    }
    for (size_t rank = 0; rank < icons; ++rank) {
      if (!MoveWithChain(static_cast<int>(rank))) return false;
    }
    return true;
  }

  // The icons moved, and how many of them stand elsewhere than they were
  // put when read back.
  void ReadBack(RestoreReport& report) {
    for (size_t rank = 0; rank < icons; ++rank) {
      const Place from{working[rank].x, working[rank].y};
      if (from == end[rank]) continue;
      ++report.moved;
      int x = 0;
      int y = 0;
      if (view.ReadItemPosition(working[rank].index, x, y) && Place{x, y} != end[rank]) ++report.notKept;
    }
  }

 private:
  // Moves `start` and, before it, the icons that stand in its way.
  bool MoveWithChain(int start) {
    if (at[start] == end[start]) return true;
    // chain[i + 1] stands where chain[i] ends; a ring closes when an icon of
    // the chain stands where the last one ends.
    chain.clear();
    int ring = -1;
    for (int rank = start;;) {
      inChain[rank] = static_cast<int>(chain.size());
      chain.push_back(rank);
      const int blocker = waiting.First(end[rank]);
      if (blocker < 0) break;
      if (inChain[blocker] >= 0) {
        ring = inChain[blocker];
        break;
      }
      rank = blocker;
    }
    for (int rank : chain) inChain[rank] = -1;

    const int last = static_cast<int>(chain.size()) - 1;
    int i = last;
    if (ring >= 0) {
      // chain[ring .. last] is the ring: park chain[ring + 1], which stands
      // where chain[ring] ends, move chain[ring] there, then the rest of the
      // ring from its last icon back, and the parked icon last.
      if (!Send(chain[ring + 1], parking)) return false;
      if (!Send(chain[ring], end[chain[ring]])) return false;
      for (i = last; i > ring + 1; --i) {
        if (!Send(chain[i], end[chain[i]])) return false;
      }
      if (!Send(chain[ring + 1], end[chain[ring + 1]])) return false;
      i = ring - 1;
    }
    for (; i >= 0; --i) {
      if (!Send(chain[i], end[chain[i]])) return false;
    }
    return true;
  }

  bool Send(int rank, Place place) {
    waiting.Remove(at[rank], rank);
    at[rank] = place;
    view.SetItemPosition(working[rank].index, place.x, place.y);
    return view.IsViewPresent();
  }

  DesktopIconView& view;
  const IconLayout& working;
  Place parking;
  size_t icons;
  std::vector<Place> at;    // where each icon stands
  std::vector<Place> end;   // where each icon ends
  std::vector<int> matched; // the icons taken by stored entries, in their order
  PlaceTable waiting{0, 0};  // the icons still to move, where they stand
  std::vector<int> chain;
  std::vector<int> inChain;  // an icon's position in `chain`, or -1
};

}  // namespace

int RestoreIconLayout(DesktopIconView& view, IconLayout& layout, const DisplaySetup& setup, IconLayout* before,
                      RestoreReport* report) {
  if (before) before->clear();
  RestoreReport told;
  // The desktop holds about as many icons as the layout.
  IconLayout working;
  working.reserve(layout.size());
  int result = -1;
  if (view.Open()) {
    if (ReadOpenView(view, working)) {
      SortByPosition(layout);
      const Arranging arranging = view.HowItArranges();
      if (arranging == Arranging::kArranges) {
        // Whatever is moved, the shell puts back in its own order.
        told.arranges = true;
        result = 0;
      } else {
        const ScreenSize desktop = DesktopSizeOf(setup);
        Restorer restorer(view, working, {desktop.width, desktop.height});
        restorer.Match(layout, setup);
        const bool moved = restorer.Move();
        view.FlushMoves();
        // The shell ended or stopped answering: the moves went nowhere, and
        // the restore did not happen.
        if (moved && view.IsViewPresent()) {
          result = 0;
          restorer.ReadBack(told);
          told.arranges = arranging == Arranging::kMayArrange && told.notKept > 0;
        }
      }
      if (before) *before = std::move(working);
    }
    view.Close();
  }
  if (report) *report = told;
  return result;
}

int RestoreIconLayout(IconLayout& layout) {
  return RestoreIconLayout(GetDesktopIconView(), layout, QueryDisplaySetup());
}
