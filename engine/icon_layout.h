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
  // The icon's text as code page 932 shows it: at most 2046 bytes, possibly
  // empty.  A character that code page 932 lacks shows as its nearest
  // likeness or "?", so different icons may show the same name.
  std::string name;
  // Item coordinates in the view, in pixels.
  int x = 0;
  int y = 0;
  // The whole text in UTF-8, only where code page 932 cannot hold it ("Café"
  // beside the name "Cafe"); empty when the name says it all.  So two names
  // are the same exactly when both fields are.
  std::string unicodeName;
  // What tells the icon from every other icon of the desktop, in UTF-8, where
  // the shell gives it: its parsing name in the desktop folder ("report.txt"
  // for the icon shown as "report").  Empty when unknown.
  std::string parsingName;
  // In a layout read from a file of several monitors: the number, among the
  // file's monitors, of the monitor the icon stood on; -1 where the file does
  // not say (its place tells, display_setup.h).
  int monitor = -1;
};

// True when both show the same whole text (byte for byte, case-sensitive).
bool SameName(const IconEntry& a, const IconEntry& b);

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

// True when no entry names an icon: a file of another kind that the older
// text format read line by line as entries without names, or no entries.
bool HoldsNoLayout(const IconLayout& layout);

// True when both hold the same icons (names, parsing names) at the same
// places in the same order (the indexes are not compared).
bool SameNamesAndPlaces(const IconLayout& a, const IconLayout& b);
