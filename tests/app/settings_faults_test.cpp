// The settings save with every call of the file seam failing in turn: the
// save reports 0 and Tessaly.ini is byte for byte as it was (or still absent),
// with nothing left beside it.  A failure while the legacy keys are removed
// is the one that may pass: the options are then saved and a legacy key
// stays, which the new keys outweigh.
#include "app/settings.h"

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

std::string ValueOf(const std::string& path, const char* key) {
  CProfile profile;
  char value[256] = {};
  if (profile.Open(path.c_str(), 1, 0) != 1) return "<unreadable>";
  profile.GetString("General", key, "<absent>", value, sizeof value);
  profile.Close();
  return value;
}

struct SaveCase {
  const char* name;
  const char* before;  // kNoFile: nothing at the path
};

TEST(SettingsFaults, FailedSaveAtAnyCallKeepsTheSettingsFile) {
  const SaveCase cases[] = {
      {"file of this version", "[General]\r\nStart_AutoRestore=false\r\nResolution_AutoRestore=false\r\n"
                               "Resolution_AutoCapture=false\r\n"},
      {"file with the legacy keys", "[General]\r\nStartRestore=false\r\nAutoRestore=false\r\n[Other]\r\nx=1\r\n"},
      {"first save", kNoFile},
  };
  for (const SaveCase& c : cases) {
    TempFolder folder;
    const std::string path = folder / "Tessaly.ini";
    auto prepare = [&] {
      testfiles::RemoveFile(path);
      if (c.before != kNoFile) testfiles::WriteBytes(path, c.before);
    };
    prepare();
    const auto entries = ListFolder(folder.Path());
    // The file as a save without faults leaves it.
    std::string saved;
    {
      AppSettings settings;
      settings.startAutoRestore = settings.resolutionAutoRestore = settings.resolutionAutoCapture = 1;
      ASSERT_EQ(settings.SaveTo(path.c_str()), 1) << c.name;
      saved = ReadBytes(path);
    }
    const auto savedEntries = ListFolder(folder.Path());

    FaultSweep sweep = testfiles::SweepFileFaults(
        prepare,
        [&](FileSeam& files) {
          AppSettings settings(files);
          settings.startAutoRestore = 1;
          settings.resolutionAutoRestore = 1;
          settings.resolutionAutoCapture = 1;
          return settings.SaveTo(path.c_str());
        },
        [&](const FaultRun& run) {
          const std::string where =
              std::string(c.name) + ": " + StepName(run.step) + " call " + std::to_string(run.call);
          if (run.result == 1 && ReadBytes(path) != saved) {
            // Only a legacy key may have stayed; the options are saved.
            EXPECT_TRUE(ValueOf(path, "StartRestore") != "<absent>" || ValueOf(path, "AutoRestore") != "<absent>")
                << where << ": the save reported success although it failed\n" << ReadBytes(path);
            AppSettings loaded;
            EXPECT_EQ(loaded.LoadFrom(path.c_str(), nullptr), 1) << where;
            EXPECT_EQ(loaded.startAutoRestore + loaded.resolutionAutoRestore + loaded.resolutionAutoCapture, 3)
                << where << "\n" << ReadBytes(path);
          } else if (run.result != 1) {
            EXPECT_EQ(run.result, 0) << where;
            if (c.before == kNoFile)
              EXPECT_FALSE(testfiles::Exists(path)) << where;
            else
              EXPECT_EQ(ReadBytes(path), c.before) << where;
          }
          EXPECT_EQ(ListFolder(folder.Path()), run.result == 1 ? savedEntries : entries)
              << where << ": something was left behind";
        });
    EXPECT_GE(sweep.reached[FaultyFileSeam::kReplace], 1) << c.name << ": the save must replace the file";
    EXPECT_GE(sweep.reached[FaultyFileSeam::kFlush], 1) << c.name << ": the new file must reach the disk first";
    RecordProperty(c.name, sweep.ToString());

    EXPECT_EQ(ValueOf(path, "StartRestore"), "<absent>") << c.name;
    EXPECT_EQ(ValueOf(path, "AutoRestore"), "<absent>") << c.name;
  }
}

// A settings folder that could not be made: the save reaches no disk and
// says so.
TEST(SettingsFaults, SaveIntoAMissingFolderFails) {
  TempFolder folder;
  const std::string path = folder / "Brindle-Works" + "\\Tessaly.ini";
  AppSettings settings;
  settings.startAutoRestore = 1;
  EXPECT_EQ(settings.SaveTo(path.c_str()), 0);
  EXPECT_TRUE(ListFolder(folder.Path()).empty());
}

}  // namespace
