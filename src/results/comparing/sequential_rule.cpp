#include "results/comparing/sequential_rule.h"

#include <cmath>
#include <iterator>

#include "results/comparing/signed_rank.h"

static_assert(LookLevelTable[std::size(LookLevelTable) - 1].maxRounds == MaxPairs,
              "the last row is the cap of rounds that an interval takes");

LookLevels LevelsForCap(int cap) {
  if (cap >= 1) {
    for (const LookLevels& row : LookLevelTable) {
      if (cap <= row.maxRounds) {
        return row;
      }
    }
  }
  return {0, 0, 0};
}

SequentialInterval WithLook(const SequentialInterval& state, const RatioInterval& look) {
  if (!look.known) {
    return state;
  }
  if (!state.interval.known) {
    return {look, state.drift};
  }
  const RatioInterval both{true, std::fmax(state.interval.low, look.low),
                           std::fmin(state.interval.high, look.high)};
  if (both.low > both.high) {
    return {look, true};
  }
  return {both, state.drift};
}

Verdict SequentialVerdict(const SequentialInterval& state, double threshold) {
  return state.drift ? Verdict::Undecided : Judge(state.interval, threshold);
}

bool Hopeless(const SequentialInterval& state, int rounds, int cap, double threshold) {
  if (rounds < HopelessFromRound || cap < 1 || !state.interval.known) {
    return false;
  }
  if (state.drift) {
    return true;
  }
  if (Judge(state.interval, threshold) != Verdict::Undecided) {
    return false;
  }
  const double low = std::log(state.interval.low);
  const double high = std::log(state.interval.high);
  if (!std::isfinite(low) || !std::isfinite(high)) {
    return true;  // infinitely wide on the log scale, and so after any finite shrinking
  }
  const double centre = low / 2 + high / 2;
  const double shrink = std::sqrt(std::fmin(1.0, static_cast<double>(rounds) / cap));
  const double halfWidth = (high - low) / 2 * shrink;
  const RatioInterval reachable{true, std::exp(centre - halfWidth), std::exp(centre + halfWidth)};
  return Judge(reachable, threshold) == Verdict::Undecided;
}
