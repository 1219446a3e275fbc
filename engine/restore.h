// Restore: puts a stored layout back on the desktop.
#pragma once

#include "engine/desktop_icon_view.h"
#include "engine/displays.h"
#include "engine/icon_layout.h"

// Moves every desktop icon that `layout` holds to its stored place.  A stored
// entry with a parsing name takes the icon of that parsing name; the entries
// left (those of files that hold no parsing names, or whose icon is not on
// the desktop) are taken in position order, and each takes the first icon of
// its whole name (byte for byte, case-sensitive), by captured position, that
// no entry took.  So icons that show the same name are never swapped when
// the shell tells them apart.  An icon standing on the stored place
// changes places with the incoming one: it ends where the incoming icon
// stood (and is seen there by later entries).  Icons whose names are not
// stored move only when they stand in the way.
//
// A stored place that no monitor of `setup` shows (an area between monitors
// of mixed sizes, a monitor that is not there, a file of a larger desktop)
// is passed over: its icon stays where the shell has it.  Stored layouts of
// other setups are first placed on this one (PlaceOnMonitors).
//
// Only icons that end elsewhere than they stand are moved, each once,
// straight to where it ends, when that place is free: an icon already on its
// place is not moved, an unchanged desktop gets no move.  Where icons stand
// on each other's places in a ring, one of them first goes to the parking
// position and comes last: the bottom-right corner of the rectangle that
// holds `setup`'s monitors, the one place a move may have outside them, for
// the moment of the ring.  So a
// restore sends the number of icons out of place plus one move per ring; no
// move lands on another icon, except when the stored layout itself puts two
// icons on one place or icons were stacked before.  Icons are found by name
// and by place through hash tables: apart from sorting the layout, time and
// memory grow linearly with the icons and entries.
//
// `layout` comes back sorted by ComparePosition, its entries unchanged.
// The desktop is read and moved through one connection, and held-back moves
// are sent at the end.  Returns 0 when the desktop could be read (whether or
// not anything moved), -1 when it could not (nothing is moved then and
// `layout` keeps its order) or when the desktop went away or stopped
// answering during the moves (the moves stop there).
// `before`, when given, receives the desktop as the restore read it before
// any move (in position order; empty when it could not be read): what an
// undo puts back.
//
// A desktop that arranges its icons itself (HowItArranges) is not moved at
// all.  After the moves the restore reads the moved icons back on the same
// connection and counts those the shell did not keep where they were put.
struct RestoreReport {
  int moved = 0;    // icons moved (the parked icon of a ring once)
  int notKept = 0;  // of them, those that stand elsewhere when read back
  // The desktop arranges its icons itself: its view says so (nothing was
  // moved), or it may and moves were undone.
  bool arranges = false;
};
[[nodiscard]] int RestoreIconLayout(DesktopIconView& view, IconLayout& layout, const DisplaySetup& setup,
                                    IconLayout* before = nullptr, RestoreReport* report = nullptr);

// The same, on the platform's desktop (GetDesktopIconView) as it measures
// now (QueryDisplaySetup).
[[nodiscard]] int RestoreIconLayout(IconLayout& layout);
