// Expectations about a whole run's report, walked line by line on one channel.
#pragma once

#include "results/record/run_record.h"
#include "support/line_patterns.h"

enum class Channel { Console, Log };

// The figures of the single-thread phase as printed, for the improvement checks.
struct SingleFigures {
  double streamCycleRate = 0, descriptorCycleRate = 0;
  double byteWriteRate = 0, byteReadRate = 0;
  double blockReadRate = 0, blockWriteRate = 0;
};

// The banner from its title line on (the console's first four lines are checked separately),
// through "Force to be single thread." and its empty line.
void ExpectBanner(LineCursor& lines, Channel channel, int threadCount, bool capped);

// The four single-thread tests; returns their rates as printed.
SingleFigures ExpectSinglePhase(LineCursor& lines, Channel channel);

// The console's closing lines after the results file has been closed; `pathLine` is the first,
// compared literally.
void ExpectClosingLines(LineCursor& lines, const std::string& pathLine);

// The closing path line of a run whose results file was, or was not, saved.
std::string SavedLine(const std::string& directory, const std::string& resultsName);
std::string NotSavedLine(const std::string& directory, const std::string& resultsName);

// The three parallel regions with `workers` workers: header blocks, one report block per worker
// (in any order, never interleaved, every thread number once), and the summaries, whose overall
// figures must be the sums of the printed per-worker figures and whose improvements must divide
// them by the single-thread figures.
void ExpectParallelPhases(LineCursor& lines, Channel channel, int workers,
                          const SingleFigures& single);

// A whole channel of a run with `workers` workers, from the first line to the last; for the
// console, `pathLine` is the closing path line.
void ExpectWholeReport(const std::vector<std::string>& lines, Channel channel, int workers,
                       bool capped, const std::string& pathLine = "");

// The console lines that only appear when something failed ("Unable to open file" and the
// warnings after a measurement), moved out of `lines` into the result.
std::vector<std::string> TakeFailureNotes(std::vector<std::string>& lines);

// What drives-tesk-results reads back from a fresh report (`text`, a results file or the console
// as printed): a complete record with `workers` workers and every figure present, so that a
// change of the report that the reader no longer follows fails here. Returns the record.
RunRecord ExpectReadBack(const std::string& text, bool transcript, int workers);
