// The report's layout, line by line, for both channels: which lines a run prints, in which order,
// with which texts on the console and in the results file, and which figure each line carries.
// The benchmark writes its report from these rows, drives-tesk-results reads reports by them,
// and the end-to-end tests check runs against them, so the three cannot drift apart.
#pragma once

#include <cstddef>

#include "contract/figure_table.h"
#include "contract/report_texts.h"

enum class Channel { Console, Log };

// The text a line has on each channel; nullptr where the line is not on that channel.
struct ChannelText {
  const char* console;
  const char* log;

  constexpr const char* On(Channel channel) const {
    return channel == Channel::Console ? console : log;
  }
};

enum class LineKind {
  Text,          // a fixed text
  Blank,         // an empty line
  Figure,        // text, a number, closing text
  TaggedFigure,  // "Thread:N ", then as Figure: a line a worker writes about itself
  Optional,      // a fixed text that only some runs print (the cap message)
  Warnings,      // console only: any number of lines saying a measurement's operations failed
  ClosingPath,   // console only: where the results file was, or was meant to be, saved
};

// What the number of a figure line is.
enum class Field {
  None,
  Threads,      // the worker count, a whole number
  Seconds,      // the measured span
  Files,        // files per second
  Millions,     // millions of accesses per second
  Megabytes,    // megabytes per second
  Improvement,  // the overall rate over the single-thread rate
};

struct LayoutLine {
  ChannelText text;   // the whole line, or what stands before the number; Warnings: what the
                      // warning calls the measurement
  ChannelText after;  // what follows the number
  LineKind kind;
  Field field;
};

// A run of layout lines.
struct LayoutLines {
  const LayoutLine* first;
  std::size_t count;

  constexpr const LayoutLine* begin() const { return first; }
  constexpr const LayoutLine* end() const { return first + count; }
};

template <std::size_t N>
constexpr LayoutLines LinesOf(const LayoutLine (&lines)[N]) {
  return {lines, N};
}

namespace layout {

constexpr ChannelText Both(const char* text) {
  return {text, text};
}
constexpr ChannelText ConsoleOnly(const char* text) {
  return {text, nullptr};
}
constexpr LayoutLine Text(ChannelText text) {
  return {text, {nullptr, nullptr}, LineKind::Text, Field::None};
}
constexpr LayoutLine Blank(ChannelText where = Both("")) {
  return {where, {nullptr, nullptr}, LineKind::Blank, Field::None};
}
constexpr LayoutLine Figure(Field field, ChannelText before, ChannelText after) {
  return {before, after, LineKind::Figure, field};
}
constexpr LayoutLine Tagged(Field field, ChannelText before, ChannelText after) {
  return {before, after, LineKind::TaggedFigure, field};
}
constexpr LayoutLine Warnings(const char* measurement) {
  return {ConsoleOnly(measurement), {nullptr, nullptr}, LineKind::Warnings, Field::None};
}

}  // namespace layout

// The banner, from the console's first line to the empty line after the thread count. The
// console opens with an empty line and keeps three empty lines before the thread count, the
// results file one.
inline constexpr LayoutLine BannerLines[] = {
    layout::Blank(layout::ConsoleOnly("")),
    layout::Text(layout::Both(TitleLine)),
    layout::Text(layout::ConsoleOnly(NoticeLine)),
    layout::Text(layout::ConsoleOnly(SupportLine)),
    layout::Blank(layout::ConsoleOnly("")),
    layout::Blank(layout::ConsoleOnly("")),
    layout::Blank(),
    layout::Figure(Field::Threads, layout::Both(ThreadCountText), layout::Both("")),
    layout::Blank(),
    {layout::Both(CapLine), {nullptr, nullptr}, LineKind::Optional, Field::None},
    layout::Text(layout::Both(SingleThreadLine)),
    layout::Blank(),
};

// Every test's header, single-thread and multi-thread, is followed by this many empty lines.
inline constexpr int HeaderBlanks = 1;

// A single-thread file-handling measurement. The results file has always had two blanks before
// the rate ("process  "), the console one; stored results files are compared with that spacing.
inline constexpr LayoutLine CycleLines[] = {
    layout::Figure(Field::Seconds, layout::Both(SpentText), layout::Both(SecondsText)),
    layout::Figure(Field::Files, {ProcessText, LogProcessText}, layout::Both(FilesText)),
    layout::Warnings(FileHandlingText),
};

// A single-thread throughput half. Read halves end their time line with a colon.
inline constexpr LayoutLine WriteHalfLines[] = {
    layout::Figure(Field::Seconds, layout::Both(SpentText), layout::Both(WriteSecondsText)),
    layout::Figure(Field::Millions, layout::Both(AccessRateText), layout::Both(AccessesText)),
    layout::Figure(Field::Megabytes, layout::Both(DataRateText), layout::Both(MegabytesText)),
    layout::Warnings(WritingText),
};
inline constexpr LayoutLine ReadHalfLines[] = {
    layout::Figure(Field::Seconds, layout::Both(SpentText), layout::Both(ReadSecondsText)),
    layout::Figure(Field::Millions, layout::Both(AccessRateText), layout::Both(AccessesText)),
    layout::Figure(Field::Megabytes, layout::Both(DataRateText), layout::Both(MegabytesText)),
    layout::Warnings(ReadingText),
};

// A worker's lines. Only the time and the accesses carry the worker's tag; the console has
// always said "Access" in the worker's access line, and a worker's read half ends with a full
// stop where the single-thread one has a colon.
inline constexpr LayoutLine WorkerCycleLines[] = {
    layout::Tagged(Field::Seconds, layout::Both(SpentText), layout::Both(SecondsText)),
    layout::Tagged(Field::Files, layout::Both(ProcessText), layout::Both(FilesText)),
    layout::Warnings(FileHandlingText),
};
inline constexpr LayoutLine WorkerWriteHalfLines[] = {
    layout::Tagged(Field::Seconds, layout::Both(SpentText), layout::Both(WriteSecondsText)),
    layout::Tagged(Field::Millions, layout::Both(AccessRateText),
                   {WorkerConsoleAccessesText, AccessesText}),
    layout::Figure(Field::Megabytes, layout::Both(DataRateText), layout::Both(MegabytesText)),
    layout::Warnings(WritingText),
};
inline constexpr LayoutLine WorkerReadHalfLines[] = {
    layout::Tagged(Field::Seconds, layout::Both(SpentText), layout::Both(WorkerReadSecondsText)),
    layout::Tagged(Field::Millions, layout::Both(AccessRateText),
                   {WorkerConsoleAccessesText, AccessesText}),
    layout::Figure(Field::Megabytes, layout::Both(DataRateText), layout::Both(MegabytesText)),
    layout::Warnings(ReadingText),
};

// The summaries after a multi-thread phase: the sum over the workers and its gain. No blank
// before "to" in the throughput lines.
inline constexpr LayoutLine CycleSummaryLines[] = {
    layout::Figure(Field::Files, layout::Both(OverallFilesText), layout::Both(FilesText)),
    layout::Figure(Field::Improvement, layout::Both(ImprovementText), layout::Both(TimesText)),
};
inline constexpr LayoutLine WriteSummaryLines[] = {
    layout::Figure(Field::Millions, layout::Both(OverallAccessText),
                   layout::Both(OverallWriteAccessesText)),
    layout::Figure(Field::Megabytes, layout::Both(OverallWritingText), layout::Both(MegabytesText)),
    layout::Figure(Field::Improvement, layout::Both(ImprovementText), layout::Both(TimesText)),
};
inline constexpr LayoutLine ReadSummaryLines[] = {
    layout::Figure(Field::Millions, layout::Both(OverallAccessText),
                   layout::Both(OverallReadAccessesText)),
    layout::Figure(Field::Megabytes, layout::Both(OverallReadingText), layout::Both(MegabytesText)),
    layout::Figure(Field::Improvement, layout::Both(ImprovementText), layout::Both(TimesText)),
};

// The console's last lines, after the results file is closed.
inline constexpr LayoutLine ClosingLines[] = {
    {layout::ConsoleOnly(SavedText), {nullptr, nullptr}, LineKind::ClosingPath, Field::None},
    layout::Blank(layout::ConsoleOnly("")),
    layout::Blank(layout::ConsoleOnly("")),
    layout::Text(layout::ConsoleOnly(EnterLine)),
};

// A test reports one or two measurements (a throughput test's write and read halves).
inline constexpr int MaxParts = 2;

// The lines that report one measurement.
struct MeasureLines {
  Measure measure;
  LayoutLines lines;
};

// A single-thread test: its header, the lines of its one or two measurements, and the empty
// lines after them.
struct SingleTestLayout {
  ChannelText header;
  MeasureLines parts[MaxParts];
  int partCount;
  int blanksAfter;
};

// The single-thread phase ends with one more empty line than the tests before it.
inline constexpr int LastSingleTestBlanks = 2;

inline constexpr SingleTestLayout StreamCycleLayout = {
    layout::Both(LowerHeader), {{Measure::StreamCycles, LinesOf(CycleLines)}, {}}, 1, 1};
// "Hihger" on the console is the program's long-standing spelling; the results file says
// "Higher".
inline constexpr SingleTestLayout DescriptorCycleLayout = {
    {HigherConsoleHeader, HigherHeader},
    {{Measure::DescriptorCycles, LinesOf(CycleLines)}, {}},
    1,
    1};
inline constexpr SingleTestLayout ByteSpeedLayout = {
    layout::Both(LowSpeedHeader),
    {{Measure::ByteWrite, LinesOf(WriteHalfLines)}, {Measure::ByteRead, LinesOf(ReadHalfLines)}},
    2,
    1};
// The block test reads first, then writes the copy.
inline constexpr SingleTestLayout BlockSpeedLayout = {
    layout::Both(HighSpeedHeader),
    {{Measure::BlockRead, LinesOf(ReadHalfLines)}, {Measure::BlockWrite, LinesOf(WriteHalfLines)}},
    2,
    LastSingleTestBlanks};

inline constexpr const SingleTestLayout* SingleTests[] = {
    &StreamCycleLayout, &DescriptorCycleLayout, &ByteSpeedLayout, &BlockSpeedLayout};

// A multi-thread phase: "Multi-Thread Enabled:", its header, one block of lines per worker (in
// the order the workers finish), the summary after the given empty lines, and one empty line.
struct ParallelPhaseLayout {
  ChannelText header;
  MeasureLines worker[MaxParts];
  int partCount;
  int blanksBeforeSummary;
  MeasureLines summary[MaxParts];
};

// Empty lines before a summary: two after the file-handling and byte-wise phases, one after the
// block phase, as the program has always printed them.
inline constexpr int SummaryBlanks = 2;
inline constexpr int BlockSummaryBlanks = 1;
inline constexpr int PhaseEndBlanks = 1;

// The multi-thread file-handling headers end with a full stop in the results file only, and the
// console says "Higher" here.
inline constexpr ParallelPhaseLayout ParallelStreamCycles = {
    {LowerHeader, ParallelLowerLogHeader},
    {{Measure::StreamCycles, LinesOf(WorkerCycleLines)}, {}},
    1,
    SummaryBlanks,
    {{Measure::StreamCycles, LinesOf(CycleSummaryLines)}, {}}};
inline constexpr ParallelPhaseLayout ParallelDescriptorCycles = {
    {HigherHeader, ParallelHigherLogHeader},
    {{Measure::DescriptorCycles, LinesOf(WorkerCycleLines)}, {}},
    1,
    SummaryBlanks,
    {{Measure::DescriptorCycles, LinesOf(CycleSummaryLines)}, {}}};
// Both throughput phases report each worker's write half first, then its read half.
inline constexpr ParallelPhaseLayout ParallelByteSpeed = {
    layout::Both(LowSpeedHeader),
    {{Measure::ByteWrite, LinesOf(WorkerWriteHalfLines)},
     {Measure::ByteRead, LinesOf(WorkerReadHalfLines)}},
    2,
    SummaryBlanks,
    {{Measure::ByteWrite, LinesOf(WriteSummaryLines)},
     {Measure::ByteRead, LinesOf(ReadSummaryLines)}}};
inline constexpr ParallelPhaseLayout ParallelBlockSpeed = {
    layout::Both(HighSpeedHeader),
    {{Measure::BlockWrite, LinesOf(WorkerWriteHalfLines)},
     {Measure::BlockRead, LinesOf(WorkerReadHalfLines)}},
    2,
    BlockSummaryBlanks,
    {{Measure::BlockWrite, LinesOf(WriteSummaryLines)},
     {Measure::BlockRead, LinesOf(ReadSummaryLines)}}};

inline constexpr const ParallelPhaseLayout* ParallelPhases[] = {
    &ParallelStreamCycles, &ParallelDescriptorCycles, &ParallelByteSpeed, &ParallelBlockSpeed};
