#include "e2e/report_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "contract/constants.h"
#include "results/comparing/comparison_table.h"
#include "results/reading/results_file.h"

namespace {

// A printed rate must be the fixed count over the printed time, within print precision.
void ExpectRateOfTime(double seconds, double printedRate, double count) {
  EXPECT_TRUE(PrintedNear(printedRate, count / seconds))
      << printedRate << " is not " << count << " / " << seconds;
}

double ExpectCycleTest(LineCursor& lines, Channel channel, const char* consoleHeader,
                       const char* logHeader) {
  lines.Expect(channel == Channel::Console ? consoleHeader : logHeader);
  lines.Expect("");
  const double seconds = lines.Expect("The system spent: {n} Secs.").at(0);
  const double rate =
      lines
          .Expect(channel == Channel::Console ? "The system could process {n} Files/sec."
                                              : "The system could process  {n} Files/sec.")
          .at(0);
  lines.Expect("");
  ExpectRateOfTime(seconds, rate, CycleFileCount);
  return rate;
}

// Three lines of a throughput half; returns the rate in units per second, as printed.
double ExpectSpeedHalf(LineCursor& lines, const char* secondsText, double count) {
  const double seconds = lines.Expect(std::string("The system spent: {n}") + secondsText).at(0);
  const double millions = lines.Expect("It was: {n} Millions Accesses/sec.").at(0);
  const double megabytes = lines.Expect("Conventionally, it was: {n} MB/sec.").at(0);
  ExpectRateOfTime(seconds, millions, count / 1000000.0);
  EXPECT_TRUE(PrintedNear(megabytes, millions * 1000000.0 / 1024 / 1024, 1e-4));
  return millions * 1000000.0;
}

}  // namespace

void ExpectBanner(LineCursor& lines, Channel channel, int threadCount, bool capped) {
  lines.Expect(
      "Tarnovel :: Quillbright Benchmark Drives Tesk for Windows on x86-64bit system 2019.12.24.");
  if (channel == Channel::Console) {
    EXPECT_NE(lines.Peek().find("scratch files"), std::string::npos) << lines.Peek();
    lines.Expect(lines.Peek());
    EXPECT_NE(lines.Peek().find("README"), std::string::npos) << lines.Peek();
    lines.Expect(lines.Peek());
    lines.Expect("");
    lines.Expect("");
  }
  lines.Expect("");
  lines.Expect("Thread(s): " + std::to_string(threadCount));
  lines.Expect("");
  if (capped) {
    lines.Expect("The threads limitation of Tesk Edition is set to maximum 128 threads.");
  }
  lines.Expect("Force to be single thread.");
  lines.Expect("");
}

SingleFigures ExpectSinglePhase(LineCursor& lines, Channel channel) {
  SingleFigures figures;
  figures.streamCycleRate = ExpectCycleTest(lines, channel, "Power of Handling Files -- Lower",
                                            "Power of Handling Files -- Lower");
  figures.descriptorCycleRate = ExpectCycleTest(lines, channel, "Power of Handling Files -- Hihger",
                                                "Power of Handling Files -- Higher");

  lines.Expect("Low writing and reading speeds:");
  lines.Expect("");
  figures.byteWriteRate = ExpectSpeedHalf(lines, " Secs. to Write.", ByteAccessCount);
  figures.byteReadRate = ExpectSpeedHalf(lines, " Secs. to Read:", ByteAccessCount);
  lines.Expect("");

  lines.Expect("High writing and reading speeds:");
  lines.Expect("");
  figures.blockReadRate = ExpectSpeedHalf(lines, " Secs. to Read:", BlockByteCount);
  figures.blockWriteRate = ExpectSpeedHalf(lines, " Secs. to Write.", BlockByteCount);
  lines.Expect("");
  lines.Expect("");
  return figures;
}

std::string SavedLine(const std::string& directory, const std::string& resultsName) {
  return "Results have been saved in a file and you can find it at: " + directory + "\\" +
         resultsName;
}

std::string NotSavedLine(const std::string& directory, const std::string& resultsName) {
  return "Results could not be saved in a file; it was meant to be at: " + directory + "\\" +
         resultsName;
}

void ExpectClosingLines(LineCursor& lines, const std::string& pathLine) {
  EXPECT_EQ(lines.Peek(), pathLine);
  lines.Expect(lines.Peek());
  lines.Expect("");
  lines.Expect("");
  lines.Expect("Press Enter to Exit.");
}

namespace {

void ExpectParallelHeader(LineCursor& lines, const std::string& header) {
  lines.Expect("Multi-Thread Enabled:");
  lines.Expect(header);
  lines.Expect("");
}

// Every thread number from 0 to workers - 1 exactly once.
void ExpectEveryWorkerOnce(std::vector<int> threads, int workers) {
  std::sort(threads.begin(), threads.end());
  std::vector<int> expected(static_cast<std::size_t>(workers));
  for (int t = 0; t < workers; ++t) {
    expected[static_cast<std::size_t>(t)] = t;
  }
  EXPECT_EQ(threads, expected);
}

void ExpectImprovement(LineCursor& lines, double overall, double single) {
  const double improvement = lines.Expect("Multi-Thread Improvements: {n} times.").at(0);
  EXPECT_TRUE(PrintedNear(improvement, overall / single, 5e-5))
      << improvement << " is not " << overall << " / " << single;
}

void ExpectCyclePhase(LineCursor& lines, const std::string& header, int workers, double single) {
  ExpectParallelHeader(lines, header);
  std::vector<int> threads;
  double sum = 0;
  for (int block = 0; block < workers; ++block) {
    const auto time = lines.Expect("Thread:{n} The system spent: {n} Secs.");
    const auto rate = lines.Expect("Thread:{n} The system could process {n} Files/sec.");
    ASSERT_EQ(time.size(), 2u);
    ASSERT_EQ(rate.size(), 2u);
    EXPECT_EQ(time[0], rate[0]) << "a worker's lines are interleaved with another's";
    ExpectRateOfTime(time[1], rate[1], CycleFileCount);
    threads.push_back(static_cast<int>(time[0]));
    sum += rate[1];
  }
  ExpectEveryWorkerOnce(threads, workers);
  lines.Expect("");
  lines.Expect("");
  const double overall = lines.Expect("Overall, The system could process: {n} Files/sec.").at(0);
  EXPECT_TRUE(PrintedNear(overall, sum, 2e-5)) << overall << " is not the sum " << sum;
  ExpectImprovement(lines, overall, single);
  lines.Expect("");
}

// A worker's three lines of one half; returns the rate in units per second and checks the tag.
double ExpectWorkerHalf(LineCursor& lines, Channel channel, int thread, const char* secondsText,
                        double count) {
  const char* access =
      channel == Channel::Console ? " Millions Access/sec." : " Millions Accesses/sec.";
  const auto time = lines.Expect(std::string("Thread:{n} The system spent: {n}") + secondsText);
  const auto millions = lines.Expect(std::string("Thread:{n} It was: {n}") + access);
  const double megabytes = lines.Expect("Conventionally, it was: {n} MB/sec.").at(0);
  if (time.size() != 2 || millions.size() != 2) {
    ADD_FAILURE() << "worker lines do not match";
    return 0;
  }
  EXPECT_EQ(time[0], thread) << "a worker's lines are interleaved with another's";
  EXPECT_EQ(millions[0], thread) << "a worker's lines are interleaved with another's";
  ExpectRateOfTime(time[1], millions[1], count / 1000000.0);
  EXPECT_TRUE(PrintedNear(megabytes, millions[1] * 1000000.0 / 1024 / 1024, 1e-4));
  return millions[1] * 1000000.0;
}

void ExpectOverallHalf(LineCursor& lines, const char* direction, const char* speedWord, double sum,
                       double single) {
  const double overall =
      lines.Expect(std::string("Overall, It was: {n} Millions Accesses/sec.to ") + direction).at(0);
  const double megabytes =
      lines.Expect(std::string("Conventionally, total ") + speedWord + " speed was: {n} MB/sec.")
          .at(0);
  EXPECT_TRUE(PrintedNear(overall * 1000000.0, sum, 5e-5)) << overall << " is not the sum " << sum;
  EXPECT_TRUE(PrintedNear(megabytes, overall * 1000000.0 / 1024 / 1024, 1e-4));
  ExpectImprovement(lines, overall * 1000000.0, single);
}

// A throughput phase: per worker a block with the write half, then the read half (in both
// phases the write figures come first); then the summary.
void ExpectSpeedPhase(LineCursor& lines, Channel channel, const std::string& header, int workers,
                      double count, int leadingEmptyLines, double singleWrite, double singleRead) {
  ExpectParallelHeader(lines, header);
  std::vector<int> threads;
  double writeSum = 0, readSum = 0;
  for (int block = 0; block < workers; ++block) {
    std::vector<double> lead;
    if (!MatchLine(lines.Peek(), "Thread:{n} The system spent: {n} Secs. to Write.", &lead)) {
      ADD_FAILURE() << "expected a worker's block, got \"" << lines.Peek() << "\"";
      return;
    }
    const int thread = static_cast<int>(lead.at(0));
    threads.push_back(thread);
    writeSum += ExpectWorkerHalf(lines, channel, thread, " Secs. to Write.", count);
    readSum += ExpectWorkerHalf(lines, channel, thread, " Secs. to Read.", count);
  }
  ExpectEveryWorkerOnce(threads, workers);
  for (int line = 0; line < leadingEmptyLines; ++line) {
    lines.Expect("");
  }
  ExpectOverallHalf(lines, "Write", "writing", writeSum, singleWrite);
  ExpectOverallHalf(lines, "Read", "reading", readSum, singleRead);
  lines.Expect("");
}

}  // namespace

void ExpectParallelPhases(LineCursor& lines, Channel channel, int workers,
                          const SingleFigures& single) {
  const bool console = channel == Channel::Console;
  ExpectCyclePhase(
      lines, console ? "Power of Handling Files -- Lower" : "Power of Handling Files -- Lower.",
      workers, single.streamCycleRate);
  ExpectCyclePhase(
      lines, console ? "Power of Handling Files -- Higher" : "Power of Handling Files -- Higher.",
      workers, single.descriptorCycleRate);
  ExpectSpeedPhase(lines, channel, "Low writing and reading speeds:", workers, ByteAccessCount, 2,
                   single.byteWriteRate, single.byteReadRate);
  ExpectSpeedPhase(lines, channel, "High writing and reading speeds:", workers, BlockByteCount, 1,
                   single.blockWriteRate, single.blockReadRate);
}

void ExpectWholeReport(const std::vector<std::string>& lines, Channel channel, int workers,
                       bool capped, const std::string& pathLine) {
  LineCursor cursor(lines);
  if (channel == Channel::Console) {
    cursor.Expect("");
  }
  ExpectBanner(cursor, channel, workers, capped);
  const SingleFigures single = ExpectSinglePhase(cursor, channel);
  ExpectParallelPhases(cursor, channel, workers, single);
  if (channel == Channel::Console) {
    ExpectClosingLines(cursor, pathLine);
  }
  EXPECT_TRUE(cursor.AtEnd()) << "extra line: " << cursor.Peek();
}

std::vector<std::string> TakeFailureNotes(std::vector<std::string>& lines) {
  std::vector<std::string> notes;
  std::vector<std::string> kept;
  for (auto& line : lines) {
    const bool note =
        line == "Unable to open file" || line.find("Warning: the ") != std::string::npos;
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
