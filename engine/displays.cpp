#include "engine/displays.h"

#include <algorithm>

ScreenSize DesktopSizeOf(const DisplaySetup& setup) {
  ScreenSize size;
  if (setup.monitors.empty()) return size;
  int right = 0;
  int bottom = 0;
  for (const Monitor& monitor : setup.monitors) {
    right = std::max(right, monitor.left + monitor.width);
    bottom = std::max(bottom, monitor.top + monitor.height);
  }
  size.width = right;
  size.height = bottom;
  const auto primary = std::find_if(setup.monitors.begin(), setup.monitors.end(),
                                    [](const Monitor& monitor) { return monitor.primary; });
  size.dpi = (primary != setup.monitors.end() ? *primary : setup.monitors.front()).dpi;
  return size;
}

DisplaySetup SingleMonitorSetup(ScreenSize screen, const std::string& id) {
  DisplaySetup setup;
  setup.monitors.push_back({id, 0, 0, screen.width, screen.height, screen.dpi, true});
  return setup;
}
