// `run`: the benchmark run in each directory, repeated and interleaved, every run's console kept
// with its context beside its results file, then the runs compared as `show` compares them.
#pragma once

#include <string>
#include <vector>

#include "results/commands/commands.h"
#include "results/running/run_seams.h"

// --max-runs: the most rounds a session run until decided may take, and its bounds. Fewer than 8
// rounds leave the rule hardly a look that can decide; 100 is the most pairs an interval takes.
inline constexpr int DefaultMaxRounds = 30;
inline constexpr int FewestMaxRounds = 8;
inline constexpr int MostMaxRounds = 100;

struct RunCommandOptions {
  std::vector<std::string> directories;  // empty: the current one
  std::vector<std::string> labels;       // empty, or one per directory: their columns' names
  // Five runs a side is the smallest count at which two columns get a 95% interval with room to
  // spare (4 against 4 already gives one, from the extreme ratios only).
  int repeat = 5;
  int threads = 0;        // 0: the environment's, else OMP_NUM_THREADS for the benchmark
  std::string benchmark;  // empty: beside this program, else on PATH
  bool keepScratch = false;
  std::string format = "text";
  // How the runs are told while they run: "auto" (the status line on a terminal and a line per
  // run), "json" (JSON Lines on standard error) or "none".
  std::string progress = "auto";
  double thresholdPercent = DefaultThresholdPercent;
  double timeoutSeconds = 0;  // a run past it is stopped; 0: no limit
  std::string baseline;       // the column every other is compared with; empty: the first
  // Instead of `repeat` runs: rounds until the comparison is decided, at most `maxRounds`, none
  // started that is expected to end past `budgetSeconds` (0: no budget), held by the figures of
  // `decide` (their keys; empty: the rates timed long enough to trust).
  bool untilDecided = false;
  int maxRounds = DefaultMaxRounds;
  double budgetSeconds = 0;
  std::vector<std::string> decide;
  std::string title;  // the page's heading (html); empty: "A compared with B"
};

// Exit status: 0 every run exited 0 and was read; 1 otherwise; 2 nothing ran (a directory or the
// benchmark unfit, or a baseline no directory's column can be); 130 interrupted. `seams` start
// each run of the benchmark, tell the time and count the interrupts.
int RunCommand(const RunCommandOptions& options, Streams streams,
               const RunSeams& seams = SystemSeams());
