#include "contract/file_names.h"
#include "single/byte_speed_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "contract/constants.h"
#include "state/global_streams.h"
#include "state/run_state.h"
#include "support/captured_run.h"
#include "support/line_patterns.h"
#include "support/platform_facts.h"
#include "support/scratch_directory.h"

namespace {

using Lines = std::vector<std::string>;

Lines SpeedLines(double elapsed, double rate, const char* secondsText) {
  return {"The system spent: " + AsPrinted(elapsed) + secondsText,
          "It was: " + AsPrinted(rate / 1000000.0) + " Millions Accesses/sec.",
          "Conventionally, it was: " + AsPrinted(rate / 1024 / 1024) + " MB/sec."};
}

// What ByteSpeedTest writes on one channel, built from the figures it stored. The optional lines
// are console-only: a warning after a half whose operations failed, and "Unable to open file".
struct ConsoleExtras {
  std::string writeWarning, unableToOpen, readWarning;
};

Lines ExpectedByteLines(const ConsoleExtras& extras = {}) {
  Lines lines{"Low writing and reading speeds:", ""};
  auto add = [&lines](const Lines& more) { lines.insert(lines.end(), more.begin(), more.end()); };
  auto addIf = [&lines](const std::string& line) {
    if (!line.empty()) {
      lines.push_back(line);
    }
  };
  add(SpeedLines(RunState.byteWriteElapsed, RunState.byteWriteRate, " Secs. to Write."));
  addIf(extras.writeWarning);
  addIf(extras.unableToOpen);
  add(SpeedLines(RunState.byteReadElapsed, RunState.byteReadRate, " Secs. to Read:"));
  addIf(extras.readWarning);
  lines.push_back("");
  return lines;
}

std::string Warning(const char* half, const char* failure) {
  return std::string("Warning: the ") + half + " figures above are not a drive speed: " + failure +
         ".";
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
  UnwritableDirectory directory;
  const auto channels = CaptureChannels(ByteSpeedTest, directory.outside("results.txt"));

  const std::string openFailed = std::string("open failed: ") + directory.OpenError();
  EXPECT_EQ(channels.console,
            ExpectedByteLines({Warning("writing", openFailed.c_str()), "Unable to open file",
                               Warning("reading", openFailed.c_str())}));
  EXPECT_EQ(channels.log, ExpectedByteLines());
  byteOut.close();
  byteOut.clear();
}

TEST(ByteSpeedTest, EndsWhenADirectoryStandsInPlaceOfTheScratchFile) {
  ScratchDirectory directory;
  std::filesystem::create_directory(ScratchFileName);
  const auto channels = CaptureChannels(ByteSpeedTest);

  const std::string openFailed = std::string("open failed: ") + DirectoryOpenError;
  // POSIX opens a directory for reading and fails at the first read; Windows refuses the open.
  const ConsoleExtras extras =
      ReadingADirectoryOpens
          ? ConsoleExtras{Warning("writing", openFailed.c_str()), "",
                          Warning("reading", "read failed: Is a directory")}
          : ConsoleExtras{Warning("writing", openFailed.c_str()), "Unable to open file",
                          Warning("reading", openFailed.c_str())};
  EXPECT_EQ(channels.console, ExpectedByteLines(extras));
  EXPECT_EQ(channels.log, ExpectedByteLines());
  EXPECT_TRUE(std::filesystem::is_directory(ScratchFileName));
  byteOut.close();
  byteOut.clear();
}

}  // namespace
