#include "engine/screen_size.h"

// Defined by the platform's backend (screen_size_win.cpp or screen_size_posix.cpp).
ScreenSize QueryScreenSize();

namespace {

bool overridden = false;
ScreenSize overrideSize;

}  // namespace

ScreenSize GetScreenSize() { return overridden ? overrideSize : QueryScreenSize(); }

void OverrideScreenSize(const ScreenSize* size) {
  overridden = size != nullptr;
  if (size) overrideSize = *size;
}
