// The rule of a session run until decided, applied to its runs: each later column's runs paired
// with the first column's by round, a look after every round at the level of the session's cap,
// and the running intersection of the looks judged. `run --until-decided` takes its looks as the
// rounds end; `show` and `chart` take the same looks from the files afterwards, round by round,
// and so print the same intervals and verdicts.
#pragma once

#include <vector>

#include "results/comparing/comparison_table.h"
#include "results/comparing/sequential_rule.h"

// The looks of one figure of a later column against the first column's, a round at a time.
class PairedLooks {
 public:
  explicit PairedLooks(double oneTailLevel) : level_(oneTailLevel) {}
  // The round's two figures, NaN where a run is missing or did not count: where both are finite
  // and positive, the pair is added and a look taken (the signed-rank interval of every pair so
  // far, intersected with the looks before). Any other round changes nothing, as a look at the
  // same pairs again would give the same interval.
  void AddRound(double first, double later);
  const SequentialInterval& State() const { return state_; }
  int Pairs() const { return static_cast<int>(first_.size()); }

 private:
  double level_;
  std::vector<double> first_;
  std::vector<double> later_;
  SequentialInterval state_;
};

// Whether a run's figures may stand in a pair: its report is whole and, as its context says, it
// ended by itself with exit status 0 (not interrupted, not cut off).
bool CountsInPairs(const RunRecord& run);

// The cell's interval in percent, its verdict against the threshold and its drift flag, from the
// looks so far.
void JudgeSequentially(Cell& cell, const SequentialInterval& state, double thresholdPercent);

// Where any run carries a session's rule, the table's later columns judged by it: paired by round
// with the first column where both come from one session, else by the unpaired interval at the
// per-look level of the cap. `perRun` holds every run's figures (PerRunFigures). Tables of runs
// without a session's rule are left as they are.
void ApplySequentialRule(ComparisonTable& table, const ComparisonTable& perRun,
                         const std::vector<RunRecord>& runs, const std::vector<Column>& columns);
