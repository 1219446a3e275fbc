// The size of the desktop that layouts are kept for.  The platform's backend
// tells what displays there are (the Windows build asks GetSystemMetrics; the
// portable build has one screen of 1024 x 768).  The engine never asks on its
// own: the program measures the desktop (AppHost::DesktopSize) and hands the
// size to the code that needs it, and tests hand in the size they choose.
#pragma once

// The scale of a display at 100 %.
inline constexpr int kPlainDpi = 96;

struct ScreenSize {
  int width = 0;   // pixels
  int height = 0;  // pixels
  // The primary monitor's scale in dots per inch (144 at 150 %): the same
  // size at another scale lays the icons out otherwise.
  int dpi = kPlainDpi;
};

// What the platform tells of its displays.
struct DisplayMetrics {
  int monitorCount = 1;      // monitors that show part of the desktop
  ScreenSize primary;        // the primary monitor
  ScreenSize virtualScreen;  // the rectangle that holds every monitor
  int dpi = kPlainDpi;       // the primary monitor's scale
};

// The desktop's size: the screen's with one monitor, the whole virtual
// screen's with several, so that a layout kept for two monitors is never
// taken for the layout of one (a laptop off its dock), whose screen would
// not show the second monitor's icons; at the primary monitor's scale.
ScreenSize DesktopSizeOf(const DisplayMetrics& displays);

// The platform's displays as they are now, asked anew on every call
// (screen_size_win.cpp, screen_size_posix.cpp).
DisplayMetrics QueryDisplays();

// DesktopSizeOf(QueryDisplays()).
ScreenSize GetScreenSize();
