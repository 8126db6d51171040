// The 95% interval of a change and its verdict, against published critical values of the
// Mann-Whitney U and intervals worked out by hand.
#include <gtest/gtest.h>

#include <bitset>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <vector>

#include "results/comparing/interval.h"

namespace {

// The lower critical values of U for a two-sided test at 5% as statistics tables print them, and
// -1 where the table has none.
TEST(MannWhitney, ExactCriticalValuesMatchTheTables) {
  const struct {
    int m, n, critical;
  } cases[] = {{4, 4, 0},     {5, 5, 2},  {6, 6, 5},  {7, 7, 8},   {8, 8, 13}, {10, 10, 23},
               {20, 20, 127}, {3, 5, 0},  {3, 10, 3}, {2, 8, 0},   {4, 6, 2},  {6, 4, 2},
               {5, 10, 8},    {1, 39, 0}, {2, 7, -1}, {1, 38, -1}, {3, 3, -1}, {0, 5, -1}};
  for (const auto& test : cases) {
    EXPECT_EQ(LowerCriticalValue(test.m, test.n), test.critical) << test.m << " against " << test.n;
  }
  // The distribution itself: 3 against 3 has 20 orderings, one with U = 0.
  const std::vector<double> cdf = MannWhitneyCdf(3, 3);
  ASSERT_EQ(cdf.size(), 10u);
  EXPECT_DOUBLE_EQ(cdf[0], 1.0 / 20);
  EXPECT_DOUBLE_EQ(cdf[4], 10.0 / 20) << "symmetric about 4.5";
  EXPECT_DOUBLE_EQ(cdf[9], 1.0);
  // Past 50 runs a side the normal approximation takes over, where it agrees with the exact
  // value at 50.
  EXPECT_EQ(LowerCriticalValue(50, 50), 965);
  EXPECT_EQ(LowerCriticalValue(51, 51), 1007);
}

struct IntervalCase {
  const char* what;
  std::vector<double> a, b;
  bool known;
  double low, high;  // percent
  Verdict verdict;   // at 3%
};

const std::vector<IntervalCase>& IntervalCases() {
  const double nan = std::nan("");
  static const std::vector<IntervalCase> cases = {
      // C = 0: the extreme ratios, 11/13 and 14/10.
      {"4 against 4",
       {10, 11, 12, 13},
       {11, 12, 13, 14},
       true,
       11.0 / 13 * 100 - 100,
       40,
       Verdict::Undecided},
      // C = 2: the third smallest ratio 108/101 (after 108/102, 109/102), the third largest
      // 112/99 (after 112/98, 111/98).
      {"5 against 5",
       {100, 102, 98, 101, 99},
       {110, 112, 108, 111, 109},
       true,
       108.0 / 101 * 100 - 100,
       112.0 / 99 * 100 - 100,
       Verdict::Faster},
      {"2 against 8",
       {100, 100},
       {90, 95, 100, 105, 110, 115, 120, 125},
       true,
       -10,
       25,
       Verdict::Undecided},
      // C = 2 of 24 ratios: the third smallest 99/100 (after 99/101, 99/100), the third largest
      // 100/99 (after 101/99, 100/99).
      {"4 against 6",
       {100, 101, 99, 100},
       {100, 100, 101, 99, 100, 100},
       true,
       -1,
       100.0 / 99 * 100 - 100,
       Verdict::Same},
      {"ties", {10, 10, 10, 10}, {10, 10, 10, 10}, true, 0, 0, Verdict::Same},
      // The third smallest 81/104 (after 80/104, 80/103), the third largest 83/100.
      {"slower",
       {100, 101, 102, 103, 104},
       {80, 81, 82, 83, 84},
       true,
       81.0 / 104 * 100 - 100,
       -17,
       Verdict::Slower},
      {"a missing figure is left out",
       {10, nan, 11, 12, 13},
       {11, 12, 13, 14},
       true,
       11.0 / 13 * 100 - 100,
       40,
       Verdict::Undecided},
      {"3 against 3 has none", {1, 2, 3}, {4, 5, 6}, false, 0, 0, Verdict::Undecided},
  };
  return cases;
}

TEST(ChangeInterval, FromTheRatiosOfEveryPairOfRuns) {
  for (const IntervalCase& test : IntervalCases()) {
    SCOPED_TRACE(test.what);
    const RatioInterval interval = ChangeInterval(test.a, test.b);
    ASSERT_EQ(interval.known, test.known);
    if (test.known) {
      EXPECT_NEAR((interval.low - 1) * 100, test.low, 1e-9);
      EXPECT_NEAR((interval.high - 1) * 100, test.high, 1e-9);
    }
    EXPECT_EQ(Judge(interval, 0.03), test.verdict);
  }
}

// The threshold's edges: an interval touching 1 + t is the same, one past it is not faster until
// its low end is.
TEST(ChangeInterval, VerdictsAtTheThresholdsEdges) {
  const struct {
    double low, high;
    Verdict verdict;
  } cases[] = {{0.97, 1.03, Verdict::Same},
               {1.031, 1.2, Verdict::Faster},
               {0.8, 0.969, Verdict::Slower},
               {0.99, 1.04, Verdict::Undecided},
               {0.5, 2.0, Verdict::Undecided}};
  for (const auto& test : cases) {
    EXPECT_EQ(Judge({true, test.low, test.high}, 0.03), test.verdict)
        << test.low << ".." << test.high;
  }
  EXPECT_EQ(Judge({true, 0.99, 1.01}, 0.0), Verdict::Undecided) << "no threshold: never the same";
}

// The variant for repeated looks, at the single look's level, is the interval itself, on both
// sides of the switch to the normal approximation.
TEST(ChangeInterval, AtTheSingleLookLevelTheVariantIsTheSame) {
  for (const IntervalCase& test : IntervalCases()) {
    SCOPED_TRACE(test.what);
    const RatioInterval fixed = ChangeInterval(test.a, test.b);
    const RatioInterval variant = ChangeIntervalAtLevel(test.a, test.b, SingleLookLevel);
    EXPECT_EQ(variant.known, fixed.known);
    EXPECT_EQ(variant.low, fixed.low);
    EXPECT_EQ(variant.high, fixed.high);
  }
  const int sizes[] = {1, 2, 3, 4, 5, 8, 13, 21, 50, 51, 80};
  for (const int m : sizes) {
    for (const int n : sizes) {
      EXPECT_EQ(LowerCriticalValueAtLevel(m, n, 0.025), LowerCriticalValue(m, n)) << m << ", " << n;
    }
  }
}

// The critical values at the levels of repeated looks, against the U of every ordering of m + n
// runs (at most 14, 3432 orderings).
TEST(MannWhitney, CriticalValuesAtOtherLevelsMatchEveryOrdering) {
  for (int m = 1; m <= 7; ++m) {
    for (int n = m; m + n <= 14; ++n) {
      std::vector<double> counts(static_cast<std::size_t>(m * n) + 1, 0.0);
      for (unsigned firstAt = 0; firstAt < (1u << (m + n)); ++firstAt) {
        if (std::bitset<16>(firstAt).count() != static_cast<std::size_t>(m)) {
          continue;
        }
        std::size_t u = 0;  // pairs with the later side's run above the first side's
        int firstBelow = 0;
        for (int position = 0; position < m + n; ++position) {
          if ((firstAt >> position) & 1u) {
            ++firstBelow;
          } else {
            u += static_cast<std::size_t>(firstBelow);
          }
        }
        ++counts[u];
      }
      double total = 0;
      for (const double count : counts) {
        total += count;
      }
      for (const double level : {0.002, 0.003, 0.004, 0.005, 0.01, 0.025}) {
        double tail = 0;
        int expected = -1;
        for (std::size_t u = 0; u < counts.size(); ++u) {
          tail += counts[u];
          if (tail > level * total * (1 + 1e-9)) {
            break;
          }
          expected = static_cast<int>(u);
        }
        EXPECT_EQ(LowerCriticalValueAtLevel(m, n, level), expected)
            << m << " against " << n << " at " << level;
      }
    }
  }
  for (const double level : {0.0, -0.1, 0.5, std::nan("")}) {
    EXPECT_EQ(LowerCriticalValueAtLevel(20, 20, level), -1) << level;
  }
}

// Past 50 runs a side the critical value needs the normal quantile of the level: the table of
// the program's levels agrees with erfc, and other levels are found to the last digits.
TEST(MannWhitney, NormalQuantilesOfTheLevels) {
  for (const double level : {0.025, 0.01, 0.005, 0.004, 0.003, 0.002}) {
    const double z = UpperNormalQuantile(level);
    EXPECT_NEAR(0.5 * std::erfc(z / std::sqrt(2.0)) / level, 1.0, 5e-15) << level;
  }
  EXPECT_NEAR(UpperNormalQuantile(0.05), 1.6448536269514727, 2e-15);
  EXPECT_NEAR(UpperNormalQuantile(0.001), 3.0902323061678135, 2e-15);
}

}  // namespace
