#include "report/report_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "contract/constants.h"
#include "support/captured_run.h"
#include "support/scratch_directory.h"

namespace {

std::string Written(double value) {
  std::ostringstream out;
  WriteLine(out, value);
  return out.str();
}

struct FormatCase {
  double value;
  const char* shown;
};

TEST(NumberFormat, ShowsDoublesWithSixSignificantDigitsInGeneralNotation) {
  const FormatCase cases[] = {
      {0.25, "0.25\n"},
      {CycleFileCount / 0.25, "65536\n"},
      {1500000.0, "1.5e+06\n"},
      {1234.5678, "1234.57\n"},
      {0.5, "0.5\n"},
      {0.000123456, "0.000123456\n"},
      {0.0000123456, "1.23456e-05\n"},
      {HUGE_VAL, "inf\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Written(c.value), c.shown) << "value " << c.value;
  }
}

struct FigureCase {
  double rate;
  const char* millions;
  const char* megabytes;
};

TEST(DerivedFigures, ScaleRatesToMillionsAndToMegabytes) {
  const FigureCase cases[] = {
      {BlockByteCount, "4.1943\n", "4\n"},          // 4 MiB per second
      {ByteAccessCount / 2.0, "3.14573\n", "3\n"},  // a byte half of two seconds
      {BlockByteCount / 0.5, "8.38861\n", "8\n"},   // a block half of half a second
      {HUGE_VAL, "inf\n", "inf\n"},                 // a span too short for the clock
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Written(ToMillions(c.rate)), c.millions) << "rate " << c.rate;
    EXPECT_EQ(Written(ToMegabytes(c.rate)), c.megabytes) << "rate " << c.rate;
  }
}

// The layout's lines on each channel: the texts that differ between channels, the tag on only
// the tagged lines, and the warnings asked for at their place.
TEST(LineShapes, LayoutLinesTakeTheChannelsTextsAndTagOnlyTaggedLines) {
  LineFigures figures;
  figures.seconds = 0.25;
  figures.rate = CycleFileCount / 0.25;
  std::ostringstream log;
  WriteLayoutLines(log, Channel::Log, LinesOf(CycleLines), NoTag{}, figures, NoWarnings{});
  EXPECT_EQ(log.str(),
            "The system spent: 0.25 Secs.\n"
            "The system could process  65536 Files/sec.\n");

  figures.seconds = 2.0;
  figures.rate = ByteAccessCount / 2.0;
  std::ostringstream console;
  WriteLayoutLines(console, Channel::Console, LinesOf(WorkerReadHalfLines), ThreadTag{3}, figures,
                   [&console](ThreadTag, const char* measurement) {
                     console << "warned about " << measurement << "\n";
                   });
  EXPECT_EQ(console.str(),
            "Thread:3 The system spent: 2 Secs. to Read.\n"
            "Thread:3 It was: 3.14573 Millions Access/sec.\n"
            "Conventionally, it was: 3 MB/sec.\n"
            "warned about reading\n");
}

TEST(ReportChannels, BothChannelsGetTheSameLinesAndHeadersMayDiffer) {
  ScratchDirectory directory;
  const auto channels = CaptureChannels([] {
    ReportParallelHeader({"Power of Handling Files -- Lower", "Power of Handling Files -- Lower."});
    ReportLine("Thread(s): ", 8);
  });
  EXPECT_EQ(channels.console,
            (std::vector<std::string>{"Multi-Thread Enabled:", "Power of Handling Files -- Lower",
                                      "", "Thread(s): 8"}));
  EXPECT_EQ(channels.log,
            (std::vector<std::string>{"Multi-Thread Enabled:", "Power of Handling Files -- Lower.",
                                      "", "Thread(s): 8"}));
}

TEST(ReportChannels, AFailedResultsFileDropsItsLinesAndKeepsTheConsole) {
  ScratchDirectory directory;
  std::ostringstream console;
  std::streambuf* saved = std::cout.rdbuf(console.rdbuf());
  ResultsLog.open("no-such-directory/results.txt");
  ReportLine("It was: ", 1.5);
  const bool logFailed = ResultsLog.fail();
  ResultsLog.clear();
  std::cout.rdbuf(saved);
  EXPECT_TRUE(logFailed);
  EXPECT_EQ(console.str(), "It was: 1.5\n");
}

}  // namespace
