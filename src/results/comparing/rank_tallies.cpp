#include "results/comparing/rank_tallies.h"

#include <cmath>

namespace {

Crossing CrossingOf(long long above, long long all, int critical) {
  if (critical < 0) {
    return Crossing::None;
  }
  if (all - above <= critical) {
    return Crossing::Upper;
  }
  if (above <= critical) {
    return Crossing::Lower;
  }
  return Crossing::None;
}

}  // namespace

void SignedRankTally::Add(double difference) {
  const double size = std::fabs(difference);
  long long rank = 1;
  for (const double earlier : differences_) {
    if (std::fabs(earlier) < size) {
      ++rank;
    } else if (earlier > 0) {
      ++positiveRankSum_;
    }
  }
  if (difference > 0) {
    positiveRankSum_ += rank;
  }
  differences_.push_back(difference);
}

Crossing SignedRankTally::CrossingAt(int critical) const {
  const auto n = static_cast<long long>(differences_.size());
  return CrossingOf(positiveRankSum_, n * (n + 1) / 2, critical);
}

void RankSumTally::AddFirst(double value) {
  for (const double later : later_) {
    if (later > value) {
      ++pairsLaterAbove_;
    }
  }
  first_.push_back(value);
}

void RankSumTally::AddLater(double value) {
  for (const double first : first_) {
    if (value > first) {
      ++pairsLaterAbove_;
    }
  }
  later_.push_back(value);
}

Crossing RankSumTally::CrossingAt(int critical) const {
  const auto pairs = static_cast<long long>(first_.size()) * static_cast<long long>(later_.size());
  return CrossingOf(pairsLaterAbove_, pairs, critical);
}
