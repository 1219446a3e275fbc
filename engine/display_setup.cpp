#include "engine/display_setup.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

bool Shows(const Monitor& monitor, int x, int y) {
  // In 64 bits: a stored point may be anywhere in 32 bits.
  const std::int64_t dx = std::int64_t{x} - monitor.left;
  const std::int64_t dy = std::int64_t{y} - monitor.top;
  return dx >= 0 && dy >= 0 && dx < monitor.width && dy < monitor.height;
}

// FNV-1a, 32 bits: the same text gives the same tag on every machine.
std::uint32_t Fnv1a(const std::string& text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

int GetResolutionTag(ScreenSize screen, char* buffer) {
  // At 100 % the name is as it always was, so that existing files still serve.
  if (screen.dpi == kPlainDpi || screen.dpi <= 0) {
    std::snprintf(buffer, 32, "%dx%d.qvd", screen.width, screen.height);
  } else {
    std::snprintf(buffer, 32, "%dx%d.%ddpi.qvd", screen.width, screen.height, screen.dpi);
  }
  return 1;
}

std::string SizeTag(const DisplaySetup& setup) {
  char tag[32];
  GetResolutionTag(DesktopSizeOf(setup), tag);
  return tag;
}

std::string SetupTag(const DisplaySetup& setup) {
  std::string tag = SizeTag(setup);
  if (setup.monitors.size() < 2) return tag;
  // The monitors in the order of their places, whatever order they came in.
  std::vector<Monitor> monitors = setup.monitors;
  std::sort(monitors.begin(), monitors.end(), [](const Monitor& a, const Monitor& b) {
    if (a.left != b.left) return a.left < b.left;
    if (a.top != b.top) return a.top < b.top;
    return a.id < b.id;
  });
  std::string text;
  for (const Monitor& monitor : monitors) {
    char line[96];
    std::snprintf(line, sizeof line, "|%d,%d,%d,%d,%d,%d\n", monitor.left, monitor.top, monitor.width, monitor.height,
                  monitor.dpi, monitor.primary ? 1 : 0);
    text += monitor.id;
    text += line;
  }
  char hash[16];
  std::snprintf(hash, sizeof hash, "%08x", static_cast<unsigned>(Fnv1a(text)));
  // Before the extension: "2944x1080.qvd" becomes "2944x1080.3fa9c2d1.qvd".
  tag.insert(tag.size() - 3, std::string(hash) + ".");
  return tag;
}

int MonitorAt(const DisplaySetup& setup, int x, int y) {
  for (size_t i = 0; i < setup.monitors.size(); ++i) {
    if (Shows(setup.monitors[i], x, y)) return static_cast<int>(i);
  }
  return -1;
}

std::vector<int> PairMonitors(const DisplaySetup& from, const DisplaySetup& to) {
  std::vector<int> pairs(from.monitors.size(), -1);
  std::vector<bool> taken(to.monitors.size(), false);
  for (size_t i = 0; i < from.monitors.size(); ++i) {
    for (size_t j = 0; j < to.monitors.size(); ++j) {
      if (!taken[j] && to.monitors[j].id == from.monitors[i].id) {
        pairs[i] = static_cast<int>(j);
        taken[j] = true;
        break;
      }
    }
  }
  return pairs;
}

IconLayout PlaceOnMonitors(const IconLayout& stored, const DisplaySetup& savedOn, const DisplaySetup& now) {
  if (now.monitors.empty() || savedOn.monitors.empty()) return stored;
  const std::vector<int> pairs = PairMonitors(savedOn, now);
  const int monitors = static_cast<int>(savedOn.monitors.size());
  IconLayout placed;
  placed.reserve(stored.size());
  for (const IconEntry& entry : stored) {
    const int from =
        entry.monitor >= 0 && entry.monitor < monitors ? entry.monitor : MonitorAt(savedOn, entry.x, entry.y);
    if (from < 0) {
      placed.push_back(entry);
      continue;
    }
    if (pairs[from] < 0) continue;  // its monitor is not here
    const Monitor& was = savedOn.monitors[from];
    const Monitor& is = now.monitors[pairs[from]];
    IconEntry moved = entry;
    moved.x = static_cast<int>(std::int64_t{entry.x} - was.left + is.left);
    moved.y = static_cast<int>(std::int64_t{entry.y} - was.top + is.top);
    moved.monitor = -1;  // its place tells, now on `now`
    placed.push_back(std::move(moved));
  }
  return placed;
}
