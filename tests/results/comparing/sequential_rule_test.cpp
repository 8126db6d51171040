// The rule of a comparison looked at after every round: the levels by cap, the running
// intersection with its drift, and when an undecided figure is out of reach.
#include <gtest/gtest.h>

#include <cmath>

#include "results/comparing/sequential_rule.h"

namespace {

TEST(LookLevels, ACapTakesTheFirstRowThatHoldsIt) {
  const struct {
    int cap;
    double paired, unpaired;
  } cases[] = {{8, 0.0125, 0.01},    {10, 0.0125, 0.01}, {11, 0.007, 0.005},  {12, 0.007, 0.005},
               {20, 0.007, 0.005},   {30, 0.005, 0.004}, {31, 0.0035, 0.003}, {50, 0.0035, 0.003},
               {100, 0.0025, 0.002}, {101, 0, 0},        {0, 0, 0},           {-3, 0, 0}};
  for (const auto& test : cases) {
    const LookLevels levels = LevelsForCap(test.cap);
    EXPECT_EQ(levels.paired, test.paired) << "cap " << test.cap;
    EXPECT_EQ(levels.unpaired, test.unpaired) << "cap " << test.cap;
  }
}

TEST(SequentialInterval, IntersectsTheLooksAndKeepsTheLastOneOnDrift) {
  const RatioInterval none;
  const struct {
    RatioInterval look;
    double low, high;  // the state after it
    bool drift;
    Verdict verdict;  // at 3%
  } steps[] = {
      {none, 0, 0, false, Verdict::Undecided},  // too few pairs: nothing yet
      {{true, 0.9, 1.2}, 0.9, 1.2, false, Verdict::Undecided},
      {{true, 0.95, 1.3}, 0.95, 1.2, false, Verdict::Undecided},
      {none, 0.95, 1.2, false, Verdict::Undecided},
      {{true, 1.04, 1.5}, 1.04, 1.2, false, Verdict::Faster},
      {{true, 0.8, 1.1}, 1.04, 1.1, false, Verdict::Faster},
      {{true, 1.1, 1.3}, 1.1, 1.1, false, Verdict::Faster},  // touching ends still meet
      // Past the last intersection: the runs changed. The look's own interval would say faster.
      {{true, 1.15, 1.4}, 1.15, 1.4, true, Verdict::Undecided},
      {none, 1.15, 1.4, true, Verdict::Undecided},
      {{true, 1.2, 1.5}, 1.2, 1.4, true, Verdict::Undecided},
  };
  SequentialInterval state;
  int look = 0;
  for (const auto& step : steps) {
    SCOPED_TRACE(++look);
    state = WithLook(state, step.look);
    EXPECT_EQ(state.interval.known, step.low != 0);
    EXPECT_EQ(state.interval.low, step.low);
    EXPECT_EQ(state.interval.high, step.high);
    EXPECT_EQ(state.drift, step.drift);
    EXPECT_EQ(SequentialVerdict(state, 0.03), step.verdict);
  }
}

TEST(SequentialInterval, HopelessWhenShrinkingToTheCapStillDecidesNothing) {
  const struct {
    const char* what;
    SequentialInterval state;
    int rounds, cap;
    bool hopeless;
  } cases[] = {
      // Shrunk by sqrt(8/30) about its log centre, 0.9..1.3 becomes 0.984..1.189: still undecided.
      {"wide about 1.08", {{true, 0.9, 1.3}, false}, 8, 30, true},
      {"too early to tell", {{true, 0.9, 1.3}, false}, 7, 30, false},
      // 1.0..1.3 becomes 1.065..1.221: faster within reach.
      {"reaches faster", {{true, 1.0, 1.3}, false}, 8, 30, false},
      // 0.96..1.04 becomes 0.979..1.021: the same within reach.
      {"reaches the same", {{true, 0.96, 1.04}, false}, 8, 30, false},
      // 0.99..1.04 becomes 1.002..1.028 after 8 of 30 rounds, but at the cap it is what it is.
      {"same by the cap", {{true, 0.99, 1.04}, false}, 8, 30, false},
      {"at the cap", {{true, 0.99, 1.04}, false}, 30, 30, true},
      {"past the cap shrinks no more", {{true, 0.99, 1.04}, false}, 40, 30, true},
      // 0.95..1.3 becomes 1.025..1.219 after 8 of 30 rounds, 1.063..1.176 after 8 of 100.
      {"near faster, 22 rounds to go", {{true, 0.95, 1.3}, false}, 8, 30, true},
      {"near faster, 92 rounds to go", {{true, 0.95, 1.3}, false}, 8, 100, false},
      {"decided already", {{true, 1.05, 1.1}, false}, 12, 30, false},
      {"no interval yet", {{false, 0, 0}, false}, 12, 30, false},
      {"drift", {{true, 1.05, 1.1}, true}, 8, 30, true},
      {"drift too early", {{true, 1.05, 1.1}, true}, 7, 30, false},
      {"an end at infinity", {{true, 1.01, HUGE_VAL}, false}, 10, 30, true},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(Hopeless(test.state, test.rounds, test.cap, 0.03), test.hopeless) << test.what;
  }
}

}  // namespace
