// Plain timing program for the Windows build (run under Wine): SaveLayoutFile
// and LoadLayoutFile of layouts of 1000 entries (or the counts given).
//
//   scripts/wine-run.sh --prefix build/windows/wineprefix
//     build/windows/bin/engine_layout_file_timing.exe [entries...]
//
// Each figure is the fastest of a few runs, so that the other work of a
// shared machine weighs as little as it can.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/layout_file.h"

namespace {

using Clock = std::chrono::steady_clock;

IconLayout MakeLayout(int n) {
  IconLayout layout;
  for (int i = 0; i < n; ++i) {
    layout.push_back({i, "アイコン " + std::to_string(i) + ".lnk", 20 + 75 * (i / 12), 2 + 70 * (i % 12)});
  }
  return layout;
}

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> counts;
  for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
  if (counts.empty()) counts.push_back(1000);
  const std::string path = (std::filesystem::temp_directory_path() / "tessaly-layout-timing.qvd").string();

  std::printf("%-8s %6s %12s %12s\n", "entries", "runs", "save ms", "load ms");
  for (int n : counts) {
    const IconLayout layout = MakeLayout(n);
    // A slow save (seconds) is timed once; a fast one several times.
    double save = 1e300;
    double load = 1e300;
    int runs = 0;
    for (double spent = 0; runs < 20 && (runs < 1 || spent < 2000); ++runs) {
      Clock::time_point start = Clock::now();
      if (SaveLayoutFile(path.c_str(), layout) != 1) {
        std::fprintf(stderr, "save of %d entries failed\n", n);
        return 1;
      }
      Clock::time_point saved = Clock::now();
      IconLayout loaded;
      if (LoadLayoutFile(path.c_str(), loaded) != 1 || loaded.size() != layout.size() ||
          loaded.back().name != layout.back().name) {
        std::fprintf(stderr, "load of %d entries failed\n", n);
        return 1;
      }
      Clock::time_point end = Clock::now();
      save = std::min(save, Milliseconds(saved - start));
      load = std::min(load, Milliseconds(end - saved));
      spent += Milliseconds(end - start);
    }
    std::printf("%-8d %6d %12.2f %12.2f\n", n, runs, save, load);
  }
  std::filesystem::remove(path);
  return 0;
}
