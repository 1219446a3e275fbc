#include "engine/restore.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/capture.h"
#include "engine/screen_size.h"

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

// Icons, by rank (their position in the captured list), found by the place
// where each stands.  The icons on one place are kept lowest rank first, in a
// list threaded through `next`; a place rarely holds more than one.
class PlaceTable {
 public:
  explicit PlaceTable(size_t icons) : next(icons, -1) { first.reserve(icons); }

  void Add(Place place, int rank) {
    int* link = &first.try_emplace(KeyOf(place), -1).first->second;
    while (*link >= 0 && *link < rank) link = &next[*link];
    next[rank] = *link;
    *link = rank;
  }

  void Remove(Place place, int rank) {
    auto found = first.find(KeyOf(place));
    if (found == first.end()) return;
    int* link = &found->second;
    while (*link >= 0 && *link != rank) link = &next[*link];
    if (*link == rank) *link = next[rank];
    if (found->second < 0) first.erase(found);
  }

  // The lowest rank on the place, or -1 when it is free.
  int First(Place place) const {
    auto found = first.find(KeyOf(place));
    return found == first.end() ? -1 : found->second;
  }

 private:
  std::unordered_map<std::uint64_t, int> first;
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
  // in position order, each take the first icon of their name (by rank) that
  // no earlier entry took.  The entry's icon goes to the stored place; the
  // icon that stands there first among those not taken goes where the
  // entry's icon stood, so a later entry finds it there.
  void Match(const IconLayout& stored) {
    std::unordered_map<std::string_view, int> firstOfName;
    std::vector<int> nextOfName(icons, -1);
    firstOfName.reserve(icons);
    PlaceTable untaken(icons);
    for (size_t rank = icons; rank-- > 0;) {
      int& first = firstOfName.try_emplace(working[rank].name, -1).first->second;
      nextOfName[rank] = first;
      first = static_cast<int>(rank);
      untaken.Add(end[rank], static_cast<int>(rank));
    }
    for (const IconEntry& entry : stored) {
      auto found = firstOfName.find(entry.name);
      if (found == firstOfName.end() || found->second < 0) continue;
      const int match = found->second;
      found->second = nextOfName[match];
      const Place place{entry.x, entry.y};
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
    waiting = PlaceTable(icons);
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
      // chain[ring .. last] is the ring: park the icon on chain[ring]'s place,
      // move chain[ring] there, the rest of the ring from its end, and the
      // parked icon last.
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
  PlaceTable waiting{0};    // the icons still to move, where they stand
  std::vector<int> chain;
  std::vector<int> inChain;  // an icon's position in `chain`, or -1
};

}  // namespace

int RestoreIconLayout(DesktopIconView& view, IconLayout& layout) {
  const ScreenSize screen = GetScreenSize();
  LayoutBusy = 1;
  view.FindDesktopListView();

  IconLayout working;
  int result = -1;
  if (CaptureIconLayout(view, working) >= 0) {
    SortByPosition(layout);
    Restorer restorer(view, working, {screen.width, screen.height});
    restorer.Match(layout);
    // The shell ended: the moves go nowhere, and the restore did not happen.
    result = restorer.Move() ? 0 : -1;
  }
  LayoutBusy = 0;
  return result;
}

int RestoreIconLayout(IconLayout& layout) { return RestoreIconLayout(GetDesktopIconView(), layout); }
