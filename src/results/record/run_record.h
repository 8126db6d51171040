// What one results file (or a saved console transcript) of the benchmark holds: the run's date
// and time, its workers, and every figure, as the benchmark printed them.
#pragma once

#include <array>
#include <limits>
#include <map>
#include <string>

#include "contract/figure_table.h"
#include "results/record/run_context.h"

inline constexpr double Missing = std::numeric_limits<double>::quiet_NaN();

// One timed measurement: its seconds and its rate lines, as printed. A file-handling measurement
// has files per second; a throughput half has millions of accesses and megabytes per second.
struct Figures {
  bool present = false;
  double seconds = Missing;
  double filesPerSecond = Missing;
  double millionsPerSecond = Missing;
  double megabytesPerSecond = Missing;
  bool warned = false;  // the console said its file operations failed (transcripts only)
};

// The summary of one multi-thread measurement: the sum over the workers and the gain over the
// single-thread figure.
struct OverallFigures {
  bool present = false;
  double filesPerSecond = Missing;
  double millionsPerSecond = Missing;
  double megabytesPerSecond = Missing;
  double improvement = Missing;
};

using MeasureTable = std::array<Figures, MeasureCount>;

struct RunRecord {
  std::string path;         // as given
  bool transcript = false;  // a saved console transcript rather than a results file
  std::string date;         // YYYY-MM-DD, from the results file's name; empty when unknown
  std::string time;         // HH:MM:SS
  int threads = 0;          // "Thread(s): " of the banner
  bool capped = false;      // the cap message was there
  MeasureTable single{};
  std::map<int, MeasureTable> workers;  // by thread number
  std::array<OverallFigures, MeasureCount> overall{};
  bool complete = false;  // the report ran to its last line
  RunContext context;
};

// The figure's rate in the unit the report shows it in: files per second for the file-handling
// measurements, millions of accesses per second for the byte-wise halves, megabytes per second
// for the block halves.
double ReportRate(Measure measure, const Figures& figures);
double ReportRate(Measure measure, const OverallFigures& figures);
const char* ReportUnit(Measure measure);

// The gain of the multi-thread phase per worker: its improvement divided by the workers (1 is
// perfect scaling).
double Efficiency(const RunRecord& run, Measure measure);
