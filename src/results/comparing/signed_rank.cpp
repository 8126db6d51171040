#include "results/comparing/signed_rank.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

std::size_t Triangle(int n) {
  const auto count = static_cast<std::size_t>(n);
  return count * (count + 1) / 2;
}

// Adding the pair of rank k: half the sign patterns leave the sum as it was, half raise it by k.
// Kept as probabilities, which stay within the range of a double (2^-100 at the least) where the
// counts would outgrow its 53 bits.
void AddRank(std::vector<double>& probabilities, int k) {
  const auto rank = static_cast<std::size_t>(k);
  const std::size_t top = Triangle(k);
  for (std::size_t s = top; s >= rank; --s) {
    probabilities[s] = (probabilities[s] + probabilities[s - rank]) / 2;
  }
  for (std::size_t s = 0; s < rank; ++s) {
    probabilities[s] /= 2;
  }
}

// The largest w with P(W+ <= w) <= level, -1 for none; a relative allowance, so that a tail
// exactly at the level counts as within it whatever the rounding.
int Critical(const std::vector<double>& probabilities, std::size_t top, double level) {
  double tail = 0;
  std::size_t inTail = 0;
  while (inTail <= top) {
    tail += probabilities[inTail];
    if (tail > level * (1 + 1e-9)) {
      break;
    }
    ++inTail;
  }
  return static_cast<int>(inTail) - 1;
}

}  // namespace

std::vector<double> SignedRankProbabilities(int n) {
  if (n < 0 || n > MaxPairs) {
    return {};
  }
  std::vector<double> probabilities(Triangle(n) + 1, 0.0);
  probabilities[0] = 1;
  for (int k = 1; k <= n; ++k) {
    AddRank(probabilities, k);
  }
  return probabilities;
}

std::vector<int> SignedRankCriticalValues(int maxPairs, double oneTailLevel) {
  const int last = std::clamp(maxPairs, 0, MaxPairs);
  std::vector<int> critical(static_cast<std::size_t>(last) + 1, -1);
  if (!(oneTailLevel > 0 && oneTailLevel < 0.5)) {
    return critical;
  }
  std::vector<double> probabilities(Triangle(last) + 1, 0.0);
  probabilities[0] = 1;
  for (int k = 1; k <= last; ++k) {
    AddRank(probabilities, k);
    critical[static_cast<std::size_t>(k)] = Critical(probabilities, Triangle(k), oneTailLevel);
  }
  return critical;
}

ShiftInterval SignedRankInterval(const std::vector<double>& differences, double oneTailLevel) {
  if (differences.empty() || differences.size() > static_cast<std::size_t>(MaxPairs)) {
    return {};
  }
  for (const double difference : differences) {
    if (!std::isfinite(difference)) {
      return {};
    }
  }
  const int n = static_cast<int>(differences.size());
  const int critical = SignedRankCriticalValues(n, oneTailLevel)[static_cast<std::size_t>(n)];
  if (critical < 0) {
    return {};
  }
  std::vector<double> averages;
  averages.reserve(Triangle(n));
  for (std::size_t i = 0; i < differences.size(); ++i) {
    for (std::size_t j = i; j < differences.size(); ++j) {
      averages.push_back((differences[i] + differences[j]) / 2);
    }
  }
  // Only two order statistics are needed. C is below half the averages (P(W+ <= C) < 1/2), so
  // the (C+1)-th largest lies past the (C+1)-th smallest.
  const auto c = static_cast<std::ptrdiff_t>(critical);
  const auto lowAt = averages.begin() + c;
  const auto highAt = averages.end() - 1 - c;
  std::nth_element(averages.begin(), lowAt, averages.end());
  std::nth_element(lowAt + 1, highAt, averages.end());
  return {true, *lowAt, *highAt};
}

RatioInterval PairedChangeInterval(const std::vector<double>& a, const std::vector<double>& b,
                                   double oneTailLevel) {
  auto usable = [](double value) { return std::isfinite(value) && value > 0; };
  std::vector<double> differences;
  const std::size_t rounds = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < rounds; ++i) {
    if (usable(a[i]) && usable(b[i])) {
      if (differences.size() == static_cast<std::size_t>(MaxPairs)) {
        return {};
      }
      // The difference of the logarithms: finite for any two positive doubles, where their
      // ratio can overflow.
      differences.push_back(std::log(b[i]) - std::log(a[i]));
    }
  }
  const ShiftInterval shift = SignedRankInterval(differences, oneTailLevel);
  if (!shift.known) {
    return {};
  }
  return {true, std::exp(shift.low), std::exp(shift.high)};
}
