#include "single/file_cycle_tests.h"
#include "contract/file_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "contract/constants.h"
#include "state/global_streams.h"
#include "state/run_state.h"
#include "support/captured_run.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

using Lines = std::vector<std::string>;

// The five lines a file-handling test writes on one channel.
Lines CycleLines(const char* header, double elapsed, const char* processText, double rate) {
  return {header, "", "The system spent: " + AsPrinted(elapsed) + " Secs.",
          processText + AsPrinted(rate) + " Files/sec.", ""};
}

TEST(FileCycleStreamTest, ReportsItsRateOnBothChannelsAndLeavesNoScratchFile) {
  ScratchDirectory directory;
  const auto channels = CaptureChannels(FileCycleStreamTest);

  const double elapsed = RunState.streamCycleElapsed;
  EXPECT_GT(elapsed, 0.0);
  EXPECT_EQ(RunState.streamCycleRate, CycleFileCount / elapsed);
  EXPECT_EQ(channels.console, CycleLines("Power of Handling Files -- Lower", elapsed,
                                         "The system could process ", RunState.streamCycleRate));
  EXPECT_EQ(channels.log, CycleLines("Power of Handling Files -- Lower", elapsed,
                                     "The system could process  ", RunState.streamCycleRate));
  EXPECT_EQ(FileSize(ScratchFileName), -1);
  EXPECT_FALSE(cycleOut.is_open());
  EXPECT_FALSE(cycleIn.is_open());
}

TEST(FileCycleDescriptorTest, SpellsItsConsoleHeaderHihgerAndLeavesNoScratchFile) {
  ScratchDirectory directory;
  const auto channels = CaptureChannels(FileCycleDescriptorTest);

  const double elapsed = RunState.descriptorCycleElapsed;
  EXPECT_GT(elapsed, 0.0);
  EXPECT_EQ(RunState.descriptorCycleRate, CycleFileCount / elapsed);
  EXPECT_EQ(channels.console,
            CycleLines("Power of Handling Files -- Hihger", elapsed, "The system could process ",
                       RunState.descriptorCycleRate));
  EXPECT_EQ(channels.log, CycleLines("Power of Handling Files -- Higher", elapsed,
                                     "The system could process  ", RunState.descriptorCycleRate));
  EXPECT_EQ(FileSize(ScratchFileName), -1);
}

TEST(FileCycleTests, TruncateAndRemoveALeftoverScratchFile) {
  ScratchDirectory directory;
  { std::ofstream(ScratchFileName) << "left over from an earlier run"; }
  CaptureChannels(FileCycleStreamTest);
  EXPECT_EQ(FileSize(ScratchFileName), -1);

  { std::ofstream(ScratchFileName) << "left over again"; }
  CaptureChannels(FileCycleDescriptorTest);
  EXPECT_EQ(FileSize(ScratchFileName), -1);
}

TEST(FileCycleTests, StillReportARateWhereNoFileCanBeCreated) {
  UnwritableDirectory directory;
  const auto channels = CaptureChannels(
      [] {
        FileCycleStreamTest();
        FileCycleDescriptorTest();
      },
      directory.outside("results.txt"));

  // The console says why the figures are no drive speed; the results file keeps its shape.
  const std::string warning =
      "Warning: the file-handling figures above are not a drive speed: open failed " +
      std::to_string(CycleCount) + " times: " + directory.OpenError() + ".";
  ASSERT_EQ(channels.console.size(), 12u);
  EXPECT_EQ(channels.console[3],
            "The system could process " + AsPrinted(RunState.streamCycleRate) + " Files/sec.");
  EXPECT_EQ(channels.console[4], warning);
  EXPECT_EQ(channels.console[9],
            "The system could process " + AsPrinted(RunState.descriptorCycleRate) + " Files/sec.");
  EXPECT_EQ(channels.console[10], warning);
  EXPECT_EQ(channels.log.size(), 10u);
  EXPECT_TRUE(cycleOut.fail());
}

}  // namespace
