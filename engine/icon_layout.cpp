#include "engine/icon_layout.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

bool ComparePosition(const IconEntry& a, const IconEntry& b) {
  if (a.x != b.x) return a.x < b.x;
  return a.y < b.y;
}

void SortByPosition(IconLayout& layout) {
  // Sorted by a key of both coordinates, entries staying put: an entry (a
  // name and more) moves once, straight into its place.  Flipping the sign
  // bits orders signed coordinates as unsigned ones.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> order(layout.size());
  for (size_t i = 0; i < layout.size(); ++i) {
    const std::uint64_t key = static_cast<std::uint64_t>(static_cast<std::uint32_t>(layout[i].x)) << 32 |
                              static_cast<std::uint32_t>(layout[i].y);
    order[i] = {key ^ 0x8000000080000000u, static_cast<std::uint32_t>(i)};
  }
  // A layout saved from a capture is in this order already.
  if (std::is_sorted(order.begin(), order.end())) return;
  std::sort(order.begin(), order.end());
  // order[i].second: the entry that belongs at i; once there, i.
  for (size_t start = 0; start < order.size(); ++start) {
    if (order[start].second == start) continue;
    IconEntry moving = std::move(layout[start]);
    size_t i = start;
    for (;;) {
      const size_t from = order[i].second;
      order[i].second = static_cast<std::uint32_t>(i);
      if (from == start) break;
      layout[i] = std::move(layout[from]);
      i = from;
    }
    layout[i] = std::move(moving);
  }
}

bool SameNamesAndPlaces(const IconLayout& a, const IconLayout& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const IconEntry& p, const IconEntry& q) {
    return p.x == q.x && p.y == q.y && p.name == q.name;
  });
}
