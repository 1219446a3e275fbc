#include "engine/icon_layout.h"

#include <algorithm>

bool ComparePosition(const IconEntry& a, const IconEntry& b) {
  if (a.x != b.x) return a.x < b.x;
  return a.y < b.y;
}

void SortByPosition(IconLayout& layout) { std::sort(layout.begin(), layout.end(), ComparePosition); }
