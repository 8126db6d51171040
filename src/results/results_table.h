// The comparison that `show` and `chart` present: one column per results file, one row per
// figure in the report's order and units, each later column with its change against the first.
#pragma once

#include <string>
#include <vector>

#include "results/results_record.h"

// A timed span shorter than this is one shot, too short to trust.
inline constexpr double ShortSpanSeconds = 0.01;

struct Cell {
  double value = Missing;   // NaN where the file lacks the figure
  double change = Missing;  // percent against the first column; NaN in the first column
  bool shortSpan = false;   // a timed span under ShortSpanSeconds
  bool warned = false;      // the console warned that the figure is not a drive speed
  bool incomplete = false;  // the run was cut short before this figure
};

struct Row {
  std::string key;    // stable name for scripts, e.g. "multi.byte_write.improvement"
  std::string title;  // for people, e.g. "Low writing, all workers"
  std::string unit;   // files/s, M accesses/s, MB/s, times, or empty
  bool chartable;     // a rate of the drive, drawn by `chart`
  std::vector<Cell> cells;
};

struct ComparisonTable {
  std::vector<std::string> labels;  // one per file
  std::vector<Row> rows;
};

// The JSON and CSV name of a measurement: stream_cycles, descriptor_cycles, byte_write, ...
const char* MeasureKey(Measure measure);
// The report's name of a measurement: "Lower", "Higher", "Low writing", ...
const char* MeasureTitle(Measure measure);

// The default column label: the name of the file's directory, the run's date and time.
std::string DefaultLabel(const RunRecord& run);

ComparisonTable BuildTable(const std::vector<RunRecord>& runs,
                           const std::vector<std::string>& labels);
