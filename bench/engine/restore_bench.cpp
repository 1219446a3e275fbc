// Restore against the in-memory desktop, and the layout files.
//
//   bash scripts/bench-engine.sh   (or build/linux/bin/engine_bench)
#include <benchmark/benchmark.h>

#include <string>

#include "engine/memory_desktop_view.h"
#include "engine/restore.h"

namespace {

// n icons on a grid, and a stored layout that puts every icon on the next
// icon's place: each entry finds an occupant and costs three moves.
void BM_Restore(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  MemoryDesktopView desktop;
  IconLayout target;
  auto place = [](int i) { return std::make_pair(20 + 60 * (i % 40), 20 + 60 * (i / 40)); };
  for (int i = 0; i < n; ++i) {
    desktop.AddIcon("icon" + std::to_string(i), place(i).first, place(i).second);
    target.push_back({0, "icon" + std::to_string(i), place((i + 1) % n).first, place((i + 1) % n).second});
  }
  for (auto _ : state) {
    state.PauseTiming();
    MemoryDesktopView view = desktop;
    IconLayout stored = target;
    state.ResumeTiming();
    RestoreIconLayout(view, stored);
    benchmark::DoNotOptimize(view);
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_Restore)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
