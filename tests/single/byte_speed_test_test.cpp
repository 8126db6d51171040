#include "single/byte_speed_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/constants.h"
#include "app/global_streams.h"
#include "app/run_state.h"
#include "support/captured_run.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

using Lines = std::vector<std::string>;

Lines SpeedLines(double elapsed, double rate, const char* secondsText) {
  return {"The system spent: " + AsPrinted(elapsed) + secondsText,
          "It was: " + AsPrinted(rate / 1000000.0) + " Millions Accesses/sec.",
          "Conventionally, it was: " + AsPrinted(rate / 1024 / 1024) + " MB/sec."};
}

// What ByteSpeedTest writes on one channel, built from the figures it stored; `between` stands
// between the write and the read report.
Lines ExpectedByteLines(const Lines& between = {}) {
  Lines lines{"Low writing and reading speeds:", ""};
  for (const auto& line :
       SpeedLines(RunState.byteWriteElapsed, RunState.byteWriteRate, " Secs. to Write.")) {
    lines.push_back(line);
  }
  lines.insert(lines.end(), between.begin(), between.end());
  for (const auto& line :
       SpeedLines(RunState.byteReadElapsed, RunState.byteReadRate, " Secs. to Read:")) {
    lines.push_back(line);
  }
  lines.push_back("");
  return lines;
}

TEST(ByteSpeedTest, WritesTheScratchFileAndReportsBothHalves) {
  ScratchDirectory directory;
  const auto channels = CaptureChannels(ByteSpeedTest);

  EXPECT_EQ(RunState.byteWriteRate, ByteAccessCount / RunState.byteWriteElapsed);
  EXPECT_EQ(RunState.byteReadRate, ByteAccessCount / RunState.byteReadElapsed);
  EXPECT_EQ(channels.console, ExpectedByteLines());
  EXPECT_EQ(channels.log, ExpectedByteLines());

  EXPECT_EQ(FileSize(ScratchFileName), FirstPassBytes);
  EXPECT_TRUE(EveryByteIs(ScratchFileName, FillByte));
  // The block test reads the file while byteOut still holds it, and closes byteOut itself.
  EXPECT_TRUE(byteOut.is_open());
  EXPECT_TRUE(byteOut.good());
  EXPECT_FALSE(byteIn.is_open());
  byteOut.close();
}

TEST(ByteSpeedTest, SaysUnableToOpenFileOnTheConsoleOnlyWhereNoFileCanBeCreated) {
  RemovedDirectory directory;
  const auto channels = CaptureChannels(ByteSpeedTest, directory.outside("results.txt"));

  EXPECT_EQ(channels.console, ExpectedByteLines({"Unable to open file"}));
  EXPECT_EQ(channels.log, ExpectedByteLines());
  byteOut.close();
  byteOut.clear();
}

TEST(ByteSpeedTest, EndsWhenADirectoryStandsInPlaceOfTheScratchFile) {
  ScratchDirectory directory;
  std::filesystem::create_directory(ScratchFileName);
  const auto channels = CaptureChannels(ByteSpeedTest);

  EXPECT_EQ(channels.console, ExpectedByteLines());
  EXPECT_TRUE(std::filesystem::is_directory(ScratchFileName));
  byteOut.close();
  byteOut.clear();
}

}  // namespace
