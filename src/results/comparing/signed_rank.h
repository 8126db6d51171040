// How sure a change is when the runs come in pairs, one run of each directory per round: the
// Wilcoxon signed-rank (Hodges-Lehmann) interval of the log ratio, from the exact null
// distribution of the signed-rank statistic. Pairing takes out what the rounds share (the
// machine's state at the time), so it needs fewer runs than the unpaired interval.
#pragma once

#include <vector>

#include "results/comparing/interval.h"

// The most pairs an interval takes, which is also the most rounds a session may have: the exact
// distribution for 100 pairs has 5051 entries.
inline constexpr int MaxPairs = 100;

// P(W+ = s) for s = 0 .. n(n+1)/2, W+ the sum of the ranks of the positive differences of n
// pairs under no change: the counts of the subsets of {1..n} by their sum, over 2^n. Empty for n
// outside 0 .. MaxPairs.
std::vector<double> SignedRankProbabilities(int n);

// For every n from 0 to maxPairs (at most MaxPairs), the largest w with P(W+ <= w) <=
// oneTailLevel, and -1 where even P(W+ = 0) = 2^-n is above it. A level outside (0, 0.5) has none.
std::vector<int> SignedRankCriticalValues(int maxPairs, double oneTailLevel);

// An interval of a difference on the scale of the data (here log ratios).
struct ShiftInterval {
  bool known = false;
  double low = 0;
  double high = 0;
};

// The Walsh averages (d_i + d_j) / 2, i <= j, sorted: from the (C+1)-th smallest to the (C+1)-th
// largest, C the critical value for n = d.size(). None for more than MaxPairs differences, a
// difference that is not finite, or C < 0.
ShiftInterval SignedRankInterval(const std::vector<double>& differences, double oneTailLevel);

// With a[i] and b[i] the first column's and this column's runs of round i: the interval of the
// ratio b / a from the rounds where both are finite and positive. None past MaxPairs such rounds.
RatioInterval PairedChangeInterval(const std::vector<double>& a, const std::vector<double>& b,
                                   double oneTailLevel);
