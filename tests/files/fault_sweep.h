// Runs a file-writing operation again and again, each time with one call of
// the file seam failing: every step kind (create, write, close, flush, replace) and,
// for each, call 1, 2, ... until a run no longer reaches that call.  The
// caller judges each failed run; a run that reaches the call but still
// reports success is no failed run for the sweep, only for the judge.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/support/faulty_file_seam.h"

namespace testfiles {

struct FaultRun {
  FaultyFileSeam::Step step;
  int call;    // the failing call of that step, counted from 1
  int result;  // what the operation returned
};

// How far a sweep went: for each step kind, the highest call number that
// some run reached (0 when the operation never takes that step).
struct FaultSweep {
  int reached[FaultyFileSeam::kStepCount] = {};
  int Total() const;
  // "create 3, write 3, close 3, replace 4", for reports.
  std::string ToString() const;
};

// `prepare` puts the starting files in place before every run; `operation`
// writes through the failing seam it is handed and returns its result;
// `judge` is called for every run in which the failure happened.
FaultSweep SweepFileFaults(const std::function<void()>& prepare, const std::function<int(FileSeam&)>& operation,
                           const std::function<void(const FaultRun&)>& judge);

const char* StepName(FaultyFileSeam::Step step);

// The names of the entries of a folder (program-form path), sorted, so that a
// test can see that a failed write left nothing behind.
std::vector<std::string> ListFolder(const std::string& folder);

}  // namespace testfiles
