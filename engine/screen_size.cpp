#include "engine/screen_size.h"

ScreenSize DesktopSizeOf(const DisplayMetrics& displays) {
  ScreenSize size = displays.monitorCount > 1 ? displays.virtualScreen : displays.primary;
  size.dpi = displays.dpi;
  return size;
}

ScreenSize GetScreenSize() { return DesktopSizeOf(QueryDisplays()); }
