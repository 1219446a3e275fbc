// Any bytes as a layout file, in both formats: the reader answers promptly
// with bounded memory (whatever IconCount claims), names stay within what a
// capture could give, a second read gives the same layout, and what was read
// (whole names and parsing names in their %XX form included, and the monitors
// it was saved on) survives a save and a load unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/display_setup.h"
#include "engine/icon_layout.h"
#include "engine/layout_file.h"

#define CHECK(condition) \
  do {                   \
    if (!(condition)) std::abort(); \
  } while (0)

namespace {

std::string TempPath(const char* tag) {
  char pattern[64];
  std::snprintf(pattern, sizeof pattern, "/tmp/tessaly-layout-fuzz-%s-XXXXXX", tag);
  int fd = mkstemp(pattern);
  if (fd >= 0) close(fd);
  return pattern;
}

bool Same(const IconLayout& a, const IconLayout& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].x != b[i].x || a[i].y != b[i].y || a[i].unicodeName != b[i].unicodeName ||
        a[i].parsingName != b[i].parsingName) {
      return false;
    }
  }
  return true;
}

bool SameMonitors(const DisplaySetup& a, const DisplaySetup& b) {
  if (a.monitors.size() != b.monitors.size()) return false;
  for (size_t i = 0; i < a.monitors.size(); ++i) {
    const Monitor& m = a.monitors[i];
    const Monitor& n = b.monitors[i];
    if (m.id != n.id || m.left != n.left || m.top != n.top || m.width != n.width || m.height != n.height ||
        m.dpi != n.dpi || m.primary != n.primary) {
      return false;
    }
  }
  return true;
}

// How many bytes the writer's %XX form of `text` takes.
size_t EscapedSize(const std::string& text) {
  size_t size = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool atEdge = i == 0 || i + 1 == text.size();
    size += c < 0x20 || c >= 0x7F || c == '%' || c == '"' || c == '\'' || (c == ' ' && atEdge) ? 3 : 1;
  }
  return size;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = TempPath("in");
  static const std::string copy = TempPath("copy");
  // The first byte chooses the format: a current-format header is put in
  // front of the rest, or the bytes are taken as they are.
  std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!bytes.empty() && (bytes[0] & 1)) bytes = "[QVD-Fomat]\r\nVersion=0.01\r\n" + bytes.substr(1);
  FILE* f = std::fopen(input.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);

  IconLayout first;
  DisplaySetup savedOn;
  CHECK(LoadLayoutFile(input.c_str(), first, &savedOn) == 1);
  CHECK(savedOn.monitors.size() <= 64);
  for (const Monitor& monitor : savedOn.monitors) CHECK(monitor.width > 0 && monitor.height > 0 && monitor.dpi > 0);
  for (const IconEntry& entry : first)
    CHECK(entry.monitor >= -1 && entry.monitor < static_cast<int>(savedOn.monitors.size()));
  // Placed on any setup, a layout keeps its icons or leaves some out.
  CHECK(PlaceOnMonitors(first, savedOn, SingleMonitorSetup({1024, 768})).size() <= first.size());
  // A text file gives one entry a line; a count is believed up to 1024
  // entries and beyond that only as far as the file's length could hold.
  CHECK(first.size() <= 1024 + bytes.size() + 1);
  for (const IconEntry& entry : first) {
    CHECK(entry.name.size() <= 2047);
    // The %XX values are read as far as a value is (8191 bytes), and never
    // grow when their escapes are undone.
    CHECK(entry.unicodeName.size() <= 8191 && entry.parsingName.size() <= 8191);
  }
  // The tray menu's count reads as far as the count and agrees with the reader.
  const int counted = CountLayoutIcons(input.c_str());
  CHECK(counted == -1 || counted == static_cast<int>(first.size()));
  IconLayout second;
  DisplaySetup savedAgain;
  CHECK(LoadLayoutFile(input.c_str(), second, &savedAgain) == 1);
  CHECK(Same(first, second));
  CHECK(SameMonitors(savedOn, savedAgain));

  // Names that hold a line end, or that the profile functions would trim or
  // unquote, do not survive the profile format; the rest must.
  bool plain = true;
  for (const IconEntry& entry : first) {
    const std::string& n = entry.name;
    if (n.find_first_of("\r\n") != std::string::npos || n.size() == 2047 ||
        (!n.empty() && (n.front() == ' ' || n.back() == ' ' || n.front() == '\t' || n.back() == '\t' ||
                        n.front() == '"' || n.front() == '\'' || n.front() == '\v' || n.front() == '\f' ||
                        n.back() == '\v' || n.back() == '\f'))) {
      plain = false;
    }
    // A %XX value that a read would cut.
    if (EscapedSize(entry.unicodeName) > 8191 || EscapedSize(entry.parsingName) > 8191) plain = false;
  }
  for (const Monitor& monitor : savedOn.monitors) {
    if (EscapedSize(monitor.id) > 8191) plain = false;
  }
  if (plain && first.size() <= 200 && SaveLayoutFile(copy.c_str(), first, savedOn) == 1) {
    IconLayout reread;
    DisplaySetup savedThen;
    CHECK(LoadLayoutFile(copy.c_str(), reread, &savedThen) == 1);
    CHECK(Same(first, reread));
    CHECK(SameMonitors(savedOn, savedThen));
  }
  return 0;
}
