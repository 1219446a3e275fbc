// Throughput of the generator's output forms.
#include <benchmark/benchmark.h>

#include "framework/window/mersenne_twister.h"

namespace {

void BM_GenRandInt32(benchmark::State& state) {
  CMersenneTwister generator;
  generator.InitGenRand(5489);
  for (auto _ : state) benchmark::DoNotOptimize(generator.GenRandInt32());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GenRandInt32);

void BM_GenRandRes53(benchmark::State& state) {
  CMersenneTwister generator;
  generator.InitGenRand(5489);
  for (auto _ : state) benchmark::DoNotOptimize(generator.GenRandRes53());
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GenRandRes53);

// What a lock pays to make up a name: seeding by an array of eight words.
void BM_InitByArray8(benchmark::State& state) {
  const uint32_t key[8] = {12 * 2026, 16 * 7, 30 * 45, 123, 41, 18467, 6334, 26500};
  CMersenneTwister generator;
  for (auto _ : state) {
    generator.InitByArray(key, 8);
    benchmark::DoNotOptimize(generator.GenRandInt32());
  }
}
BENCHMARK(BM_InitByArray8);

}  // namespace

BENCHMARK_MAIN();
