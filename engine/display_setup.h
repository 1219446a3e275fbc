// What layouts know of display setups: the name a setup's layout files
// carry, which monitor an icon stands on, and how a layout saved on one
// setup is placed on another.
//
// A layout file keeps, besides each icon's place on the desktop, the
// monitors it was saved on (layout_file.h).  An icon belongs to the monitor
// it stood on, at its place on that monitor; restored where that monitor is
// present again, it goes to the same place on it, wherever the monitor now
// stands.  Icons of monitors that are not present stay where the shell has
// them, and no icon is sent where no monitor shows it.
#pragma once

#include <string>
#include <vector>

#include "engine/displays.h"
#include "engine/icon_layout.h"

// Formats "<width>x<height>.qvd" of the desktop size `screen` (for example
// "1280x1024.qvd"), or "<width>x<height>.<dpi>dpi.qvd" when its scale is not
// 100 % ("1920x1080.144dpi.qvd"), into `buffer`, which must hold 32 bytes.
// Returns 1.
int GetResolutionTag(ScreenSize screen, char* buffer);

// The tag that ends the name of a setup's layout files.  One monitor: as
// GetResolutionTag forms it, the names of earlier versions
// ("1024x768.qvd", "1920x1080.144dpi.qvd").  Several: the same for the
// rectangle that holds them, and a short tag of the monitors and their
// arrangement before the extension ("2944x1080.3fa9c2d1.qvd"), the same for
// the same monitors in the same places whatever order the system lists them
// in.
std::string SetupTag(const DisplaySetup& setup);

// The tag that earlier versions gave the setup: GetResolutionTag of its
// desktop size.  The same as SetupTag for one monitor.
std::string SizeTag(const DisplaySetup& setup);

// The number of the monitor of `setup` that shows the desktop point (x, y),
// or -1 when none does (an area that no monitor covers).
int MonitorAt(const DisplaySetup& setup, int x, int y);

// For each monitor of `from`, the number of the same monitor (the same id)
// in `to`, or -1; monitors that share an id pair in their order, each once.
std::vector<int> PairMonitors(const DisplaySetup& from, const DisplaySetup& to);

// `stored`, saved on `savedOn`, placed for `now`: each entry of a monitor
// that `now` has (the entry's `monitor`, or the monitor its point lies on)
// goes to the same place on that monitor as it stands in `now`; an entry of a
// monitor that `now` lacks is left out, so that its icon stays where the
// shell has it.  Entries whose point lies on no monitor of `savedOn`, and
// every entry when `savedOn` has no monitors (a file of an earlier version),
// keep their points.  Without monitors in `now` nothing is changed.  (The
// restore then leaves alone every entry whose place no monitor shows.)
IconLayout PlaceOnMonitors(const IconLayout& stored, const DisplaySetup& savedOn, const DisplaySetup& now);
