#include "results/comparing/sequential_simulation.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "results/comparing/rank_tallies.h"
#include "results/comparing/sequential_rule.h"
#include "results/comparing/signed_rank.h"

namespace {

// 2^-52: the spacing of the odd multiples that SymmetricUniform returns.
const double Spacing = std::ldexp(1.0, -52);

bool SessionsAllowed(int cap, int sequences) {
  return cap >= 1 && cap <= MaxPairs && sequences >= 1;
}

struct CrossingCounts {
  long long upper = 0;
  long long lower = 0;

  void Add(bool upperCrossed, bool lowerCrossed) {
    upper += upperCrossed ? 1 : 0;
    lower += lowerCrossed ? 1 : 0;
  }
  CrossingShares Shares(int sequences) const {
    return {static_cast<double>(upper) / sequences, static_cast<double>(lower) / sequences};
  }
};

}  // namespace

double SymmetricUniform(std::mt19937_64& engine) {
  // (2k + 1) / 2^52 for k < 2^52 is exact and lies in (0, 2); taking 1 off stays exact.
  const std::uint64_t k = engine() >> 12;
  return static_cast<double>(2 * k + 1) * Spacing - 1;
}

double StandardNormal(std::mt19937_64& engine) {
  while (true) {
    const double u = SymmetricUniform(engine);
    const double v = SymmetricUniform(engine);
    const double s = u * u + v * v;
    if (s < 1) {  // never 0: u is never 0
      return u * std::sqrt(-2 * std::log(s) / s);
    }
  }
}

// Under no change the signs of the ranked |d| are fair coins whatever the (symmetric, continuous)
// law of d, so the ranks of uniform draws give the exact null law of every look.
CrossingShares PairedNullCrossings(int cap, double oneTailLevel, int sequences,
                                   std::uint64_t seed) {
  if (!SessionsAllowed(cap, sequences)) {
    return {};
  }
  const std::vector<int> critical = SignedRankCriticalValues(cap, oneTailLevel);
  std::mt19937_64 engine(seed);
  CrossingCounts counts;
  for (int sequence = 0; sequence < sequences; ++sequence) {
    SignedRankTally tally;
    bool upper = false;
    bool lower = false;
    for (std::size_t look = 1; look <= static_cast<std::size_t>(cap); ++look) {
      tally.Add(SymmetricUniform(engine));
      const Crossing crossing = tally.CrossingAt(critical[look]);
      upper = upper || crossing == Crossing::Upper;
      lower = lower || crossing == Crossing::Lower;
    }
    counts.Add(upper, lower);
  }
  return counts.Shares(sequences);
}

// Likewise every ordering of the two sides' runs is equally likely under no change.
CrossingShares UnpairedNullCrossings(int cap, double oneTailLevel, int sequences,
                                     std::uint64_t seed) {
  if (!SessionsAllowed(cap, sequences)) {
    return {};
  }
  std::vector<int> critical;
  for (int look = 1; look <= cap; ++look) {
    critical.push_back(LowerCriticalValueAtLevel(look, look, oneTailLevel));
  }
  std::mt19937_64 engine(seed);
  CrossingCounts counts;
  for (int sequence = 0; sequence < sequences; ++sequence) {
    RankSumTally tally;
    bool upper = false;
    bool lower = false;
    for (const int lookCritical : critical) {
      tally.AddFirst(SymmetricUniform(engine));
      tally.AddLater(SymmetricUniform(engine));
      const Crossing crossing = tally.CrossingAt(lookCritical);
      upper = upper || crossing == Crossing::Upper;
      lower = lower || crossing == Crossing::Lower;
    }
    counts.Add(upper, lower);
  }
  return counts.Shares(sequences);
}

PowerResult PairedPower(double change, double spread, int cap, double threshold, int sequences,
                        std::uint64_t seed) {
  const double level = LevelsForCap(cap).paired;
  if (!SessionsAllowed(cap, sequences) || level <= 0 || !(change > -1) || !(spread >= 0)) {
    return {};
  }
  std::mt19937_64 engine(seed);
  std::vector<int> rounds;
  long long decided = 0;
  long long faster = 0;
  std::vector<double> first;
  std::vector<double> later;
  for (int sequence = 0; sequence < sequences; ++sequence) {
    first.clear();
    later.clear();
    SequentialInterval state;
    int reached = cap + 1;
    for (int round = 1; round <= cap; ++round) {
      first.push_back(std::exp(spread * StandardNormal(engine)));
      later.push_back((1 + change) * std::exp(spread * StandardNormal(engine)));
      state = WithLook(state, PairedChangeInterval(first, later, level));
      const Verdict verdict = SequentialVerdict(state, threshold);
      if (verdict != Verdict::Undecided) {
        reached = round;
        ++decided;
        faster += verdict == Verdict::Faster ? 1 : 0;
        break;
      }
    }
    rounds.push_back(reached);
  }
  // The lower median of each: the decided sessions' rounds sort before the cap + 1 of the rest.
  std::sort(rounds.begin(), rounds.end());
  const auto medianOf = [&](long long count) {
    return count == 0 ? 0 : rounds[static_cast<std::size_t>((count - 1) / 2)];
  };
  return {medianOf(sequences), medianOf(decided), static_cast<double>(decided) / sequences,
          static_cast<double>(faster) / sequences};
}
