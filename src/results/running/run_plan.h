// The plan of `run`: which directories, in which order, with how many workers, and the room a
// run needs; and the time the runs still to come will take.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

struct Directory {
  std::string printed;            // as given, safe to print
  std::filesystem::path path;     // absolute, as the system resolves it (links followed)
  std::vector<double> durations;  // seconds of its finished runs
  long long lastStart = 0;
  std::string label;  // what the user named its column, safe to print; empty: not named
};

// The directories as given (the current one when none), each once: a directory named twice is
// measured once per round, since its runs must start seconds apart. `labels`, when given, name
// them in order, one each.
std::vector<Directory> PlanDirectories(const std::vector<std::string>& given,
                                       const std::vector<std::string>& labels = {});

// A's first run, B's first run, ..., A's second run, ...: drift and warming fall on every
// directory alike.
std::vector<std::size_t> Interleaved(std::size_t directories, int repeat);

// The mean of the values; -1 for none.
double Mean(const std::vector<double>& values);

// What the runs after the k-th of `order` will take, where every directory has been timed once;
// -1 when that is not known yet.
double SecondsStillToCome(const std::vector<std::size_t>& order, std::size_t k,
                          const std::vector<Directory>& directories);

// The workers the benchmark will start, as OpenMP starts them: `threads`, else OMP_NUM_THREADS's
// first number, else the processors this process may run on; at most the benchmark's cap.
int ExpectedWorkers(int threads, const char* ompNumThreads, unsigned processors);

// The free space a run needs: the scratch files of both phases, and the files of the results.
unsigned long long FootprintBytes(int workers);
