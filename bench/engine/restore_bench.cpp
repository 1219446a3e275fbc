// Restore against the in-memory desktop, and the layout files.
//
//   bash scripts/bench-engine.sh   (or build/linux/bin/engine_bench)
//
// The counter "moves" is the number of moves one restore sends.
#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/restore.h"

namespace {

// The desktop the restores park on, as the native build measures its screen.
constexpr ScreenSize kScreen{1024, 768};

std::pair<int, int> Place(int i) { return {20 + 60 * (i % 40), 20 + 60 * (i / 40)}; }

// A desktop held in a plain list, which counts the moves it is sent and keeps
// no log: the time measured is the engine's.
class BenchDesktop final : public DesktopIconView {
 public:
  struct Icon {
    std::string name;
    int x;
    int y;
  };

  void AddIcon(const std::string& name, int x, int y) { icons_.push_back({name, x, y}); }
  int Moves() const { return moves_; }

  DesktopViewHandle FindDesktopListView() override { return this; }
  bool Open() override { return true; }
  int GetItemCount() override { return static_cast<int>(icons_.size()); }
  bool ReadItemText(int index, IconEntry& entry) override {
    entry.name = icons_[static_cast<size_t>(index)].name;
    return true;
  }
  bool ReadItemPosition(int index, int& x, int& y) override {
    x = icons_[static_cast<size_t>(index)].x;
    y = icons_[static_cast<size_t>(index)].y;
    return true;
  }
  void SetItemPosition(int index, int x, int y) override {
    icons_[static_cast<size_t>(index)].x = x;
    icons_[static_cast<size_t>(index)].y = y;
    ++moves_;
  }
  void FlushMoves() override {}
  void Close() override {}
  bool IsViewPresent() override { return true; }
  bool GetViewSize(int&, int&) override { return false; }

 private:
  std::vector<Icon> icons_;
  int moves_ = 0;
};

// Restores `target` onto copies of `desktop`, timing the restore alone (the
// copies are made, and the previous ones given up, while the clock stops).
void RunRestore(benchmark::State& state, const BenchDesktop& desktop, const IconLayout& target) {
  int moves = 0;
  BenchDesktop view;
  IconLayout stored;
  for (auto _ : state) {
    state.PauseTiming();
    view = desktop;
    stored = target;
    state.ResumeTiming();
    if (RestoreIconLayout(view, stored, SingleMonitorSetup(kScreen)) != 0) state.SkipWithError("restore failed");
    benchmark::DoNotOptimize(view);
    moves = view.Moves();
  }
  state.counters["moves"] = static_cast<double>(moves);
  state.SetComplexityN(state.range(0));
}

// n icons on a grid, and a stored layout that puts every icon on the next
// icon's place: every stored place is taken when its icon comes to it.
void BM_Restore(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  BenchDesktop desktop;
  IconLayout target;
  for (int i = 0; i < n; ++i) {
    desktop.AddIcon("icon" + std::to_string(i), Place(i).first, Place(i).second);
    target.push_back({0, "icon" + std::to_string(i), Place((i + 1) % n).first, Place((i + 1) % n).second});
  }
  RunRestore(state, desktop, target);
}
BENCHMARK(BM_Restore)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity();

// A desktop that stands as stored, except that the last k icons were moved
// away to free places.
void BM_RestoreMovedAway(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const int k = static_cast<int>(state.range(1));
  BenchDesktop desktop;
  IconLayout target;
  for (int i = 0; i < n; ++i) {
    const auto place = i < n - k ? Place(i) : Place(n + i);
    desktop.AddIcon("icon" + std::to_string(i), place.first, place.second);
    target.push_back({0, "icon" + std::to_string(i), Place(i).first, Place(i).second});
  }
  RunRestore(state, desktop, target);
}
BENCHMARK(BM_RestoreMovedAway)
    ->Args({200, 0})
    ->Args({200, 5})
    ->Args({1000, 0})
    ->Args({5000, 0})
    ->Args({5000, 50})
    ->Unit(benchmark::kMillisecond);

}  // namespace
