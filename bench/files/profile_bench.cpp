// Google Benchmark: writing and reading a layout-sized profile natively.
// Run: build/linux/bin/files_profile_bench
// The items per second it reports are values per second (1 + 3n per run).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/files/layout_profile_workload.h"

namespace {

std::string BenchPath() {
  std::string path = (std::filesystem::temp_directory_path() / "tessaly-profile-bench.qvd").string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

void BM_WriteLayoutProfile(benchmark::State& state) {
  const int icons = static_cast<int>(state.range(0));
  const std::string path = BenchPath();
  for (auto _ : state) {
    if (!benchfiles::WriteLayoutProfile(path, icons)) state.SkipWithError("write failed");
  }
  state.SetItemsProcessed(state.iterations() * benchfiles::LayoutValueCount(icons));
}

void BM_ReadLayoutProfile(benchmark::State& state) {
  const int icons = static_cast<int>(state.range(0));
  const std::string path = BenchPath();
  if (!benchfiles::WriteLayoutProfile(path, icons)) state.SkipWithError("write failed");
  for (auto _ : state) {
    long sum = benchfiles::ReadLayoutProfile(path, icons);
    if (sum < 0) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * benchfiles::LayoutValueCount(icons));
}

BENCHMARK(BM_WriteLayoutProfile)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLayoutProfile)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::temp_directory_path() / "tessaly-profile-bench.qvd", ignored);
  return 0;
}
