// The file-handling loops as the benchmark runs them: CycleCount stream cycles (create, open
// again, close both, remove) and CycleCount descriptor cycles (open read-write, close, remove), on
// one scratch name in the working directory. Compare builds of two versions to see whether a
// change made the loops slower.
//
// Run from a directory on the drive of interest:
//   cmake --preset bench && cmake --build --preset bench
//   cd <directory on the drive> && <checkout>/build/bench/bench/file_cycles
#include <benchmark/benchmark.h>

#include <fstream>

#include "contract/constants.h"
#include "single/file_cycles.h"

namespace {

constexpr const char* BenchName = "file-cycles-bench.tmp";

void BM_StreamFileCycles(benchmark::State& state) {
  std::ofstream out;
  std::ifstream in;
  OperationFailures failures;
  for (auto _ : state) {
    RunStreamFileCycles(out, in, BenchName, failures);
  }
  state.SetItemsProcessed(state.iterations() * CycleCount);
  if (failures.Any()) {
    state.SkipWithError("file operations failed");
  }
}

void BM_DescriptorFileCycles(benchmark::State& state) {
  OperationFailures failures;
  int descriptor = -1;
  for (auto _ : state) {
    for (int cycle = 0; cycle < CycleCount; ++cycle) {
      DescriptorFileCycle(BenchName, descriptor, failures);
    }
  }
  state.SetItemsProcessed(state.iterations() * CycleCount);
  if (failures.Any()) {
    state.SkipWithError("file operations failed");
  }
}

}  // namespace

BENCHMARK(BM_StreamFileCycles)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DescriptorFileCycles)->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
