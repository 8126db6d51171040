// What one results file (or a saved console transcript) of the benchmark holds: the run's date
// and time, its workers, and every figure, as the benchmark printed them.
#pragma once

#include <array>
#include <cstddef>
#include <limits>
#include <map>
#include <string>

// The six measurements, in the order the single-thread phase reports them.
enum class Measure : int {
  StreamCycles,
  DescriptorCycles,
  ByteWrite,
  ByteRead,
  BlockRead,
  BlockWrite
};
inline constexpr int MeasureCount = 6;

// A measurement's place in the tables of a record.
constexpr std::size_t Index(Measure measure) {
  return static_cast<std::size_t>(measure);
}

// Which rate the report shows for a measurement, and in which unit.
enum class FigureKind { Files, Accesses, Megabytes };

// Every figure of the report, once: the names, unit and orders that the table, the formats and
// the chart take. Rows stand in the enum's order.
struct FigureDescription {
  Measure measure;
  const char* key;    // for scripts: JSON keys, CSV keys
  const char* title;  // the report's own name of the test
  FigureKind kind;
  int summaryPlace;  // where the multi-thread summaries print it (the block phase: write first)
};
inline constexpr FigureDescription FigureTable[MeasureCount] = {
    {Measure::StreamCycles, "stream_cycles", "Lower", FigureKind::Files, 0},
    {Measure::DescriptorCycles, "descriptor_cycles", "Higher", FigureKind::Files, 1},
    {Measure::ByteWrite, "byte_write", "Low writing", FigureKind::Accesses, 2},
    {Measure::ByteRead, "byte_read", "Low reading", FigureKind::Accesses, 3},
    {Measure::BlockRead, "block_read", "High reading", FigureKind::Megabytes, 5},
    {Measure::BlockWrite, "block_write", "High writing", FigureKind::Megabytes, 4},
};

constexpr bool RowsInEnumOrder() {
  for (int i = 0; i < MeasureCount; ++i) {
    if (Index(FigureTable[i].measure) != static_cast<std::size_t>(i)) {
      return false;
    }
  }
  return true;
}
static_assert(RowsInEnumOrder(), "FigureTable rows stand in the order of Measure");

// The measurements in the single-thread order, and in the order of the multi-thread summaries.
constexpr std::array<Measure, MeasureCount> MeasuresBy(bool summaryOrder) {
  std::array<Measure, MeasureCount> order{};
  for (int i = 0; i < MeasureCount; ++i) {
    const int place = summaryOrder ? FigureTable[i].summaryPlace : i;
    order[static_cast<std::size_t>(place)] = FigureTable[i].measure;
  }
  return order;
}
inline constexpr std::array<Measure, MeasureCount> AllMeasures = MeasuresBy(false);
inline constexpr std::array<Measure, MeasureCount> SummaryOrder = MeasuresBy(true);

constexpr const FigureDescription& Describe(Measure measure) {
  return FigureTable[Index(measure)];
}

// True for the file-handling measurements (files per second); the others are throughput halves
// (millions of accesses and megabytes per second).
constexpr bool IsCycleMeasure(Measure measure) {
  return Describe(measure).kind == FigureKind::Files;
}

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

// Where and how a run was measured, from the context file that `run` writes beside the results
// file; unknown for runs made without it. Texts are safe to show (controls escaped).
struct RunContext {
  bool known = false;
  std::string directory;   // absolute
  std::string fileSystem;  // "ext4", "fuseblk", "NTFS"; empty when not told
  std::string device;      // the model, else the block device; empty when not told
  std::string rotational;  // "yes", "no", or empty
  bool interrupted = false;
  std::string json;  // the whole file, for JSON output
};

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
double ShownRate(Measure measure, const Figures& figures);
double ShownRate(Measure measure, const OverallFigures& figures);
const char* ShownUnit(Measure measure);
