// SaveLayoutFile and LoadLayoutFile of 1000 and 5000 entries, in a folder
// under the system's temporary folder.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include <string>

#include "engine/layout_file.h"

namespace {

namespace fs = std::filesystem;

// The program's form of a path: backslashes between components.
std::string ProgramPath(const fs::path& path) {
  std::string text = path.string();
  for (char& c : text)
    if (c == '/') c = '\\';
  return text;
}

class BenchFolder {
 public:
  BenchFolder() : folder(fs::temp_directory_path() / ("tessaly-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(folder);
  }
  ~BenchFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  std::string File(const char* name) const { return ProgramPath(folder / name); }

 private:
  fs::path folder;
};

IconLayout MakeLayout(int n) {
  IconLayout layout;
  for (int i = 0; i < n; ++i) layout.push_back({i, "icon " + std::to_string(i), 20 + 75 * (i / 12), 2 + 70 * (i % 12)});
  return layout;
}

void BM_SaveLayoutFile(benchmark::State& state) {
  BenchFolder folder;
  const std::string path = folder.File("default.1024x768.qvd");
  const IconLayout layout = MakeLayout(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (SaveLayoutFile(path.c_str(), layout) != 1) state.SkipWithError("save failed");
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SaveLayoutFile)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_LoadLayoutFile(benchmark::State& state) {
  BenchFolder folder;
  const std::string path = folder.File("default.1024x768.qvd");
  if (SaveLayoutFile(path.c_str(), MakeLayout(static_cast<int>(state.range(0)))) != 1) {
    state.SkipWithError("save failed");
    return;
  }
  IconLayout layout;
  for (auto _ : state) {
    if (LoadLayoutFile(path.c_str(), layout) != 1) state.SkipWithError("load failed");
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadLayoutFile)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
