// A comparison looked at after every round, stopped whenever its verdict is in: each look spends
// a smaller one-tail level, so that over all the looks a session can have, a change of nothing
// crosses either side by chance at most 2.5% of the time, and the running 95% holds however the
// session stops. The levels depend on the most rounds allowed (the cap), since every look spends
// some of the 2.5%; tools/sequential_tables checks them by simulation.
#pragma once

#include "results/comparing/interval.h"

// The levels of every look of a session of at most maxRounds rounds: the signed-rank interval
// of paired rounds, and the Mann-Whitney interval where the runs cannot be paired.
struct LookLevels {
  int maxRounds;
  double paired;
  double unpaired;
};

inline constexpr LookLevels LookLevelTable[] = {
    {10, 0.0125, 0.01},  {20, 0.007, 0.005},   {30, 0.005, 0.004},
    {50, 0.0035, 0.003}, {100, 0.0025, 0.002},
};

// The first row that holds a session of `cap` rounds (cap 12: the row of 20). Past the last row,
// or for a cap below 1, levels of 0, at which no interval exists.
LookLevels LevelsForCap(int cap);

// Before this round an undecided figure is never called hopeless: a few rounds say too little
// about the spread to judge what the rest would give.
inline constexpr int HopelessFromRound = 8;

// The intersection of the intervals of the looks so far.
struct SequentialInterval {
  RatioInterval interval;  // unknown until a look gives one
  // Two looks' intervals did not overlap: the runs changed during the session. The interval is
  // then the last look's, and the verdict stays undecided for the rest of the session, since no
  // intersection can stand for both states of the runs.
  bool drift = false;
};

// The state after one more look. A look without an interval (too few pairs) changes nothing.
SequentialInterval WithLook(const SequentialInterval& state, const RatioInterval& look);

// Judge on the intersection; undecided once there was drift.
Verdict SequentialVerdict(const SequentialInterval& state, double threshold);

// Whether an undecided figure is out of reach by the cap: its interval, shrunk about its centre
// on the log scale by sqrt(rounds / cap) as more rounds would narrow it, would still be
// undecided. False before HopelessFromRound, for a decided figure and without an interval; true
// after drift, which no further round can undo.
bool Hopeless(const SequentialInterval& state, int rounds, int cap, double threshold);
