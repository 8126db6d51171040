// The comparison that `show` and `chart` present: one column per run, or per set of repeats of
// one directory, one row per figure in the report's order and units, each later column with its
// change against the first.
#pragma once

#include <string>
#include <vector>

#include "results/comparing/interval.h"
#include "results/record/run_record.h"

// A timed span shorter than this is one shot, too short to trust.
inline constexpr double ShortSpanSeconds = 0.01;
// "timed in under 10 ms": what a short span is, in words.
std::string ShortSpanText();

// Changes whose whole interval lies within this many percent either way are the same.
inline constexpr double DefaultThresholdPercent = 3;
inline constexpr double MaxThresholdPercent = 50;

struct Cell {
  double value = Missing;   // NaN where the file lacks the figure; the median of repeats
  double change = Missing;  // percent against the first column; NaN in the first column
  int runs = 1;             // the runs of the column
  double low = Missing;     // the smallest and largest figure of the runs
  double high = Missing;
  double spread = Missing;             // (high - low) as a percent of the median, for repeats
  std::vector<double> values;          // the figure of each run of the column that has it
  std::vector<std::size_t> valueRuns;  // the run of each of them: an index into the runs
  // Against the first column, where either side has repeats: the 95% interval of the change in
  // percent (NaN where the runs are too few for one) and the verdict.
  bool judged = false;
  double intervalLow = Missing;
  double intervalHigh = Missing;
  Verdict verdict = Verdict::None;
  bool withinNoise = false;  // judged, and neither faster nor slower
  // Runs paired by round whose looks' intervals did not overlap: the interval is the last look's.
  bool drift = false;
  bool shortSpan = false;   // a timed span under ShortSpanSeconds
  bool warned = false;      // the console warned that the figure is not a drive speed
  bool incomplete = false;  // the run was cut short before this figure
};

// What a row holds of its measurement: the single-thread rate, the sum over all workers, and the
// details of the multi-thread phase.
enum class RowPart {
  SingleThread,
  AllWorkers,
  Improvement,
  SlowestWorker,
  FastestWorker,
  Efficiency
};

struct Row {
  std::string key;    // stable name for scripts, e.g. "multi.byte_write.improvement"
  std::string title;  // for people, e.g. "Low writing, all workers"
  std::string unit;   // files/s, M accesses/s, MB/s, times, or empty
  Measure measure;
  RowPart part;
  bool chartable;  // a rate of the drive, drawn by `chart`
  std::vector<Cell> cells;
};

// A row of text above the figures: where the runs of each column were measured.
struct ContextRow {
  std::string key;                  // "context.file_system", ...
  std::string title;                // "file system", ...
  std::vector<std::string> values;  // one per column; "-" where not told
};

// How a comparison of runs from a session run until decided was judged: each later column's runs
// paired with the first column's by round (or, where they cannot be paired, unpaired), every look
// at the level of the session's cap.
struct SequentialSummary {
  bool applies = false;  // false: every column judged by the interval of a single look
  int cap = 0;           // the most rounds the session allowed
  double pairedTail = 0;
  double unpairedTail = 0;
  bool anyPaired = false;         // some column paired by round
  bool anyUnpaired = false;       // some column that could not be
  int rounds = 0;                 // the last round of a pair
  std::vector<int> pairedRounds;  // per column: the rounds paired; -1 where unpaired or first
  std::string stopped;            // why the session stopped ("decided", ...); empty: not told
  std::string stopLine;           // the line that says so; empty: not told
};

struct ComparisonTable {
  double thresholdPercent = DefaultThresholdPercent;
  // How the intervals of the changes are made, as the JSON output names it, and their confidence.
  const char* intervalRule = "mann-whitney";
  double confidence = 0.95;
  SequentialSummary sequential;
  std::vector<std::string> labels;  // one per column
  std::vector<int> runs;            // the runs of each column
  std::vector<ContextRow> context;  // empty when no run has a context file
  std::vector<Row> rows;
};

// One column of the comparison: a single run, or the repeats of one directory measured with the
// same worker count on the same file system and device.
struct Column {
  std::string label;
  std::vector<std::size_t> runs;  // indices into the runs, in file order
};

// Every run its own column, labelled as given.
std::vector<Column> EachRun(const std::vector<std::string>& labels);
// Repeats grouped: runs of the same directory (or, when `labelled`, of the same label) with the
// same workers, file system, device and rotational flag form one column, in the order of their
// first run. A column of one run keeps its own label; a larger one is named after its directory
// (or label) and "(N runs)". Runs that differ in context are never mixed.
std::vector<Column> GroupRepeats(const std::vector<RunRecord>& runs,
                                 const std::vector<std::string>& labels, bool labelled);

// The middle of the values (the mean of the two middle ones for an even count); NaN for none.
double Median(std::vector<double> values);

// The JSON and CSV name of a measurement: stream_cycles, descriptor_cycles, byte_write, ...
const char* MeasureKey(Measure measure);
// The report's name of a measurement: "Lower", "Higher", "Low writing", ...
const char* MeasureTitle(Measure measure);

// The default column label: the name of the file's directory, the run's date and time.
std::string DefaultLabel(const RunRecord& run);

// A drive figure and its twin of the multi-thread phase: the headline figures that `chart` draws.
struct HeadlineTwins {
  const Row* single;
  const Row* allWorkers;
};
// The twins of every measurement, in the single-thread order; none for an empty table.
std::vector<HeadlineTwins> Headlines(const ComparisonTable& table);

// One column per run, every figure of every run, before anything is grouped or judged.
ComparisonTable PerRunFigures(const std::vector<RunRecord>& runs);

// Where the runs come from a session run until decided, the later columns judged by its rule
// instead (src/results/comparing/paired_looks.h).
ComparisonTable BuildTable(const std::vector<RunRecord>& runs, const std::vector<Column>& columns,
                           double thresholdPercent = DefaultThresholdPercent);
// One column per run.
ComparisonTable BuildTable(const std::vector<RunRecord>& runs,
                           const std::vector<std::string>& labels);
