#include "engine/screen_size.h"

// Defined by the platform's backend (screen_size_win.cpp or screen_size_posix.cpp).
DisplayMetrics QueryDisplays();

namespace {

bool overridden = false;
DisplayMetrics overrideDisplays;

}  // namespace

ScreenSize DesktopSizeOf(const DisplayMetrics& displays) {
  return displays.monitorCount > 1 ? displays.virtualScreen : displays.primary;
}

ScreenSize GetScreenSize() { return DesktopSizeOf(overridden ? overrideDisplays : QueryDisplays()); }

void OverrideDisplays(const DisplayMetrics* displays) {
  overridden = displays != nullptr;
  if (displays) overrideDisplays = *displays;
}

void OverrideScreenSize(const ScreenSize* size) {
  if (!size) {
    OverrideDisplays(nullptr);
    return;
  }
  DisplayMetrics one;
  one.primary = *size;
  one.virtualScreen = *size;
  OverrideDisplays(&one);
}
