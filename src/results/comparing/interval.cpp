#include "results/comparing/interval.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

namespace {

// Both sides up to this many runs: the exact distribution; beyond, the normal approximation.
constexpr int ExactUpTo = 50;
// The quantiles of the levels the program uses, as tables print them to 16 digits. Bisection on
// erfc lands a few units of the last place away, which must not move a critical value that
// results already printed.
constexpr struct {
  double p, z;
} KnownQuantiles[] = {{0.025, 1.959963984540054}, {0.01, 2.326347874040841},
                      {0.005, 2.575829303548901}, {0.004, 2.652069807902196},
                      {0.003, 2.747781385444993}, {0.002, 2.878161739095483}};
// The ratios are held in memory: 32 MiB of them at most (2000 runs a side), far past what a
// comparison of drives gathers.
constexpr std::size_t MaxRatios = std::size_t{4} << 20;

// The counts of U = 0 .. m*n over all orderings: f(i, j, u) = f(i - 1, j, u - j) + f(i, j - 1, u),
// built one i at a time for every j up to n.
std::vector<double> Counts(int m, int n) {
  std::vector<std::vector<double>> previous(static_cast<std::size_t>(n) + 1,
                                            std::vector<double>{1.0});
  for (int i = 1; i <= m; ++i) {
    std::vector<std::vector<double>> current(static_cast<std::size_t>(n) + 1);
    current[0] = {1.0};
    for (int j = 1; j <= n; ++j) {
      std::vector<double>& counts = current[static_cast<std::size_t>(j)];
      counts.assign(static_cast<std::size_t>(i) * static_cast<std::size_t>(j) + 1, 0.0);
      const std::vector<double>& fewerA = previous[static_cast<std::size_t>(j)];
      const std::vector<double>& fewerB = current[static_cast<std::size_t>(j) - 1];
      for (std::size_t u = 0; u < counts.size(); ++u) {
        if (u >= static_cast<std::size_t>(j) && u - static_cast<std::size_t>(j) < fewerA.size()) {
          counts[u] += fewerA[u - static_cast<std::size_t>(j)];
        }
        if (u < fewerB.size()) {
          counts[u] += fewerB[u];
        }
      }
    }
    previous = std::move(current);
  }
  return previous[static_cast<std::size_t>(n)];
}

}  // namespace

std::vector<double> MannWhitneyCdf(int m, int n) {
  std::vector<double> counts = Counts(m, n);
  double total = 0;
  for (const double count : counts) {
    total += count;
  }
  double sum = 0;
  for (double& count : counts) {
    sum += count;
    count = sum / total;
  }
  return counts;
}

double UpperNormalQuantile(double p) {
  for (const auto& known : KnownQuantiles) {
    if (p == known.p) {
      return known.z;
    }
  }
  // P(Z > z) falls as z grows: halve [0, 40] until the ends meet in the last place.
  double low = 0;
  double high = 40;
  while (true) {
    const double middle = low + (high - low) / 2;
    if (middle <= low || middle >= high) {
      return high;
    }
    if (0.5 * std::erfc(middle / std::sqrt(2.0)) > p) {
      low = middle;
    } else {
      high = middle;
    }
  }
}

int LowerCriticalValue(int m, int n) {
  return LowerCriticalValueAtLevel(m, n, SingleLookLevel);
}

int LowerCriticalValueAtLevel(int m, int n, double oneTailLevel) {
  if (m < 1 || n < 1 || !(oneTailLevel > 0 && oneTailLevel < 0.5)) {
    return -1;
  }
  if (m > ExactUpTo || n > ExactUpTo) {
    const double mean = m * static_cast<double>(n) / 2.0;
    const double sd = std::sqrt(m * static_cast<double>(n) * (m + n + 1) / 12.0);
    const double critical = std::floor(mean - 0.5 - UpperNormalQuantile(oneTailLevel) * sd);
    return critical < 0 ? -1 : static_cast<int>(critical);
  }
  static std::map<std::tuple<int, int, double>, int> known;
  const auto key = std::make_tuple(std::min(m, n), std::max(m, n), oneTailLevel);
  const auto found = known.find(key);
  if (found != known.end()) {
    return found->second;
  }
  const std::vector<double> cdf = MannWhitneyCdf(std::get<0>(key), std::get<1>(key));
  // How many u from 0 up have P(U <= u) in the tail; a relative allowance, so that 1/40 counts
  // as 0.025 whatever the rounding.
  std::size_t inTail = 0;
  while (inTail < cdf.size() && cdf[inTail] <= oneTailLevel * (1 + 1e-9)) {
    ++inTail;
  }
  const int critical = static_cast<int>(inTail) - 1;
  known[key] = critical;
  return critical;
}

RatioInterval ChangeInterval(const std::vector<double>& a, const std::vector<double>& b) {
  return ChangeIntervalAtLevel(a, b, SingleLookLevel);
}

RatioInterval ChangeIntervalAtLevel(const std::vector<double>& a, const std::vector<double>& b,
                                    double oneTailLevel) {
  auto usable = [](const std::vector<double>& values) {
    std::vector<double> kept;
    for (const double value : values) {
      if (std::isfinite(value) && value > 0) {
        kept.push_back(value);
      }
    }
    return kept;
  };
  const std::vector<double> first = usable(a);
  const std::vector<double> later = usable(b);
  const int critical = LowerCriticalValueAtLevel(static_cast<int>(first.size()),
                                                 static_cast<int>(later.size()), oneTailLevel);
  if (critical < 0 || first.size() * later.size() > MaxRatios) {
    return {};
  }
  std::vector<double> ratios;
  ratios.reserve(first.size() * later.size());
  for (const double x : first) {
    for (const double y : later) {
      ratios.push_back(y / x);
    }
  }
  std::sort(ratios.begin(), ratios.end());
  const auto c = static_cast<std::size_t>(critical);
  return {true, ratios[c], ratios[ratios.size() - 1 - c]};
}

Verdict Judge(const RatioInterval& interval, double threshold) {
  if (!interval.known) {
    return Verdict::Undecided;
  }
  if (interval.low > 1 + threshold) {
    return Verdict::Faster;
  }
  if (interval.high < 1 - threshold) {
    return Verdict::Slower;
  }
  if (interval.low >= 1 - threshold && interval.high <= 1 + threshold) {
    return Verdict::Same;
  }
  return Verdict::Undecided;
}

const char* VerdictWord(Verdict verdict) {
  switch (verdict) {
    case Verdict::Faster:
      return "faster";
    case Verdict::Slower:
      return "slower";
    case Verdict::Same:
      return "same";
    case Verdict::Undecided:
      return "undecided";
    case Verdict::None:
      break;
  }
  return "";
}
