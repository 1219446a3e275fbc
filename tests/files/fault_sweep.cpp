#include "tests/files/fault_sweep.h"

#include <algorithm>
#include <filesystem>

#include "tests/files/temp_folder.h"

namespace testfiles {

namespace {

// No operation of the program takes a step this often; a sweep that gets
// here has lost its way.
constexpr int kCallLimit = 100000;

}  // namespace

int FaultSweep::Total() const {
  int total = 0;
  for (int n : reached) total += n;
  return total;
}

std::string FaultSweep::ToString() const {
  std::string text;
  for (int s = 0; s < FaultyFileSeam::kStepCount; ++s) {
    if (!text.empty()) text += ", ";
    text += StepName(static_cast<FaultyFileSeam::Step>(s));
    text += " " + std::to_string(reached[s]);
  }
  return text;
}

const char* StepName(FaultyFileSeam::Step step) {
  switch (step) {
    case FaultyFileSeam::kCreate: return "create";
    case FaultyFileSeam::kWrite: return "write";
    case FaultyFileSeam::kClose: return "close";
    case FaultyFileSeam::kFlush: return "flush";
    case FaultyFileSeam::kReplace: return "replace";
    default: return "?";
  }
}

FaultSweep SweepFileFaults(const std::function<void()>& prepare, const std::function<int(FileSeam&)>& operation,
                           const std::function<void(const FaultRun&)>& judge) {
  FaultSweep sweep;
  for (int s = 0; s < FaultyFileSeam::kStepCount; ++s) {
    const auto step = static_cast<FaultyFileSeam::Step>(s);
    for (int call = 1; call < kCallLimit; ++call) {
      prepare();
      FaultyFileSeam seam(step, call);
      const int result = operation(seam);
      if (!seam.Failed()) break;
      sweep.reached[s] = call;
      judge({step, call, result});
    }
  }
  return sweep;
}

std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(TempFolder::NativePath(folder), error))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace testfiles
