#include "engine/display_setup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

Monitor At(const char* id, int left, int top, int width, int height, bool primary = false, int dpi = kPlainDpi) {
  return {id, left, top, width, height, dpi, primary};
}

DisplaySetup Monitors(std::vector<Monitor> monitors) { return {std::move(monitors)}; }

// A laptop of 1920 x 1080 and what is plugged into it.
const Monitor kLaptop = At("laptop", 0, 0, 1920, 1080, true);
const Monitor kHome = At("home", 1920, 0, 1920, 1080);

TEST(DisplaySetup, TagsTellSetupsApartAndKeepTheNamesOfOneMonitor) {
  struct Case {
    const char* what;
    DisplaySetup setup;
    DisplaySetup other;  // a setup the same as `setup` (same) or not
    bool same;
  };
  const Monitor work = At("work", 1920, 0, 1920, 1080);
  const Monitor homeLeft = At("home", 0, 0, 1920, 1080);
  const Monitor laptopRight = At("laptop", 1920, 0, 1920, 1080, true);
  const Monitor primary = At("p", 0, 0, 1024, 768, true);
  const Case cases[] = {
      {"the same monitors listed in another order", Monitors({kLaptop, kHome}), Monitors({kHome, kLaptop}), true},
      {"another monitor of the same size", Monitors({kLaptop, kHome}), Monitors({kLaptop, work}), false},
      {"the second monitor left instead of right", Monitors({kLaptop, kHome}), Monitors({homeLeft, laptopRight}),
       false},
      {"top- or bottom-aligned", Monitors({primary, At("s", 1024, 0, 800, 600)}),
       Monitors({primary, At("s", 1024, 168, 800, 600)}), false},
      {"the second monitor at another scale", Monitors({kLaptop, kHome}),
       Monitors({kLaptop, At("home", 1920, 0, 1920, 1080, false, 144)}), false},
      {"the other monitor primary", Monitors({kLaptop, kHome}),
       Monitors({At("laptop", 0, 0, 1920, 1080), At("home", 1920, 0, 1920, 1080, true)}), false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SetupTag(c.setup) == SetupTag(c.other), c.same) << c.what << ": " << SetupTag(c.setup);
    EXPECT_EQ(SizeTag(c.setup), SizeTag(c.other)) << c.what << ": the whole size is the same";
  }

  // One monitor: the names of earlier versions.
  EXPECT_EQ(SetupTag(Monitors({At("x", 0, 0, 1280, 1024, true)})), "1280x1024.qvd");
  EXPECT_EQ(SetupTag(Monitors({At("x", 0, 0, 1920, 1080, true, 144)})), "1920x1080.144dpi.qvd");
  // Several: the whole size, the primary's scale, then eight hexadecimal digits.
  const std::string two = SetupTag(Monitors({kLaptop, kHome}));
  ASSERT_EQ(two.size(), std::string("3840x1080.12345678.qvd").size()) << two;
  EXPECT_EQ(two.substr(0, 10), "3840x1080.");
  EXPECT_EQ(two.find_first_not_of("0123456789abcdef", 10), 18u) << two;
  EXPECT_EQ(SizeTag(Monitors({kLaptop, kHome})), "3840x1080.qvd");
  const std::string scaled = SetupTag(Monitors({At("a", 0, 0, 1920, 1080, true, 120), At("b", 1920, 0, 1920, 1080)}));
  EXPECT_EQ(scaled.substr(0, 17), "3840x1080.120dpi.") << scaled;
}

TEST(DisplaySetup, DesktopSizeHoldsEveryMonitorAtThePrimarysScale) {
  EXPECT_EQ(DesktopSizeOf(Monitors({kLaptop, kHome})).width, 3840);
  const ScreenSize mixed =
      DesktopSizeOf(Monitors({At("s", 0, 0, 800, 600, false, 120), At("p", 800, 100, 1024, 768, true, 144)}));
  EXPECT_EQ(mixed.width, 1824);
  EXPECT_EQ(mixed.height, 868);
  EXPECT_EQ(mixed.dpi, 144);
}

struct Icon {
  const char* name;
  int x;
  int y;
  int monitor = -1;
};

std::string Describe(const IconLayout& layout) {
  std::string text;
  for (const IconEntry& e : layout) text += " " + e.name + "@" + std::to_string(e.x) + "," + std::to_string(e.y);
  return text;
}

IconLayout LayoutOf(const std::vector<Icon>& icons) {
  IconLayout layout;
  for (const Icon& icon : icons) {
    IconEntry entry;
    entry.name = icon.name;
    entry.x = icon.x;
    entry.y = icon.y;
    entry.monitor = icon.monitor;
    layout.push_back(entry);
  }
  return layout;
}

// Saved on the laptop with the home monitor to its right: L on the laptop,
// H on the home monitor.
TEST(DisplaySetup, IconsArePlacedOnTheirOwnMonitorWhereverItStands) {
  const DisplaySetup saved = Monitors({kLaptop, kHome});
  const std::vector<Icon> stored = {{"L", 100, 200}, {"H", 2000, 300}};
  struct Case {
    const char* what;
    DisplaySetup savedOn;
    std::vector<Icon> stored;
    DisplaySetup now;
    std::vector<Icon> placed;
  };
  const Case cases[] = {
      {"the same setup: unchanged", saved, stored, saved, {{"L", 100, 200}, {"H", 2000, 300}}},
      {"home moved to the left: both follow their monitors",
       saved,
       stored,
       Monitors({At("home", 0, 0, 1920, 1080), At("laptop", 1920, 0, 1920, 1080, true)}),
       {{"L", 2020, 200}, {"H", 80, 300}}},
      {"home moved below",
       saved,
       stored,
       Monitors({kLaptop, At("home", 0, 1080, 1920, 1080)}),
       {{"L", 100, 200}, {"H", 80, 1380}}},
      {"undocked: the home monitor's icons are left to the shell",
       saved,
       stored,
       Monitors({kLaptop}),
       {{"L", 100, 200}}},
      {"at work: only the laptop's icons",
       saved,
       stored,
       Monitors({kLaptop, At("work", 1920, 0, 1920, 1080)}),
       {{"L", 100, 200}}},
      {"the file says on which monitor, whatever the point",
       saved,
       {{"X", 100, 200, 1}},
       Monitors({kLaptop, At("home", 0, 1080, 1920, 1080)}),
       {{"X", -1820, 1280}}},
      {"a monitor number the file does not have: the point tells",
       saved,
       {{"X", 100, 200, 7}},
       Monitors({At("home", 0, 0, 1920, 1080), At("laptop", 1920, 0, 1920, 1080, true)}),
       {{"X", 2020, 200}}},
      {"a point on no monitor of the file keeps its place",
       saved,
       {{"X", 5000, 5000}},
       Monitors({kLaptop}),
       {{"X", 5000, 5000}}},
      {"a file of an earlier version: points kept",
       {},
       stored,
       Monitors({kLaptop}),
       {{"L", 100, 200}, {"H", 2000, 300}}},
      {"nothing measured: unchanged", saved, stored, {}, {{"L", 100, 200}, {"H", 2000, 300}}},
      {"two monitors of one id pair in their order",
       Monitors({At("same", 0, 0, 800, 600), At("same", 800, 0, 800, 600)}),
       {{"A", 10, 10}, {"B", 810, 10}},
       Monitors({At("same", 0, 600, 800, 600), At("same", 800, 600, 800, 600)}),
       {{"A", 10, 610}, {"B", 810, 610}}},
  };
  for (const Case& c : cases) {
    const IconLayout placed = PlaceOnMonitors(LayoutOf(c.stored), c.savedOn, c.now);
    const IconLayout expected = LayoutOf(c.placed);
    ASSERT_EQ(placed.size(), expected.size()) << c.what << ":" << Describe(placed);
    for (size_t i = 0; i < placed.size(); ++i) {
      EXPECT_EQ(placed[i].name, expected[i].name) << c.what << ":" << Describe(placed);
      EXPECT_EQ(placed[i].x, expected[i].x) << c.what << ":" << Describe(placed);
      EXPECT_EQ(placed[i].y, expected[i].y) << c.what << ":" << Describe(placed);
    }
  }
}

}  // namespace
