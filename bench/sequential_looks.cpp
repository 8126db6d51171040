// What a look of `run --until-decided` costs the companion: after every round each later column's
// figures get the signed-rank interval of all their pairs so far, intersected with the looks
// before. Two later columns of 36 figures each, at 8, 30 and 100 rounds (the most a session has);
// and all the looks of a session of 100 rounds at once, as `show` takes them from the files. A
// round of the benchmark takes tens of seconds, so a look must stay far under 1% of that.
//
//   cmake --preset bench && cmake --build --preset bench --target sequential_looks
//   build/bench/bench/sequential_looks
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "results/comparing/paired_looks.h"
#include "results/comparing/sequential_rule.h"
#include "results/comparing/signed_rank.h"

namespace {

constexpr int Series = 2 * 36;   // two later columns of every figure
constexpr double Level = 0.005;  // the look's level for a cap of 30

// Each series' runs of `rounds` rounds: lognormal figures with a spread of 10%, the later one 5%
// faster.
struct Rounds {
  std::vector<std::vector<double>> first, later;
};

Rounds MakeRounds(int rounds) {
  std::mt19937_64 engine(7);
  std::normal_distribution<double> noise(0, 0.1);
  Rounds made;
  for (int s = 0; s < Series; ++s) {
    made.first.emplace_back();
    made.later.emplace_back();
    for (int r = 0; r < rounds; ++r) {
      made.first.back().push_back(1000 * std::exp(noise(engine)));
      made.later.back().push_back(1050 * std::exp(noise(engine)));
    }
  }
  return made;
}

// One look after round `rounds`: every series' interval of all its pairs, intersected.
void BM_OneLook(benchmark::State& state) {
  const Rounds rounds = MakeRounds(static_cast<int>(state.range(0)));
  std::vector<SequentialInterval> states(Series);
  for (auto _ : state) {
    for (int s = 0; s < Series; ++s) {
      const std::size_t i = static_cast<std::size_t>(s);
      states[i] =
          WithLook(states[i], PairedChangeInterval(rounds.first[i], rounds.later[i], Level));
    }
    benchmark::DoNotOptimize(states.data());
  }
}
BENCHMARK(BM_OneLook)->Arg(8)->Arg(30)->Arg(100)->Unit(benchmark::kMillisecond);

// Every look of a session of 100 rounds, as `show` and `chart` take them from the files.
void BM_EveryLookOfASession(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const Rounds rounds = MakeRounds(count);
  for (auto _ : state) {
    for (int s = 0; s < Series; ++s) {
      const std::size_t i = static_cast<std::size_t>(s);
      PairedLooks looks(Level);
      for (std::size_t r = 0; r < static_cast<std::size_t>(count); ++r) {
        looks.AddRound(rounds.first[i][r], rounds.later[i][r]);
      }
      benchmark::DoNotOptimize(looks.State());
    }
  }
}
BENCHMARK(BM_EveryLookOfASession)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
