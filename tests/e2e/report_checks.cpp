#include "e2e/report_checks.h"

#include <gtest/gtest.h>

#include "app/constants.h"

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

void ExpectClosingLines(LineCursor& lines, const std::string& directory,
                        const std::string& resultsName) {
  lines.Expect("Results have been saved in a file and you can find it at: " + directory + "\\" +
               resultsName);
  lines.Expect("");
  lines.Expect("");
  lines.Expect("Press Enter to Exit.");
}
