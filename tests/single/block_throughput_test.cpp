#include "contract/file_names.h"
#include "single/block_speed_test.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "contract/constants.h"
#include "single/block_io.h"
#include "state/global_streams.h"
#include "state/run_state.h"
#include "support/captured_run.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

using Lines = std::vector<std::string>;

// The state the byte test leaves: the scratch file written and byteOut still holding it.
void LeaveScratchFileOpen(std::int64_t length) {
  byteOut.open(ScratchFileName, std::ios::out | std::ios::binary);
  const std::string contents(static_cast<std::size_t>(length), FillByte);
  byteOut.write(contents.data(), static_cast<std::streamsize>(contents.size()));
  byteOut.flush();
}

// The optional warnings are console-only, after the half whose operations failed.
Lines ExpectedBlockLines(const std::string& readWarning = "",
                         const std::string& writeWarning = "") {
  const double readRate = RunState.blockReadRate;
  const double writeRate = RunState.blockWriteRate;
  Lines lines{"High writing and reading speeds:", "",
              "The system spent: " + AsPrinted(RunState.blockReadElapsed) + " Secs. to Read:",
              "It was: " + AsPrinted(readRate / 1000000.0) + " Millions Accesses/sec.",
              "Conventionally, it was: " + AsPrinted(readRate / 1024 / 1024) + " MB/sec."};
  if (!readWarning.empty()) {
    lines.push_back(readWarning);
  }
  lines.push_back("The system spent: " + AsPrinted(RunState.blockWriteElapsed) +
                  " Secs. to Write.");
  lines.push_back("It was: " + AsPrinted(writeRate / 1000000.0) + " Millions Accesses/sec.");
  lines.push_back("Conventionally, it was: " + AsPrinted(writeRate / 1024 / 1024) + " MB/sec.");
  if (!writeWarning.empty()) {
    lines.push_back(writeWarning);
  }
  lines.push_back("");
  lines.push_back("");
  return lines;
}

void ExpectAllStreamsClosed() {
  EXPECT_FALSE(byteIn.is_open());
  EXPECT_FALSE(blockOut.is_open());
  EXPECT_FALSE(byteOut.is_open());
}

TEST(BlockSpeedTest, CopiesTheScratchFileInOnePieceAndClosesTheStreams) {
  ScratchDirectory directory;
  LeaveScratchFileOpen(FirstPassBytes);
  const auto channels = CaptureChannels(BlockSpeedTest);

  EXPECT_EQ(RunState.blockSize, FirstPassBytes);
  EXPECT_EQ(RunState.blockReadRate, BlockByteCount / RunState.blockReadElapsed);
  EXPECT_EQ(RunState.blockWriteRate, BlockByteCount / RunState.blockWriteElapsed);
  EXPECT_EQ(channels.console, ExpectedBlockLines());
  EXPECT_EQ(channels.log, ExpectedBlockLines());
  for (const char* name : {ScratchFileName, BlockCopyFileName}) {
    EXPECT_EQ(FileSize(name), FirstPassBytes) << name;
    EXPECT_TRUE(EveryByteIs(name, FillByte)) << name;
  }
  ExpectAllStreamsClosed();
}

TEST(BlockSpeedTest, MovesWhateverLengthTheFileHasButKeepsTheFixedNumerator) {
  ScratchDirectory directory;
  LeaveScratchFileOpen(1000);
  CaptureChannels(BlockSpeedTest);

  EXPECT_EQ(RunState.blockSize, 1000);
  EXPECT_EQ(FileSize(BlockCopyFileName), 1000);
  EXPECT_EQ(RunState.blockReadRate, BlockByteCount / RunState.blockReadElapsed);
  ExpectAllStreamsClosed();
}

TEST(BlockSpeedTest, AllocatesNothingWhenTheSourceCannotBeOpenedAndStillReports) {
  ScratchDirectory directory;
  const auto channels = CaptureChannels(BlockSpeedTest);

  EXPECT_EQ(RunState.blockSize, -1);
  EXPECT_EQ(RunState.blockBuffer, nullptr);
  EXPECT_EQ(FileSize(BlockCopyFileName), 0);
  EXPECT_EQ(channels.console,
            ExpectedBlockLines("Warning: the reading figures above are not a drive speed: open "
                               "failed: No such file or directory.",
                               "Warning: the writing figures above are not a drive speed: nothing "
                               "to copy because the read failed."));
  EXPECT_EQ(channels.log, ExpectedBlockLines());
  byteIn.clear();
  byteOut.clear();
}

}  // namespace

namespace {

// A read that falls short hands on only what it read, so the copy never receives bytes that were
// not in the source.
TEST(BlockSteps, ReadBlockReportsTheBytesItReadWhenTheFileIsShorterThanAsked) {
  ScratchDirectory directory;
  { std::ofstream("short", std::ios::binary) << std::string(10, FillByte); }
  std::ifstream in("short", std::ios::binary);
  OperationFailures failures;
  std::string buffer(100, '\0');
  EXPECT_EQ(ReadBlock(in, buffer.data(), 100, failures), 10);
  EXPECT_EQ(DescribeFailures(failures), "read failed: the file ended early");
}

TEST(BlockSpeedTest, CopiesNothingWhenADirectoryStandsInPlaceOfTheSource) {
  ScratchDirectory directory;
  std::filesystem::create_directory(ScratchFileName);
  const auto channels = CaptureChannels(BlockSpeedTest);

  EXPECT_EQ(FileSize(BlockCopyFileName), 0);
  EXPECT_EQ(channels.log, ExpectedBlockLines());
  EXPECT_EQ(channels.console.size(), channels.log.size() + 2) << "one warning per half";
  byteIn.clear();
  byteOut.clear();
}

}  // namespace
