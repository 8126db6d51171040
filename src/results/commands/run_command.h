// `run`: the benchmark run in each directory, repeated and interleaved, every run's console kept
// with its context beside its results file, then the runs compared as `show` compares them.
#pragma once

#include <string>
#include <vector>

#include "results/commands/commands.h"

struct RunCommandOptions {
  std::vector<std::string> directories;  // empty: the current one
  int repeat = 3;
  int threads = 0;        // 0: the environment's, else OMP_NUM_THREADS for the benchmark
  std::string benchmark;  // empty: beside this program, else on PATH
  bool keepScratch = false;
  std::string format = "text";
};

// Exit status: 0 every run exited 0 and was read; 1 otherwise; 2 nothing ran (a directory or the
// benchmark unfit); 130 interrupted.
int RunCommand(const RunCommandOptions& options, Streams streams);

// The workers the benchmark will start: `threads`, else OMP_NUM_THREADS's first number, else the
// hardware threads; at most the benchmark's cap.
int ExpectedWorkers(int threads, const char* ompNumThreads, unsigned hardwareThreads);

// The free space a run needs: the scratch files of both phases, and the files of the results.
unsigned long long FootprintBytes(int workers);

// The date and time of `when` in ISO 8601 with the offset from UTC: "2026-12-08T21:04:05+01:00".
std::string IsoTime(long long when);
