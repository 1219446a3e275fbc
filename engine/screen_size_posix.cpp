#include "engine/screen_size.h"

// There is no screen to ask: a common desktop size stands in.
ScreenSize QueryScreenSize() {
  ScreenSize size;
  size.width = 1024;
  size.height = 768;
  return size;
}
