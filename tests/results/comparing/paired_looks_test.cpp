// The looks of a session's figure, one round at a time, against the library's intervals taken by
// hand; drift; and the cell a session's figure gives.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "results/comparing/paired_looks.h"
#include "results/comparing/signed_rank.h"
#include "results/output/cell_text.h"

namespace {

constexpr double Level = 0.005;

// The intersection of every look by hand: look k takes the first k usable pairs.
SequentialInterval ByHand(const std::vector<double>& a, const std::vector<double>& b) {
  SequentialInterval state;
  std::vector<double> first, later;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!(a[i] > 0 && b[i] > 0 && std::isfinite(a[i]) && std::isfinite(b[i]))) {
      continue;
    }
    first.push_back(a[i]);
    later.push_back(b[i]);
    const RatioInterval look = PairedChangeInterval(first, later, Level);
    if (!look.known) {
      continue;
    }
    if (!state.interval.known) {
      state.interval = look;
      continue;
    }
    const double low = std::fmax(state.interval.low, look.low);
    const double high = std::fmin(state.interval.high, look.high);
    state = low > high ? SequentialInterval{look, true}
                       : SequentialInterval{{true, low, high}, state.drift};
  }
  return state;
}

TEST(PairedLooks, EachRoundIsOneLookAtEveryPairSoFar) {
  // Rounds that swing, with a missing figure, a zero and an infinity among them: those rounds
  // give no pair and no look.
  const std::vector<double> a = {100, 104, 98, 101, 97, 103, 99, 102, 100, 96, 105, 100, 98, 101};
  const std::vector<double> b = {110, 118,      NAN, 109, 0,   116, 113,
                                 111, INFINITY, 108, 117, 112, 106, 115};
  PairedLooks looks(Level);
  for (std::size_t n = 1; n <= a.size(); ++n) {
    looks.AddRound(a[n - 1], b[n - 1]);
    const SequentialInterval expected =
        ByHand(std::vector<double>(a.begin(), a.begin() + static_cast<long>(n)),
               std::vector<double>(b.begin(), b.begin() + static_cast<long>(n)));
    SCOPED_TRACE(n);
    ASSERT_EQ(looks.State().interval.known, expected.interval.known);
    EXPECT_EQ(looks.State().interval.low, expected.interval.low);
    EXPECT_EQ(looks.State().interval.high, expected.interval.high);
    EXPECT_EQ(looks.State().drift, expected.drift);
  }
  EXPECT_EQ(looks.Pairs(), 11);
  EXPECT_TRUE(looks.State().interval.known) << "11 pairs give a 99% interval";
}

TEST(PairedLooks, LooksThatDoNotOverlapAreDriftAndUndecided) {
  PairedLooks looks(Level);
  for (int round = 0; round < 8; ++round) {
    looks.AddRound(100, 120 + round % 2);
  }
  Cell cell;
  cell.value = 80;
  cell.change = -20;
  JudgeSequentially(cell, looks.State(), 3);
  EXPECT_EQ(cell.verdict, Verdict::Faster);
  EXPECT_FALSE(cell.drift);
  // Then the second drive slows to 80% of the first for good.
  for (int round = 0; round < 40 && !looks.State().drift; ++round) {
    looks.AddRound(100, 80);
  }
  ASSERT_TRUE(looks.State().drift);
  JudgeSequentially(cell, looks.State(), 3);
  EXPECT_EQ(cell.verdict, Verdict::Undecided);
  EXPECT_TRUE(cell.drift);
  EXPECT_LT(cell.intervalHigh, 20) << "the last look's interval, below the first looks'";
  EXPECT_EQ(FlagWords(cell), "drift");
  EXPECT_NE(CellText(cell).find("\xe2\x80\xa6) *"), std::string::npos) << CellText(cell);
}

}  // namespace
