// A fuzzed stored layout restored onto a fuzzed in-memory desktop: names
// that are not unique, positions at the extremes of 32 bits.  Restore must
// only move icons to places the layout or the exchange names (a stored
// place, the parking position, or an icon's captured place), move an icon
// at most twice (the first time to the parking position), make at most
// three moves per stored entry, and use the view correctly.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>

#include "engine/capture.h"
#include "engine/displays.h"
#include "engine/icon_layout.h"
#include "engine/restore.h"
#include "tests/support/memory_desktop_view.h"

#define CHECK(condition) \
  do {                   \
    if (!(condition)) std::abort(); \
  } while (0)

namespace {

class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // Mostly small coordinates, sometimes the extremes of 32 bits.
  int Coordinate() {
    uint8_t kind = Byte();
    switch (kind % 8) {
      case 0: return INT32_MIN;
      case 1: return INT32_MAX;
      case 2: return -static_cast<int>(Byte());
      case 3: return 0x10000 + Byte();  // the same low 16 bits as a small place
      default: return (Byte() % 16) * 75;
    }
  }
  // Names from a small alphabet, so that many are alike.
  std::string Name() {
    static const char* const names[] = {"a", "b", "A", "\x95\x5c", "", "a "};
    return names[Byte() % 6];
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in(data, size);
  const ScreenSize screen = {1024, 768};

  MemoryDesktopView view;
  int desktopIcons = in.Byte() % 24;
  std::set<std::pair<int, int>> allowed = {{screen.width, screen.height}};
  for (int i = 0; i < desktopIcons; ++i) {
    std::string name = in.Name();
    int x = in.Coordinate();
    int y = in.Coordinate();
    view.AddIcon(name, x, y);
    allowed.insert({x, y});
  }
  IconLayout layout;
  int stored = in.Byte() % 24;
  for (int i = 0; i < stored; ++i) {
    IconEntry entry;
    entry.index = i;
    entry.name = in.Name();
    entry.x = in.Coordinate();
    entry.y = in.Coordinate();
    allowed.insert({entry.x, entry.y});
    layout.push_back(entry);
  }
  if (in.Byte() % 8 == 0) view.FailPositionRead(in.Byte() % 24);

  int result = RestoreIconLayout(view, layout, SingleMonitorSetup(screen));
  CHECK(result == 0);
  CHECK(view.Misuses().empty());
  CHECK(!view.IsOpen());
  auto moves = view.Moves();
  CHECK(moves.size() <= 3 * layout.size());
  int movesOf[24] = {};
  for (const auto& move : moves) {
    CHECK(move.index >= 0 && move.index < desktopIcons);
    CHECK(allowed.count({move.x, move.y}) == 1);
    // An icon moves once, or twice when it was parked first.
    const bool parking = move.x == screen.width && move.y == screen.height;
    CHECK(movesOf[move.index] == 0 || (movesOf[move.index] == 1 && !parking));
    ++movesOf[move.index];
  }
  return 0;
}
