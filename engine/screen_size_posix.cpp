#include "engine/screen_size.h"

// There is no screen to ask: one monitor of a common desktop size stands in.
DisplayMetrics QueryDisplays() {
  DisplayMetrics displays;
  displays.monitorCount = 1;
  displays.primary = {1024, 768};
  displays.virtualScreen = displays.primary;
  return displays;
}
