#include "results/comparing/paired_looks.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "results/comparing/signed_rank.h"

namespace {

bool FinitePositive(double value) {
  return std::isfinite(value) && value > 0;
}

// The session all runs of the column share; empty where they do not share one or carry no rule.
std::string SharedSession(const std::vector<RunRecord>& runs, const Column& column) {
  const SessionMark& first = runs[column.runs.front()].context.mark;
  for (const std::size_t run : column.runs) {
    const SessionMark& mark = runs[run].context.mark;
    if (mark.session.empty() || mark.session != first.session || mark.cap == 0 || mark.round == 0) {
      return {};
    }
  }
  return first.session;
}

// The column's run of each round; a round that two runs claim has none.
std::map<int, std::size_t> RunsByRound(const std::vector<RunRecord>& runs, const Column& column) {
  std::map<int, std::size_t> byRound;
  std::vector<int> claimedTwice;
  for (const std::size_t run : column.runs) {
    const int round = runs[run].context.mark.round;
    if (!byRound.emplace(round, run).second) {
      claimedTwice.push_back(round);
    }
  }
  for (const int round : claimedTwice) {
    byRound.erase(round);
  }
  return byRound;
}

// Each row's looks of column `later` against the first, round by round; the rounds paired.
int JudgePaired(ComparisonTable& table, const ComparisonTable& perRun,
                const std::vector<RunRecord>& runs, const std::vector<Column>& columns,
                std::size_t later, double level, int& lastRound) {
  const std::map<int, std::size_t> first = RunsByRound(runs, columns.front());
  const std::map<int, std::size_t> other = RunsByRound(runs, columns[later]);
  std::vector<std::pair<std::size_t, std::size_t>> pairs;  // in round order
  for (const auto& [round, run] : other) {
    const auto found = first.find(round);
    if (found != first.end() && CountsInPairs(runs[found->second]) && CountsInPairs(runs[run])) {
      pairs.emplace_back(found->second, run);
      lastRound = std::max(lastRound, round);
    }
  }
  for (std::size_t r = 0; r < table.rows.size(); ++r) {
    Cell& cell = table.rows[r].cells[later];
    if (!cell.judged) {
      continue;
    }
    PairedLooks looks(level);
    for (const auto& [a, b] : pairs) {
      looks.AddRound(perRun.rows[r].cells[a].value, perRun.rows[r].cells[b].value);
    }
    JudgeSequentially(cell, looks.State(), table.thresholdPercent);
  }
  return static_cast<int>(pairs.size());
}

void JudgeUnpaired(ComparisonTable& table, std::size_t later, double level) {
  for (Row& row : table.rows) {
    Cell& cell = row.cells[later];
    if (!cell.judged) {
      continue;
    }
    SequentialInterval state;
    state.interval = ChangeIntervalAtLevel(row.cells.front().values, cell.values, level);
    JudgeSequentially(cell, state, table.thresholdPercent);
  }
}

}  // namespace

void PairedLooks::AddRound(double first, double later) {
  if (!FinitePositive(first) || !FinitePositive(later)) {
    return;
  }
  first_.push_back(first);
  later_.push_back(later);
  state_ = WithLook(state_, PairedChangeInterval(first_, later_, level_));
}

bool CountsInPairs(const RunRecord& run) {
  return run.complete && run.context.known && run.context.mark.ranToItsEnd;
}

void JudgeSequentially(Cell& cell, const SequentialInterval& state, double thresholdPercent) {
  cell.intervalLow = state.interval.known ? (state.interval.low - 1) * 100.0 : Missing;
  cell.intervalHigh = state.interval.known ? (state.interval.high - 1) * 100.0 : Missing;
  cell.verdict = SequentialVerdict(state, thresholdPercent / 100.0);
  cell.withinNoise = cell.verdict != Verdict::Faster && cell.verdict != Verdict::Slower;
  cell.drift = state.drift;
}

void ApplySequentialRule(ComparisonTable& table, const ComparisonTable& perRun,
                         const std::vector<RunRecord>& runs, const std::vector<Column>& columns) {
  SequentialSummary& summary = table.sequential;
  for (const RunRecord& run : runs) {
    summary.cap = std::max(summary.cap, run.context.mark.cap);
  }
  if (summary.cap == 0 || columns.empty()) {
    return;
  }
  const LookLevels levels = LevelsForCap(summary.cap);
  summary.applies = true;
  summary.pairedTail = levels.paired;
  summary.unpairedTail = levels.unpaired;
  summary.pairedRounds.assign(columns.size(), -1);
  const std::string session = SharedSession(runs, columns.front());
  for (std::size_t later = 1; later < columns.size(); ++later) {
    if (!session.empty() && SharedSession(runs, columns[later]) == session) {
      summary.anyPaired = true;
      summary.pairedRounds[later] =
          JudgePaired(table, perRun, runs, columns, later, levels.paired, summary.rounds);
    } else {
      summary.anyUnpaired = true;
      JudgeUnpaired(table, later, levels.unpaired);
    }
  }
}
