// Plain timing program for the Windows build (run under Wine): writing and
// reading a layout-sized profile through the system's private-profile calls.
// Run (one line): scripts/wine-run.sh --prefix build/windows/wineprefix
//   build/windows/bin/files_profile_timing.exe
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/files/layout_profile_workload.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main() {
  const std::string path = (std::filesystem::temp_directory_path() / "tessaly-profile-bench.qvd").string();
  std::printf("%-6s %-6s %8s %12s %14s\n", "n", "values", "runs", "total ms", "us per value");
  for (int icons : {100, 1000}) {
    const int values = benchfiles::LayoutValueCount(icons);
    const int runs = icons <= 100 ? 5 : 1;
    for (const char* what : {"write", "read"}) {
      bool writing = what[0] == 'w';
      if (!writing && !benchfiles::WriteLayoutProfile(path, icons)) return 1;
      Clock::time_point start = Clock::now();
      for (int run = 0; run < runs; ++run) {
        bool ok = writing ? benchfiles::WriteLayoutProfile(path, icons) : benchfiles::ReadLayoutProfile(path, icons) >= 0;
        if (!ok) {
          std::fprintf(stderr, "%s failed for n = %d\n", what, icons);
          return 1;
        }
      }
      double seconds = Seconds(Clock::now() - start) / runs;
      std::printf("%-6d %-6d %8d %12.2f %14.2f  %s\n", icons, values, runs, seconds * 1e3, seconds * 1e6 / values, what);
    }
  }
  std::filesystem::remove(path);
  return 0;
}
