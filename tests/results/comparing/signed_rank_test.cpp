// The signed-rank interval of paired rounds against brute force: the null distribution from every
// sign pattern, and the interval as the shifts at which the test, inverted, rejects nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <numeric>
#include <random>
#include <vector>

#include "results/comparing/sequential_simulation.h"
#include "results/comparing/signed_rank.h"

namespace {

// How many of the 2^n sign patterns give each sum of positive ranks.
std::vector<double> PatternCounts(int n) {
  std::vector<double> counts(static_cast<std::size_t>(n * (n + 1) / 2) + 1, 0.0);
  for (unsigned pattern = 0; pattern < (1u << n); ++pattern) {
    std::size_t sum = 0;
    for (int rank = 1; rank <= n; ++rank) {
      if ((pattern >> (rank - 1)) & 1u) {
        sum += static_cast<std::size_t>(rank);
      }
    }
    ++counts[sum];
  }
  return counts;
}

// The largest w whose tail of the counts is at most level * total, -1 for none.
int CriticalFromCounts(const std::vector<double>& counts, double level) {
  double total = 0;
  for (const double count : counts) {
    total += count;
  }
  double tail = 0;
  int critical = -1;
  for (std::size_t w = 0; w < counts.size(); ++w) {
    tail += counts[w];
    if (tail > level * total * (1 + 1e-9)) {
      break;
    }
    critical = static_cast<int>(w);
  }
  return critical;
}

// W+ by sorting the |d|.
long long PositiveRankSum(const std::vector<double>& d) {
  std::vector<std::size_t> order(d.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&](std::size_t i, std::size_t j) { return std::fabs(d[i]) < std::fabs(d[j]); });
  long long sum = 0;
  for (std::size_t rank = 0; rank < order.size(); ++rank) {
    if (d[order[rank]] > 0) {
      sum += static_cast<long long>(rank) + 1;
    }
  }
  return sum;
}

TEST(SignedRank, NullDistributionCountsEverySignPattern) {
  for (int n = 1; n <= 12; ++n) {
    SCOPED_TRACE(n);
    const std::vector<double> counts = PatternCounts(n);
    const std::vector<double> probabilities = SignedRankProbabilities(n);
    ASSERT_EQ(probabilities.size(), counts.size());
    for (std::size_t s = 0; s < counts.size(); ++s) {
      EXPECT_EQ(std::ldexp(probabilities[s], n), counts[s]) << "sum " << s;
    }
  }
  // The largest: whole, symmetric, and its extreme exactly 2^-100.
  const std::vector<double> largest = SignedRankProbabilities(MaxPairs);
  ASSERT_EQ(largest.size(), 5051u);
  EXPECT_EQ(largest[0], std::ldexp(1.0, -100));
  EXPECT_NEAR(std::accumulate(largest.begin(), largest.end(), 0.0), 1.0, 1e-12);
  EXPECT_NEAR(largest[1000] / largest[4050], 1.0, 1e-12);
  EXPECT_TRUE(SignedRankProbabilities(MaxPairs + 1).empty());
  EXPECT_TRUE(SignedRankProbabilities(-1).empty());
}

TEST(SignedRank, CriticalValuesAreTheWidestTailWithinTheLevel) {
  for (const double level : {0.0025, 0.005, 0.0125, 0.025, 1.0 / 32, 0.05}) {
    SCOPED_TRACE(level);
    const std::vector<int> critical = SignedRankCriticalValues(12, level);
    ASSERT_EQ(critical.size(), 13u);
    EXPECT_EQ(critical[0], -1);
    for (int n = 1; n <= 12; ++n) {
      EXPECT_EQ(critical[static_cast<std::size_t>(n)], CriticalFromCounts(PatternCounts(n), level))
          << n << " pairs";
    }
  }
  // Tables of the two-sided 5% test, past the reach of enumeration.
  const std::vector<int> critical = SignedRankCriticalValues(MaxPairs, 0.025);
  const struct {
    std::size_t n;
    int critical;
  } printed[] = {{5, -1}, {6, 0}, {10, 8}, {15, 25}, {20, 52}, {25, 89}, {30, 137}, {50, 434}};
  for (const auto& row : printed) {
    EXPECT_EQ(critical[row.n], row.critical) << row.n << " pairs";
  }
  EXPECT_EQ(SignedRankCriticalValues(MaxPairs + 50, 0.025).size(), 101u) << "capped";
  for (const double level : {0.0, 0.5, std::nan("")}) {
    const std::vector<int> none = SignedRankCriticalValues(20, level);
    EXPECT_EQ(*std::max_element(none.begin(), none.end()), -1) << level;
  }
}

// For each shift c the test of d - c rejects on the lower side when W+ <= C and on the upper side
// when W+ >= n(n+1)/2 - C. W+ changes only where c passes a Walsh average, so the midpoints
// between neighbouring averages try every case, and the accepted ones are bounded by averages.
TEST(SignedRankInterval, IsTheSetOfShiftsTheTestAccepts) {
  std::mt19937_64 engine(7);
  const double levels[] = {0.0125, 0.025, 0.05};
  const double shifts[] = {0.0, 0.4, -1.5};
  int compared = 0;
  for (int trial = 0; trial < 36; ++trial) {
    const int n = 6 + trial % 7;
    const double level = levels[trial % 3];
    std::vector<double> d;
    for (int i = 0; i < n; ++i) {
      d.push_back(SymmetricUniform(engine) * (1 + i % 3) + shifts[trial % 3]);
    }
    SCOPED_TRACE(::testing::Message() << n << " pairs at " << level);
    const int critical = CriticalFromCounts(PatternCounts(n), level);
    const long long all = n * (n + 1) / 2;
    std::vector<double> averages;
    for (std::size_t i = 0; i < d.size(); ++i) {
      for (std::size_t j = i; j < d.size(); ++j) {
        averages.push_back((d[i] + d[j]) / 2);
      }
    }
    std::sort(averages.begin(), averages.end());
    auto accepts = [&](double c) {
      std::vector<double> shifted = d;
      for (double& value : shifted) {
        value -= c;
      }
      const long long w = PositiveRankSum(shifted);
      return w > critical && w < all - critical;
    };
    bool accepted = false;
    double low = 0;
    double high = 0;
    for (std::size_t k = 0; k + 1 < averages.size(); ++k) {
      if (accepts((averages[k] + averages[k + 1]) / 2)) {
        if (!accepted) {
          low = averages[k];
        }
        accepted = true;
        high = averages[k + 1];
      }
    }
    // A test that rejects nothing beyond the averages bounds nothing: no interval.
    const bool bounded = !accepts(averages.front() - 1) && !accepts(averages.back() + 1);
    const ShiftInterval interval = SignedRankInterval(d, level);
    ASSERT_EQ(interval.known, accepted && bounded);
    if (interval.known) {
      EXPECT_EQ(interval.low, low);
      EXPECT_EQ(interval.high, high);
      ++compared;
    }
  }
  EXPECT_GE(compared, 25);
}

TEST(PairedChangeInterval, PairsTheRoundsAndBoundsTheInput) {
  // d = k ln 2 for k = 1..7: with C = 2 the third smallest Walsh average is 2 ln 2 (after 1 and
  // 1.5), the third largest 6 ln 2 (after 7 and 6.5).
  const std::vector<double> first(7, 10.0);
  const std::vector<double> later = {20, 40, 80, 160, 320, 640, 1280};
  ASSERT_EQ(SignedRankCriticalValues(7, 0.025)[7], 2);
  RatioInterval interval = PairedChangeInterval(first, later, 0.025);
  ASSERT_TRUE(interval.known);
  EXPECT_NEAR(interval.low, 4, 1e-12);
  EXPECT_NEAR(interval.high, 64, 1e-12);
  EXPECT_EQ(Judge(interval, 0.03), Verdict::Faster);

  // A round with a missing or unusable figure on either side is left out whole, and rounds past
  // the shorter column are not paired.
  const double nan = std::nan("");
  const double inf = HUGE_VAL;
  const RatioInterval holed =
      PairedChangeInterval({10, nan, 10, 10, 10, 0, 10, 10, -1, 10, 10, 5},
                           {20, 1e6, 40, 80, inf, 1e6, 160, 320, 1e6, 640, 1280}, 0.025);
  ASSERT_TRUE(holed.known);
  EXPECT_EQ(holed.low, interval.low);
  EXPECT_EQ(holed.high, interval.high);

  // Five pairs cannot give a two-sided 95% interval (1/32 > 2.5%), six can.
  EXPECT_FALSE(PairedChangeInterval({1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}, 0.025).known);
  EXPECT_TRUE(PairedChangeInterval({1, 1, 1, 1, 1, 1}, {2, 2, 2, 2, 2, 2}, 0.025).known);

  // At most MaxPairs pairs: one more is refused, however many unusable rounds come between.
  std::vector<double> manyFirst;
  std::vector<double> manyLater;
  for (int round = 0; round < MaxPairs; ++round) {
    manyFirst.push_back(100 + round % 7);
    manyLater.push_back(nan);
    manyFirst.push_back(100 + round % 5);
    manyLater.push_back(100 + round % 3);
  }
  EXPECT_TRUE(PairedChangeInterval(manyFirst, manyLater, 0.0025).known);
  manyFirst.push_back(100);
  manyLater.push_back(100);
  EXPECT_FALSE(PairedChangeInterval(manyFirst, manyLater, 0.0025).known);
  EXPECT_FALSE(SignedRankInterval({1, nan, 2, 3, 4, 5, 6}, 0.025).known);
}

}  // namespace
