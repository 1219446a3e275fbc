#include <windows.h>

#include "engine/screen_size.h"

// In physical pixels: the program's manifest declares it DPI-aware.
DisplayMetrics QueryDisplays() {
  DisplayMetrics displays;
  displays.monitorCount = GetSystemMetrics(SM_CMONITORS);
  displays.primary = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  displays.virtualScreen = {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  return displays;
}
