// The figures of the report, once: what each measurement is called, in which unit the report
// shows it and where the summaries print it. The benchmark's report layout and every output of
// drives-tesk-results take their names and orders from here.
#pragma once

#include <array>
#include <cstddef>

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
