// The simulation behind the levels of the sequential rule: its fast criterion against the real
// intervals, and the rule's promise at cap 30, that a session of no change crosses each side by
// chance at most 2.5% of the time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

#include "results/comparing/rank_tallies.h"
#include "results/comparing/sequential_rule.h"
#include "results/comparing/sequential_simulation.h"
#include "results/comparing/signed_rank.h"

namespace {

Crossing SideOf(double low, double high, double noChange) {
  if (low > noChange) {
    return Crossing::Upper;
  }
  if (high < noChange) {
    return Crossing::Lower;
  }
  return Crossing::None;
}

// Shifted sessions cross either side often, so both answers of the criterion are compared.
constexpr double Shifts[] = {0.0, 0.3, -0.3, 0.6, -0.6};

TEST(RankTallies, CrossTheSideWhereTheWalshAverageIntervalLies) {
  const int cap = 30;
  const double level = LevelsForCap(cap).paired;
  const std::vector<int> critical = SignedRankCriticalValues(cap, level);
  std::mt19937_64 engine(11);
  int seen[3] = {0, 0, 0};
  for (int session = 0; session < 100; ++session) {
    const double shift = Shifts[session % 5];
    SignedRankTally tally;
    std::vector<double> d;
    for (std::size_t look = 1; look <= static_cast<std::size_t>(cap); ++look) {
      d.push_back(SymmetricUniform(engine) + shift);
      tally.Add(d.back());
      const ShiftInterval interval = SignedRankInterval(d, level);
      const Crossing expected =
          interval.known ? SideOf(interval.low, interval.high, 0) : Crossing::None;
      ASSERT_EQ(tally.CrossingAt(critical[look]), expected)
          << "session " << session << ", look " << look;
      ++seen[static_cast<int>(expected)];
    }
  }
  EXPECT_GT(seen[static_cast<int>(Crossing::Upper)], 100);
  EXPECT_GT(seen[static_cast<int>(Crossing::Lower)], 100);
  EXPECT_GT(seen[static_cast<int>(Crossing::None)], 100);
}

TEST(RankTallies, CrossTheSideWhereTheRatioIntervalLies) {
  const int cap = 30;
  const double level = LevelsForCap(cap).unpaired;
  std::mt19937_64 engine(12);
  int seen[3] = {0, 0, 0};
  for (int session = 0; session < 60; ++session) {
    const double shift = Shifts[session % 5];
    RankSumTally tally;
    std::vector<double> first;
    std::vector<double> later;
    for (int look = 1; look <= cap; ++look) {
      first.push_back(std::exp(SymmetricUniform(engine)));
      later.push_back(std::exp(SymmetricUniform(engine) + shift));
      tally.AddFirst(first.back());
      tally.AddLater(later.back());
      const RatioInterval interval = ChangeIntervalAtLevel(first, later, level);
      const Crossing expected =
          interval.known ? SideOf(interval.low, interval.high, 1) : Crossing::None;
      ASSERT_EQ(tally.CrossingAt(LowerCriticalValueAtLevel(look, look, level)), expected)
          << "session " << session << ", look " << look;
      ++seen[static_cast<int>(expected)];
    }
  }
  EXPECT_GT(seen[static_cast<int>(Crossing::Upper)], 50);
  EXPECT_GT(seen[static_cast<int>(Crossing::Lower)], 50);
  EXPECT_GT(seen[static_cast<int>(Crossing::None)], 50);
}

// 2 x 10^4 sessions: a standard error of 0.11 points at 2.5%.
TEST(SequentialSimulation, AtCap30EachSideIsCrossedByChanceAtMostTwoAndAHalfPercent) {
  const int sessions = 20000;
  const double bound = 0.025 + 3 * std::sqrt(0.025 * 0.975 / sessions);
  const LookLevels levels = LevelsForCap(30);
  const CrossingShares paired = PairedNullCrossings(30, levels.paired, sessions, 1);
  EXPECT_LE(paired.upper, bound);
  EXPECT_LE(paired.lower, bound);
  // The level is not needlessly strict either: each look spends a fair part of the 2.5%.
  EXPECT_GE(paired.upper, 0.015);
  EXPECT_GE(paired.lower, 0.015);
  const CrossingShares unpaired = UnpairedNullCrossings(30, levels.unpaired, sessions, 1);
  EXPECT_LE(unpaired.upper, bound);
  EXPECT_LE(unpaired.lower, bound);
  EXPECT_GE(unpaired.upper, 0.015);
  EXPECT_GE(unpaired.lower, 0.015);
}

// The rounds to a verdict come from the real intervals and the running intersection: a clear
// change is found within a few rounds, a tight no-change is called the same, and a noisy
// no-change is called faster no more often than the level allows.
TEST(SequentialSimulation, PowerFindsClearChangesAndFewFalseOnes) {
  const int sessions = 400;
  const PowerResult clear = PairedPower(0.25, 0.05, 30, 0.03, sessions, 2);
  EXPECT_EQ(clear.decided, 1.0);
  EXPECT_EQ(clear.faster, 1.0);
  EXPECT_GE(clear.medianRounds, 8) << "no interval before 8 pairs at the level of cap 30";
  EXPECT_LE(clear.medianRounds, 10);
  const PowerResult noisier = PairedPower(0.25, 0.15, 30, 0.03, sessions, 2);
  EXPECT_GT(noisier.medianRounds, clear.medianRounds);

  const PowerResult tight = PairedPower(0.0, 0.01, 30, 0.03, sessions, 2);
  EXPECT_EQ(tight.decided, 1.0);
  EXPECT_EQ(tight.faster, 0.0);
  const PowerResult noisy = PairedPower(0.0, 0.4, 30, 0.03, sessions, 2);
  EXPECT_LE(noisy.faster, 0.025 + 3 * std::sqrt(0.025 * 0.975 / sessions));
  EXPECT_EQ(noisy.medianRounds, 31) << "most never decide";
  EXPECT_GE(noisy.medianRoundsDecided, 8);
  EXPECT_LE(noisy.medianRoundsDecided, 30);

  EXPECT_EQ(PairedPower(0.25, 0.05, MaxPairs + 1, 0.03, sessions, 2).decided, 0.0) << "no levels";
}

}  // namespace
