// The byte-wise read (get and sync per byte) with 1 and 2 workers at once, each on its own
// scratch file and stream. With the per-thread stream table every worker's stream has cache lines
// of its own, so two workers should each run about as fast as one alone ("per worker" time about
// equal, real time about equal). The packed variant puts the two streams side by side in a plain
// array, as a naive table would, for comparison.
//
// Run from a directory on the drive of interest:
//   cmake --preset bench && cmake --build --preset bench
//   cd <directory on the drive> && <checkout>/build/bench/bench/byte_read_scaling
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

#include "contract/constants.h"
#include "single/byte_passes.h"
#include "state/thread_slots.h"

namespace {

std::string ScratchName(int worker) {
  return "byte-read-scaling-" + std::to_string(worker);
}

void WriteScratchFile(int worker) {
  std::ofstream out(ScratchName(worker), std::ios::binary);
  const std::string contents(static_cast<std::size_t>(FirstPassBytes), FillByte);
  out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
}

// Two streams next to each other, as in an array without per-entry alignment.
std::ifstream packedStreams[2];

template <typename StreamFor>
void ReadBytesPerWorker(benchmark::State& state, StreamFor streamFor) {
  const int worker = static_cast<int>(state.thread_index());
  WriteScratchFile(worker);
  std::ifstream& in = streamFor(worker);
  const std::string name = ScratchName(worker);
  for (auto _ : state) {
    in.open(name, std::ios::in | std::ios::binary);
    OperationFailures failures;
    ReadBytePasses(in, failures);
    in.close();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(ByteAccessCount));
}

void BM_ByteReadThreadSlots(benchmark::State& state) {
  ReadBytesPerWorker(state, [](int worker) -> std::ifstream& { return threadByteIn[worker]; });
}

void BM_ByteReadPackedStreams(benchmark::State& state) {
  ReadBytesPerWorker(state, [](int worker) -> std::ifstream& { return packedStreams[worker]; });
}

}  // namespace

BENCHMARK(BM_ByteReadThreadSlots)
    ->Threads(1)
    ->Threads(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ByteReadPackedStreams)
    ->Threads(1)
    ->Threads(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
