// The displays that layouts are kept for: the desktop's monitors, each with
// who it is, where it stands and its scale.  The platform's backend tells
// what monitors there are (the Windows build asks the system; the portable
// build has one screen of 1024 x 768).  The engine never asks on its own:
// the program measures the displays (AppHost::Displays) and hands them to
// the code that needs them, and tests hand in the setups they choose.
#pragma once

#include <string>
#include <vector>

// The scale of a display at 100 %.
inline constexpr int kPlainDpi = 96;

// The size of the desktop alone (DesktopSizeOf), or of one screen.
struct ScreenSize {
  int width = 0;   // pixels
  int height = 0;  // pixels
  // The primary monitor's scale in dots per inch (144 at 150 %): the same
  // size at another scale lays the icons out otherwise.
  int dpi = kPlainDpi;
};

// One monitor that shows part of the desktop.
struct Monitor {
  // Who it is, the same whenever this monitor is attached, wherever it
  // stands: on Windows its device path (with the maker's and product's EDID
  // codes where the system knows them).  Two monitors of one model on one
  // connector may share it.
  std::string id;
  // Its rectangle in the desktop's coordinates, those of the icons: pixels
  // from the top-left corner of the rectangle that holds every monitor.
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int dpi = kPlainDpi;  // its effective scale
  bool primary = false;
};

// The monitors of the desktop, ordered by their place (left, then top).
struct DisplaySetup {
  std::vector<Monitor> monitors;
};

// The desktop's size: the monitor's with one monitor, the rectangle that
// holds every monitor with several; at the primary monitor's scale.
ScreenSize DesktopSizeOf(const DisplaySetup& setup);

// One primary monitor of `screen`'s size and scale at the desktop's origin
// (the portable build's display; tests of one screen).
DisplaySetup SingleMonitorSetup(ScreenSize screen, const std::string& id = "DISPLAY1");

// The platform's monitors as they are now, asked anew on every call
// (displays_win.cpp, displays_posix.cpp).
DisplaySetup QueryDisplaySetup();
