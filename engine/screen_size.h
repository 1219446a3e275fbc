// The size of the desktop that layouts are kept for, as the engine sees it.
// The platform's backend tells what displays there are (the Windows build asks
// GetSystemMetrics; the portable build has one screen of 1024 x 768), and
// tests in either build may choose that answer.
#pragma once

struct ScreenSize {
  int width = 0;   // pixels
  int height = 0;  // pixels
};

// What the platform tells of its displays.
struct DisplayMetrics {
  int monitorCount = 1;      // monitors that show part of the desktop
  ScreenSize primary;        // the primary monitor
  ScreenSize virtualScreen;  // the rectangle that holds every monitor
};

// The desktop's size: the screen's with one monitor, the whole virtual
// screen's with several, so that a layout kept for two monitors is never
// taken for the layout of one (a laptop off its dock), whose screen would
// not show the second monitor's icons.
ScreenSize DesktopSizeOf(const DisplayMetrics& displays);

// The desktop's size for the displays as they are now (asked anew on every
// call), or as a test chose them.
ScreenSize GetScreenSize();

// Makes the platform's displays read as `displays` until it is called again;
// null returns to the platform's answer.  For tests: the program never calls
// it.
void OverrideDisplays(const DisplayMetrics* displays);
// The same for one monitor of `size`.
void OverrideScreenSize(const ScreenSize* size);
