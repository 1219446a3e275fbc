#include "engine/icon_layout.h"

#include <algorithm>

bool ComparePosition(const IconEntry& a, const IconEntry& b) {
  if (a.x != b.x) return a.x < b.x;
  return a.y < b.y;
}

void SortByPosition(IconLayout& layout) { std::sort(layout.begin(), layout.end(), ComparePosition); }

bool SameNamesAndPlaces(const IconLayout& a, const IconLayout& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const IconEntry& p, const IconEntry& q) {
    return p.x == q.x && p.y == q.y && p.name == q.name;
  });
}
