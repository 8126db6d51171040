// `run`: the benchmark run in each directory, repeated and interleaved, every run's console kept
// with its context beside its results file, then the runs compared as `show` compares them.
#pragma once

#include <string>
#include <vector>

#include "results/commands/commands.h"
#include "results/running/run_seams.h"

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
  double thresholdPercent = DefaultThresholdPercent;
  double timeoutSeconds = 0;  // a run past it is stopped; 0: no limit
  std::string title;          // the page's heading (html); empty: "A compared with B"
};

// Exit status: 0 every run exited 0 and was read; 1 otherwise; 2 nothing ran (a directory or the
// benchmark unfit); 130 interrupted. `seams` start each run of the benchmark, tell the time and
// count the interrupts.
int RunCommand(const RunCommandOptions& options, Streams streams,
               const RunSeams& seams = SystemSeams());
