#include <gtest/gtest.h>
#include <omp.h>

#include <filesystem>

#include "app/run_sequence.h"
#include "contract/constants.h"
#include "state/run_state.h"
#include "state/thread_slots.h"
#include "support/captured_run.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

// Sets the team size for the test and restores the previous one afterwards.
class TeamSize {
 public:
  explicit TeamSize(int threads) : previous_(omp_get_max_threads()) {
    omp_set_num_threads(threads);
  }
  ~TeamSize() { omp_set_num_threads(previous_); }

 private:
  int previous_;
};

TEST(SumOverWorkers, AddsTheSlotsOfTheTeamAndNothingBeyond) {
  static ValueTable rates{};
  rates[0] = 1.5;
  rates[1] = 2.25;
  rates[2] = 4.0;
  rates[3] = 1000.0;  // a slot beyond the team
  const TeamSize team(3);
  EXPECT_EQ(SumOverWorkers(rates), 7.75);
}

// Both file-handling phases with two workers, in-process, with their summaries.
TEST(ParallelFileCycleTests, ReportEachWorkerOnceAndSumTheirRates) {
  ScratchDirectory directory;
  const TeamSize team(2);
  RunState.streamCycleRate = 1000.0;
  RunState.descriptorCycleRate = 2000.0;
  const auto channels = CaptureChannels(RunParallelFileCyclePhases);

  for (const auto* lines : {&channels.console, &channels.log}) {
    const bool log = lines == &channels.log;
    ASSERT_EQ(lines->size(), 24u);
    EXPECT_EQ((*lines)[0], "Multi-Thread Enabled:");
    EXPECT_EQ((*lines)[1],
              log ? "Power of Handling Files -- Lower." : "Power of Handling Files -- Lower");
    EXPECT_EQ((*lines)[13],
              log ? "Power of Handling Files -- Higher." : "Power of Handling Files -- Higher");
  }
  const double streamSum = threadStreamCycleRate[0] + threadStreamCycleRate[1];
  EXPECT_EQ(RunState.overallStreamCycleRate, streamSum);
  EXPECT_EQ(channels.console[9],
            "Overall, The system could process: " + AsPrinted(streamSum) + " Files/sec.");
  EXPECT_EQ(channels.console[10],
            "Multi-Thread Improvements: " + AsPrinted(streamSum / 1000.0) + " times.");
  const double descriptorSum = threadDescriptorCycleRate[0] + threadDescriptorCycleRate[1];
  EXPECT_EQ(RunState.overallDescriptorCycleRate, descriptorSum);
  EXPECT_EQ(channels.log[22],
            "Multi-Thread Improvements: " + AsPrinted(descriptorSum / 2000.0) + " times.");
  for (int t = 0; t < 2; ++t) {
    EXPECT_FALSE(threadCycleOut[t].is_open());
  }
  // Every worker removed its scratch files again.
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    EXPECT_EQ(entry.path().filename(), "captured-results.txt");
  }
}

}  // namespace
