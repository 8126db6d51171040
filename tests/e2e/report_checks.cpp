#include "e2e/report_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <sstream>

#include "contract/constants.h"
#include "results/comparing/comparison_table.h"
#include "results/reading/results_file.h"
#include "support/line_patterns.h"

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + "\n";
  }
  return text;
}

ReadOutcome Read(const std::vector<std::string>& lines, Channel channel) {
  std::istringstream in(Joined(lines));
  return ReadResults(in, channel == Channel::Console ? "console.txt" : "results.txt");
}

// What a measurement's fixed count is, in the unit its rate lines show per second.
double CountOf(Measure measure) {
  switch (Describe(measure).kind) {
    case FigureKind::Files:
      return CycleFileCount;
    case FigureKind::Accesses:
      return ByteAccessCount;
    case FigureKind::Megabytes:
      break;
  }
  return BlockByteCount;
}

// A measurement's rate per second as printed: files, or millions of accesses times a million.
double RateOf(Measure measure, const Figures& figures) {
  return IsCycleMeasure(measure) ? figures.filesPerSecond : figures.millionsPerSecond * 1e6;
}
double RateOf(Measure measure, const OverallFigures& figures) {
  return IsCycleMeasure(measure) ? figures.filesPerSecond : figures.millionsPerSecond * 1e6;
}

// A printed rate is the fixed count over the printed time, and megabytes follow the accesses.
void ExpectConsistent(Measure measure, const Figures& figures, const std::string& where) {
  SCOPED_TRACE(where + " " + MeasureKey(measure));
  EXPECT_TRUE(figures.present);
  EXPECT_FALSE(figures.warned);
  const double rate = RateOf(measure, figures);
  EXPECT_TRUE(PrintedNear(rate, CountOf(measure) / figures.seconds))
      << rate << " is not " << CountOf(measure) << " / " << figures.seconds;
  if (!IsCycleMeasure(measure)) {
    EXPECT_TRUE(PrintedNear(figures.megabytesPerSecond, rate / 1024 / 1024, 1e-4));
  }
}

}  // namespace

void ExpectBanner(const std::vector<std::string>& lines, Channel channel, int threadCount,
                  bool capped) {
  // The run was stopped after its banner: what follows the single-thread label may be cut.
  const auto label = std::find(lines.begin(), lines.end(), SingleThreadLine);
  ASSERT_NE(label, lines.end());
  const ReadOutcome outcome = Read({lines.begin(), label + 1}, channel);
  ASSERT_FALSE(outcome.error) << FormatError(*outcome.error);
  EXPECT_EQ(outcome.record->transcript, channel == Channel::Console);
  EXPECT_EQ(outcome.record->threads, threadCount);
  EXPECT_EQ(outcome.record->capped, capped);
}

std::string SavedLine(const std::string& directory, const std::string& resultsName) {
  return SavedText + directory + "\\" + resultsName;
}

std::string NotSavedLine(const std::string& directory, const std::string& resultsName) {
  return NotSavedText + directory + "\\" + resultsName;
}

void ExpectWholeReport(const std::vector<std::string>& lines, Channel channel, int workers,
                       bool capped, const std::string& pathLine) {
  std::vector<std::string> notes = lines;
  EXPECT_EQ(TakeFailureNotes(notes), std::vector<std::string>{});
  const ReadOutcome outcome = Read(lines, channel);
  ASSERT_FALSE(outcome.error) << FormatError(*outcome.error);
  const RunRecord& run = *outcome.record;
  EXPECT_TRUE(run.complete);
  EXPECT_EQ(run.transcript, channel == Channel::Console);
  EXPECT_EQ(run.threads, workers);
  EXPECT_EQ(run.capped, capped);
  if (channel == Channel::Console) {
    ASSERT_GE(lines.size(), std::size(ClosingLines));
    EXPECT_EQ(lines[lines.size() - std::size(ClosingLines)], pathLine);
  }
  ASSERT_EQ(run.workers.size(), static_cast<std::size_t>(workers));
  for (const Measure measure : AllMeasures) {
    const std::size_t at = Index(measure);
    ExpectConsistent(measure, run.single[at], "single thread");
    double sum = 0;
    for (const auto& [thread, figures] : run.workers) {
      ExpectConsistent(measure, figures[at], "thread " + std::to_string(thread));
      sum += RateOf(measure, figures[at]);
    }
    const OverallFigures& overall = run.overall[at];
    SCOPED_TRACE(std::string("overall ") + MeasureKey(measure));
    EXPECT_TRUE(overall.present);
    const double overallRate = RateOf(measure, overall);
    EXPECT_TRUE(PrintedNear(overallRate, sum, 5e-5)) << overallRate << " is not the sum " << sum;
    if (!IsCycleMeasure(measure)) {
      EXPECT_TRUE(PrintedNear(overall.megabytesPerSecond, overallRate / 1024 / 1024, 1e-4));
    }
    const double single = RateOf(measure, run.single[at]);
    EXPECT_TRUE(PrintedNear(overall.improvement, overallRate / single, 5e-5))
        << overall.improvement << " is not " << overallRate << " / " << single;
  }
}

std::vector<std::string> TakeFailureNotes(std::vector<std::string>& lines) {
  std::vector<std::string> notes;
  std::vector<std::string> kept;
  for (auto& line : lines) {
    const bool note = line == UnableToOpenLine || line.find(WarningText) != std::string::npos;
    (note ? notes : kept).push_back(std::move(line));
  }
  lines = std::move(kept);
  return notes;
}

RunRecord ExpectReadBack(const std::string& text, bool transcript, int workers) {
  std::istringstream in(text);
  const ReadOutcome outcome = ReadResults(in, transcript ? "console.txt" : "results.txt");
  EXPECT_FALSE(outcome.error) << (outcome.error ? FormatError(*outcome.error) : "");
  if (!outcome.record) {
    return {};
  }
  const RunRecord& run = *outcome.record;
  EXPECT_TRUE(run.complete);
  EXPECT_EQ(run.transcript, transcript);
  EXPECT_EQ(run.threads, workers);
  EXPECT_EQ(run.workers.size(), static_cast<std::size_t>(workers));
  for (const Measure measure : AllMeasures) {
    EXPECT_TRUE(run.single[Index(measure)].present) << MeasureKey(measure);
    EXPECT_TRUE(run.overall[Index(measure)].present) << MeasureKey(measure);
    for (const auto& [thread, figures] : run.workers) {
      EXPECT_TRUE(figures[Index(measure)].present) << thread << " " << MeasureKey(measure);
    }
  }
  return run;
}
