// How sure a change is: a distribution-free 95% confidence interval of the ratio of two sets of
// runs, from the exact null distribution of the Mann-Whitney U statistic, and the verdict it
// gives against a threshold.
#pragma once

#include <vector>

// P(U <= u) for u = 0 .. m*n under the null hypothesis, exact (every ordering of the m + n runs
// equally likely): the counts of the usual recurrence over the total C(m + n, m).
std::vector<double> MannWhitneyCdf(int m, int n);

// The one-tail level of a comparison looked at once: a two-sided 95% interval.
inline constexpr double SingleLookLevel = 0.025;

// The largest u with P(U <= u) <= 0.025: exact for m, n up to 50, else the normal approximation
// with continuity correction; -1 when there is none (fewer than 40 orderings: 3 against 3, or 1
// against fewer than 39).
int LowerCriticalValue(int m, int n);

// The same at another one-tail level (between 0 and 0.5; -1 for any other), for a comparison
// that is looked at again after every round and so spends a smaller level on each look.
int LowerCriticalValueAtLevel(int m, int n, double oneTailLevel);

// The upper quantile z with P(Z > z) = p of the standard normal distribution, 0 < p < 0.5.
double UpperNormalQuantile(double p);

struct RatioInterval {
  bool known = false;
  double low = 0;  // ratios b / a
  double high = 0;
};

// With a the first column's runs (m values) and b this column's (n values): the m x n ratios
// b_j / a_i sorted, from the (C+1)-th smallest to the (C+1)-th largest. Values that are not
// finite and positive are left out of the count; past 2000 runs a side there is no interval.
RatioInterval ChangeInterval(const std::vector<double>& a, const std::vector<double>& b);

// ChangeInterval with the critical value at another one-tail level.
RatioInterval ChangeIntervalAtLevel(const std::vector<double>& a, const std::vector<double>& b,
                                    double oneTailLevel);

enum class Verdict {
  None,       // nothing to judge: both columns are single runs, or this is the first column
  Faster,     // the whole interval above 1 + threshold
  Slower,     // the whole interval below 1 - threshold
  Same,       // the whole interval within 1 - threshold .. 1 + threshold
  Undecided,  // otherwise, and wherever there is no interval
};

// `threshold` as a fraction (0.03 for 3%). Every figure is better when higher.
Verdict Judge(const RatioInterval& interval, double threshold);

// "faster", "slower", "same", "undecided"; "" for None.
const char* VerdictWord(Verdict verdict);
