// SaveLayoutFile with every call of the file seam failing in turn: the save
// reports 0 and the layout that was stored before is byte for byte as it was
// (or there is still no file), with no temporary file beside it.
#include "engine/layout_file.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/files/fault_sweep.h"
#include "tests/files/temp_folder.h"

namespace {

using testfiles::FaultRun;
using testfiles::FaultSweep;
using testfiles::ListFolder;
using testfiles::ReadBytes;
using testfiles::StepName;
using testfiles::TempFolder;

const char kNoFile[] = "<no file>";

const char kStored[] =
    "[QVD-Fomat]\r\nVersion=0.01\r\n[QVD-Data]\r\nIconCount=2\r\nIconName_0=keep\r\nIconPosX_0=5\r\n"
    "IconPosY_0=6\r\nIconName_1=me\r\nIconPosX_1=7\r\nIconPosY_1=8\r\n";

struct SaveCase {
  const char* name;
  const char* before;  // kNoFile: nothing at the path
  IconLayout layout;
};

TEST(LayoutFileFaults, FailedSaveAtAnyCallKeepsThePreviousFile) {
  const SaveCase cases[] = {
      {"over a stored layout", kStored, {{0, "new", 1, 1}, {1, "ゴミ箱", -20, 70000}}},
      {"first save", kNoFile, {{0, "Recycle Bin", 19, 2}}},
      {"over a file of the older text format", "a\t1\t2\r\nb\t3\t4\r\n", {{0, "a", 9, 9}}},
      {"empty layout over a stored one", kStored, {}},
  };
  for (const SaveCase& c : cases) {
    TempFolder folder;
    const std::string path = folder / "default.1280x1024.qvd";
    auto prepare = [&] {
      testfiles::RemoveFile(path);
      if (c.before != kNoFile) testfiles::WriteBytes(path, c.before);
    };
    prepare();
    const auto entries = ListFolder(folder.Path());

    FaultSweep sweep = testfiles::SweepFileFaults(
        prepare, [&](FileSeam& files) { return SaveLayoutFile(path.c_str(), c.layout, files); },
        [&](const FaultRun& run) {
          const std::string where =
              std::string(c.name) + ": " + StepName(run.step) + " call " + std::to_string(run.call);
          EXPECT_EQ(run.result, 0) << where;
          if (c.before == kNoFile)
            EXPECT_FALSE(testfiles::Exists(path)) << where;
          else
            EXPECT_EQ(ReadBytes(path), c.before) << where;
          EXPECT_EQ(ListFolder(folder.Path()), entries) << where << ": something was left behind";
        });
    EXPECT_GE(sweep.reached[FaultyFileSeam::kReplace], 1) << c.name << ": the save must replace the file";
    EXPECT_GE(sweep.reached[FaultyFileSeam::kFlush], 1) << c.name << ": the new file must reach the disk first";
    RecordProperty(c.name, sweep.ToString());

    // And without faults the same save goes through.
    prepare();
    ASSERT_EQ(SaveLayoutFile(path.c_str(), c.layout), 1) << c.name;
    IconLayout loaded;
    ASSERT_EQ(LoadLayoutFile(path.c_str(), loaded), 1) << c.name;
    EXPECT_EQ(loaded.size(), c.layout.size()) << c.name;
  }
}

}  // namespace
