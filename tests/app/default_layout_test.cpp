// Which file serves a display setup: its own, the one earlier versions named
// by the whole size, or the kept setup nearest to it.
#include "app/default_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/display_setup.h"
#include "engine/layout_file.h"
#include "tests/app/fake_app_host.h"
#include "tests/files/temp_folder.h"

namespace {

Monitor At(const char* id, int left, int width) { return {id, left, 0, width, 600, kPlainDpi, left == 0}; }

struct Kept {
  DisplaySetup savedOn;  // no monitors: a file of an earlier version
  std::string tag;       // empty: SetupTag(savedOn)
};

TEST(DefaultLayout, TheSetupsOwnFileThenTheSizeThenTheNearestSetup) {
  const Monitor laptop = At("laptop", 0, 800);
  const Monitor home = At("home", 800, 800);
  const Monitor work = At("work", 800, 800);
  const Monitor tv = At("tv", 1600, 800);
  const DisplaySetup docked{{laptop, home}};
  const DisplaySetup theater{{laptop, home, tv}};
  struct Case {
    const char* what;
    std::vector<Kept> files;
    DisplaySetup now;
    int served;  // which of `files` serves, -1 none
  };
  const Case cases[] = {
      {"its own file", {{theater}, {docked}}, docked, 1},
      {"the whole size's file of an earlier version", {{{}, "1600x600.qvd"}, {theater}}, docked, 0},
      {"the setup sharing most monitors", {{DisplaySetup{{laptop}}}, {theater}}, docked, 1},
      {"of two sharing as many, the one of fewer monitors", {{theater}, {DisplaySetup{{laptop, work}}}},
       DisplaySetup{{laptop, At("other", 800, 800)}}, 1},
      {"a file without monitors is no kept setup", {{{}, "800x600.qvd"}}, docked, -1},
      {"nothing shared", {{DisplaySetup{{work}}, "800x600.a.qvd"}}, DisplaySetup{{laptop}}, -1},
  };
  for (const Case& c : cases) {
    testfiles::TempFolder folder;
    FakeAppHost host(folder.Path());
    host.SetDisplays(c.now);
    for (size_t i = 0; i < c.files.size(); ++i) {
      const Kept& kept = c.files[i];
      const std::string path = folder.Path() + "\\default." + (kept.tag.empty() ? SetupTag(kept.savedOn) : kept.tag);
      // The icon names the file; it stands on the laptop, which all share.
      ASSERT_EQ(SaveLayoutFile(path.c_str(), {{0, "file " + std::to_string(i), 10, 10}}, kept.savedOn), 1) << c.what;
    }
    IconLayout layout;
    std::string path;
    const bool served = LoadDefaultLayout(host, layout, &path);
    ASSERT_EQ(served, c.served >= 0) << c.what << ": " << path;
    if (!served) continue;
    ASSERT_EQ(layout.size(), 1u) << c.what;
    EXPECT_EQ(layout[0].name, "file " + std::to_string(c.served)) << c.what << ": " << path;
  }
}

}  // namespace
