#include "engine/screen_size.h"

ScreenSize DesktopSizeOf(const DisplayMetrics& displays) {
  return displays.monitorCount > 1 ? displays.virtualScreen : displays.primary;
}

ScreenSize GetScreenSize() { return DesktopSizeOf(QueryDisplays()); }
