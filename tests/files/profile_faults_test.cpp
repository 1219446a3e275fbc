// CProfile's writes and removals with every call of the file seam failing in
// turn: a failed call reports failure and leaves the file that was there byte
// for byte (or leaves no file where there was none), with no temporary file
// beside it.  On Windows the value writes are the system's own and do not go
// through the seam; only the removals are swept there.
#include "framework/files/profile.h"

#include <gtest/gtest.h>

#include <functional>
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

struct WriteCase {
  const char* name;
  const char* before;  // kNoFile: nothing at the path
  std::function<int(CProfile&)> write;
  int successResult;  // what the call returns when nothing fails
};

// Puts `before` at `path`, or removes whatever is there.
void PutFile(const std::string& path, const char* before) {
  testfiles::RemoveFile(path);
  if (before != kNoFile) testfiles::WriteBytes(path, before);
}

// Sweeps one case and checks every failed run.  Returns how far it went.
FaultSweep SweepCase(const WriteCase& c) {
  TempFolder folder;
  const std::string path = folder / "Tessaly.ini";
  PutFile(path, c.before);
  const auto entries = ListFolder(folder.Path());
  const std::string original = c.before == kNoFile ? "" : ReadBytes(path);

  CProfile reference;
  reference.Open(path.c_str(), 0, 0);
  EXPECT_EQ(c.write(reference), c.successResult) << c.name << ": without faults";
  EXPECT_NE(ReadBytes(path), original) << c.name << ": the call must change the file";

  FaultSweep sweep = testfiles::SweepFileFaults(
      [&] { PutFile(path, c.before); },
      [&](FileSeam& files) {
        CProfile profile(files);
        profile.Open(path.c_str(), 0, 0);
        int result = c.write(profile);
        profile.Close();
        return result;
      },
      [&](const FaultRun& run) {
        const std::string where = std::string(c.name) + ": " + StepName(run.step) + " call " + std::to_string(run.call);
        EXPECT_EQ(run.result, 0) << where;
        if (c.before == kNoFile)
          EXPECT_FALSE(testfiles::Exists(path)) << where;
        else
          EXPECT_EQ(ReadBytes(path), original) << where;
        EXPECT_EQ(ListFolder(folder.Path()), entries) << where << ": something was left behind";
      });
  return sweep;
}

const char kSettings[] =
    "[General]\r\nStart_AutoRestore=true\r\nAutoRestore=true\r\n[Other]\r\nAutoRestore=1\r\n"
    "[General]\r\nAutoRestore=false\r\n";

TEST(ProfileFaults, FailedValueWritesLeaveTheFileAsItWas) {
  const WriteCase cases[] = {
      {"new key in an existing section", kSettings,
       [](CProfile& p) { return p.WriteString("General", "Resolution_AutoCapture", "true"); }, 1},
      {"changed value", kSettings, [](CProfile& p) { return p.WriteBool("General", "Start_AutoRestore", 0); }, 1},
      {"integer in a new section", kSettings, [](CProfile& p) { return p.WriteInt("QVD-Data", "IconCount", -7); },
       1},
      {"first value of a new file", kNoFile, [](CProfile& p) { return p.WriteBool("General", "AutoRestore", 1); },
       1},
      {"key removed by a null value", kSettings,
       [](CProfile& p) { return p.WriteString("General", "AutoRestore", nullptr); }, 1},
      {"value into a file without line ends", "[General]\nx=1",
       [](CProfile& p) { return p.WriteString("General", "y", "2"); }, 1},
  };
  int reached = 0;
  for (const WriteCase& c : cases) {
    FaultSweep sweep = SweepCase(c);
    reached += sweep.Total();
    RecordProperty(c.name, sweep.ToString());
  }
  if (reached == 0) GTEST_SKIP() << "this build's value writes do not go through the file seam";
}

TEST(ProfileFaults, FailedRemovalsLeaveTheFileAsItWas) {
  const WriteCase cases[] = {
      {"DeleteKey, key in two copies of the section", kSettings,
       [](CProfile& p) { return p.DeleteKey("General", "AutoRestore"); }, 1},
      {"DeleteKey, bare line feeds and a Ctrl-Z", "[General]\nStartRestore=1\n\x1a" "tail\n",
       [](CProfile& p) { return p.DeleteKey("General", "StartRestore"); }, 1},
      {"DeleteSection", kSettings, [](CProfile& p) { return p.DeleteSection("General"); }, 1},
      {"DeleteSection of the whole file", "[General]\r\nA=1\r\n",
       [](CProfile& p) { return p.DeleteSection("General"); }, 1},
  };
  for (const WriteCase& c : cases) {
    FaultSweep sweep = SweepCase(c);
    EXPECT_GT(sweep.Total(), 0) << c.name << ": the removal never reached the seam";
    RecordProperty(c.name, sweep.ToString());
  }
}

}  // namespace
