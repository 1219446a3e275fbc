// The layout record and the layout list that capture, restore and the layout
// files share.
#pragma once

#include <string>
#include <vector>

// One icon of a layout.
struct IconEntry {
  // In a captured layout, the icon's item index in the desktop view at the
  // time of the capture (restore addresses icons by it).  In a layout read
  // from a file, the entry number; it means nothing to the desktop.
  int index = 0;
  // The icon's text as the view returns it: code page 932 bytes, at most 2046
  // of them, possibly empty.  Names are not unique.
  std::string name;
  // Item coordinates in the view, in pixels.
  int x = 0;
  int y = 0;
};

// An ordered list of entries, held by value by its user.  Not keyed: lookups
// by name are linear scans and duplicate names stand side by side.  A
// captured layout is sorted by ComparePosition.
using IconLayout = std::vector<IconEntry>;

// True when `a` comes before `b`: by x, then by y, both signed.  This puts
// icons column by column from the left, each column from the top.
bool ComparePosition(const IconEntry& a, const IconEntry& b);

// Sorts a layout by ComparePosition.  Entries on the same spot keep their
// order.
void SortByPosition(IconLayout& layout);

// True when both hold the same names at the same places in the same order
// (the indexes are not compared).
bool SameNamesAndPlaces(const IconLayout& a, const IconLayout& b);
