#include <windows.h>

#include "engine/screen_size.h"

// In physical pixels: the program's manifest declares it DPI-aware.
DisplayMetrics QueryDisplays() {
  DisplayMetrics displays;
  displays.monitorCount = GetSystemMetrics(SM_CMONITORS);
  displays.primary = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  displays.virtualScreen = {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  // The system's scale, which the primary monitor has.
  if (HDC screen = GetDC(nullptr)) {
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    if (dpi > 0) displays.dpi = dpi;
    ReleaseDC(nullptr, screen);
  }
  return displays;
}
