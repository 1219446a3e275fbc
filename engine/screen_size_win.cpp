#include <windows.h>

#include "engine/screen_size.h"

ScreenSize QueryScreenSize() {
  ScreenSize size;
  size.width = GetSystemMetrics(SM_CXSCREEN);
  size.height = GetSystemMetrics(SM_CYSCREEN);
  return size;
}
