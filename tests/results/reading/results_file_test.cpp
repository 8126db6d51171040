#include "results/reading/results_file.h"
#include "contract/constants.h"
#include "contract/report_texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "results/stored_runs.h"
#include "support/line_patterns.h"

namespace {

namespace fs = std::filesystem;

RunRecord ReadOk(const std::string& path) {
  ReadOutcome outcome = ReadResultsFile(path);
  EXPECT_FALSE(outcome.error) << (outcome.error ? FormatError(*outcome.error) : "");
  return outcome.record.value_or(RunRecord{});
}

ReadOutcome ReadText(const std::string& text, const std::string& path = "made.txt") {
  std::istringstream in(text);
  return ReadResults(in, path);
}

// Every stored run, results file and transcript, LF and CR LF: complete, with every figure of
// the single thread, of every worker and of the summaries, and rates that fit their times.
TEST(ReadResults, ReadsEveryFigureOfRealRunsWithOneToThreeWorkers) {
  const struct {
    const char* folder;
    const char* prefix;
    int threads;
    bool transcript;
  } cases[] = {
      {"linux-1-worker", "results_", 1, false},   {"linux-2-workers", "results_", 2, false},
      {"linux-3-workers", "results_", 3, false},  {"linux-1-worker", "console", 1, true},
      {"windows-1-worker", "results_", 1, false}, {"windows-1-worker", "console", 1, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.folder) + "/" + c.prefix);
    const RunRecord run = ReadOk(StoredRun(c.folder, c.prefix));
    EXPECT_TRUE(run.complete);
    EXPECT_EQ(run.transcript, c.transcript);
    EXPECT_EQ(run.threads, c.threads);
    EXPECT_EQ(run.date.size(), 10u);
    EXPECT_EQ(run.time.size(), 8u);
    EXPECT_EQ(run.workers.size(), static_cast<std::size_t>(c.threads));
    for (const Measure measure : AllMeasures) {
      const Figures& single = run.single[Index(measure)];
      ASSERT_TRUE(single.present);
      EXPECT_FALSE(single.warned);
      if (measure == Measure::StreamCycles) {
        EXPECT_TRUE(PrintedNear(single.filesPerSecond, CycleCount / single.seconds, 2e-5));
      }
      double sum = 0;
      for (const auto& worker : run.workers) {
        ASSERT_TRUE(worker.second[Index(measure)].present);
        sum += ReportRate(measure, worker.second[Index(measure)]);
      }
      const OverallFigures& overall = run.overall[Index(measure)];
      ASSERT_TRUE(overall.present);
      EXPECT_TRUE(PrintedNear(ReportRate(measure, overall), sum, 1e-4));
      EXPECT_TRUE(PrintedNear(overall.improvement,
                              ReportRate(measure, overall) / ReportRate(measure, single), 1e-4));
    }
  }
}

TEST(ReadResults, TakesTheSameFiguresFromATranscriptAsFromItsResultsFile) {
  const RunRecord log = ReadOk(StoredRun("linux-1-worker", "results_"));
  const RunRecord console = ReadOk(StoredRun("linux-1-worker", "console"));
  EXPECT_EQ(console.date + " " + console.time, log.date + " " + log.time);
  for (const Measure measure : AllMeasures) {
    EXPECT_EQ(ReportRate(measure, console.single[Index(measure)]),
              ReportRate(measure, log.single[Index(measure)]));
    EXPECT_EQ(console.overall[Index(measure)].improvement, log.overall[Index(measure)].improvement);
  }
}

TEST(ReadResults, NotesTheCapMessage) {
  std::string text = ReadWholeFile(StoredRun("linux-1-worker", "results_"));
  const std::string label = "Force to be single thread.";
  text.insert(text.find(label), std::string(CapLine) + "\n");
  const ReadOutcome outcome = ReadText(text);
  ASSERT_TRUE(outcome.record);
  EXPECT_TRUE(outcome.record->capped);
  EXPECT_TRUE(outcome.record->complete);
}

TEST(ReadResults, GivesWhatACutShortFileHoldsAndMarksItIncomplete) {
  const std::string whole = ReadWholeFile(StoredRun("linux-2-workers", "results_"));
  // Cut in the middle of the third parallel phase, inside a line.
  const std::string cut = whole.substr(0, whole.find("Low writing", whole.find("Higher.")) + 20);
  const ReadOutcome outcome = ReadText(cut);
  ASSERT_TRUE(outcome.record);
  const RunRecord& run = *outcome.record;
  EXPECT_FALSE(run.complete);
  EXPECT_TRUE(run.single[Index(Measure::BlockWrite)].present);
  EXPECT_TRUE(run.overall[Index(Measure::DescriptorCycles)].present);
  EXPECT_FALSE(run.overall[Index(Measure::ByteWrite)].present);
}

// Numbers in every form the benchmark prints, and the console's warnings as flags on the figure
// they follow; "Unable to open file" may stand anywhere in a transcript.
TEST(ReadResults, ReadsEveryNumberFormAndFlagsWarnedFigures) {
  std::vector<std::string> lines =
      SplitLines(ReadWholeFile(StoredRun("linux-1-worker", "console")));
  auto spent = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("The system spent: ", 0) == 0;
  });
  ASSERT_NE(spent, lines.end());
  const auto first = static_cast<std::size_t>(spent - lines.begin());
  lines[first] = "The system spent: nan Secs.";
  lines[first + 1] = "The system could process inf Files/sec.";
  lines[first + 6] = "The system could process 1.30178e+06 Files/sec.";  // the descriptor test
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(first) + 2,
               "Warning: the file-handling figures above are not a drive speed: open failed " +
                   std::to_string(CycleCount) + " times: Permission denied.");
  lines.insert(lines.begin() + 5, "Unable to open file");
  std::string text;
  for (const auto& line : lines) {
    text += line + "\n";
  }
  const ReadOutcome outcome = ReadText(text);
  ASSERT_TRUE(outcome.record) << FormatError(*outcome.error);
  const Figures& stream = outcome.record->single[Index(Measure::StreamCycles)];
  EXPECT_TRUE(std::isnan(stream.seconds));
  EXPECT_TRUE(std::isinf(stream.filesPerSecond));
  EXPECT_TRUE(stream.warned);
  const Figures& descriptor = outcome.record->single[Index(Measure::DescriptorCycles)];
  EXPECT_EQ(descriptor.filesPerSecond, 1.30178e+06);
  EXPECT_FALSE(descriptor.warned);
  EXPECT_TRUE(outcome.record->complete);
}

TEST(ReadResults, RefusesWhatIsNotAResultsFileNamingTheLineAndWhatWasExpected) {
  const ReadOutcome foreign = ReadText("# shopping list\nmilk\n", "list.txt");
  ASSERT_TRUE(foreign.error);
  EXPECT_EQ(FormatError(*foreign.error).rfind("list.txt:1: expected \"Tarnovel :: ", 0), 0u)
      << FormatError(*foreign.error);

  const std::string whole = ReadWholeFile(StoredRun("linux-1-worker", "results_"));
  const std::string broken = whole.substr(0, whole.find("Thread(s)")) + "Thread(s): many\n";
  const ReadOutcome badCount = ReadText(broken, "r.txt");
  ASSERT_TRUE(badCount.error);
  EXPECT_EQ(badCount.error->line, 3);
  EXPECT_NE(badCount.error->message.find("found \"Thread(s): many\""), std::string::npos);

  EXPECT_TRUE(ReadText("one line without a line end").error);
  EXPECT_TRUE(ReadText(std::string("Tarnovel\0binary", 15)).error);
  // A huge line is refused at its bound, not read to its end.
  const ReadOutcome huge = ReadText(std::string(MaxLineLength * 100, 'x'));
  ASSERT_TRUE(huge.error);
  EXPECT_NE(huge.error->message.find("longer than"), std::string::npos);
  EXPECT_TRUE(ReadResultsFile("no such file.txt").error);
}

}  // namespace
