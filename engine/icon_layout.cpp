#include "engine/icon_layout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

bool SameName(const IconEntry& a, const IconEntry& b) { return a.name == b.name && a.unicodeName == b.unicodeName; }

bool ComparePosition(const IconEntry& a, const IconEntry& b) {
  if (a.x != b.x) return a.x < b.x;
  return a.y < b.y;
}

namespace {

struct Keyed {
  std::uint64_t key;    // x, then y, sign bits flipped: ordered as unsigned
  std::uint32_t entry;  // where the entry stands before the sort
};

// Sorts by key, ties in their order: a radix sort, least significant byte
// first, that skips the bytes every key shares (coordinates seldom use their
// high bytes).  A few passes over the list, whatever its order, where a
// comparison sort guesses wrong at every other step.
void SortByKey(std::vector<Keyed>& items) {
  std::vector<std::array<std::uint32_t, 256>> counts(8);
  for (const Keyed& item : items) {
    for (int digit = 0; digit < 8; ++digit) ++counts[digit][(item.key >> (8 * digit)) & 0xFF];
  }
  std::vector<Keyed> sorted(items.size());
  for (int digit = 0; digit < 8; ++digit) {
    std::array<std::uint32_t, 256>& start = counts[digit];
    if (start[(items[0].key >> (8 * digit)) & 0xFF] == items.size()) continue;
    std::uint32_t total = 0;
    for (std::uint32_t& count : start) {
      const std::uint32_t here = count;
      count = total;
      total += here;
    }
    for (const Keyed& item : items) sorted[start[(item.key >> (8 * digit)) & 0xFF]++] = item;
    items.swap(sorted);
  }
}

}  // namespace

void SortByPosition(IconLayout& layout) {
  // Sorted by a key of both coordinates, entries staying put: an entry (a
  // name and more) moves once, straight into its place.
  std::vector<Keyed> order(layout.size());
  for (size_t i = 0; i < layout.size(); ++i) {
    const std::uint64_t key = static_cast<std::uint64_t>(static_cast<std::uint32_t>(layout[i].x)) << 32 |
                              static_cast<std::uint32_t>(layout[i].y);
    order[i] = {key ^ 0x8000000080000000u, static_cast<std::uint32_t>(i)};
  }
  // A layout saved from a capture is in this order already.
  const auto byKey = [](const Keyed& a, const Keyed& b) { return a.key < b.key; };
  if (std::is_sorted(order.begin(), order.end(), byKey)) return;
  SortByKey(order);
  // order[i].entry: the entry that belongs at i; once there, i.
  for (size_t start = 0; start < order.size(); ++start) {
    if (order[start].entry == start) continue;
    IconEntry moving = std::move(layout[start]);
    size_t i = start;
    for (;;) {
      const size_t from = order[i].entry;
      order[i].entry = static_cast<std::uint32_t>(i);
      if (from == start) break;
      layout[i] = std::move(layout[from]);
      i = from;
    }
    layout[i] = std::move(moving);
  }
}

bool SameNamesAndPlaces(const IconLayout& a, const IconLayout& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const IconEntry& p, const IconEntry& q) {
    return p.x == q.x && p.y == q.y && SameName(p, q) && p.parsingName == q.parsingName;
  });
}

bool HoldsNoLayout(const IconLayout& layout) {
  return std::none_of(layout.begin(), layout.end(), [](const IconEntry& entry) {
    return !entry.name.empty() || !entry.unicodeName.empty() || !entry.parsingName.empty();
  });
}
