// Whole runs of the binary with 1, 2 and 3 workers (3 is more than this machine's cores),
// standard input at its end. Each worker count is run once and every check reads that run.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "e2e/report_checks.h"
#include "support/binary_run.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

struct FinishedRun {
  std::string directory;
  BinaryRun run;
  std::string resultsName;
};

// One run per worker count for the whole test program.
std::map<int, FinishedRun> runs;

const FinishedRun& RunWith(int workers) {
  auto found = runs.find(workers);
  if (found == runs.end()) {
    FinishedRun finished;
    finished.directory = MakeTemporaryDirectory();
    // Two workers get a line typed before the prompt; the others find standard input at its end.
    finished.run = RunDrivesTeskBinary({finished.directory,
                                        {"OMP_NUM_THREADS=" + std::to_string(workers)},
                                        workers == 2 ? "typed before the prompt\n" : ""});
    const auto results = ResultsFilesIn(finished.directory);
    finished.resultsName = results.size() == 1 ? results[0] : "";
    found = runs.emplace(workers, finished).first;
  }
  return found->second;
}

class WholeRun : public ::testing::TestWithParam<int> {
 protected:
  int workers() const { return GetParam(); }
  const FinishedRun& finished() const { return RunWith(workers()); }

  // Removes the directories of the runs this program made (CTest runs one worker count each).
  static void TearDownTestSuite() {
    for (const auto& run : runs) {
      std::error_code ignored;
      std::filesystem::remove_all(run.second.directory, ignored);
    }
  }
};

TEST_P(WholeRun, ExitsWithStatusZeroAndWritesNothingToStandardError) {
  EXPECT_EQ(finished().run.exitStatus, 0);
  EXPECT_EQ(finished().run.errors, "");
}

TEST_P(WholeRun, PrintsEveryConsoleLineInOrder) {
  ASSERT_FALSE(finished().resultsName.empty()) << "no single results file";
  ExpectWholeReport(SplitTextLines(finished().run.console), Channel::Console, workers(), false,
                    SavedLine(finished().directory, finished().resultsName));
}

TEST_P(WholeRun, WritesTheSameReportToTheDatedResultsFile) {
  ASSERT_FALSE(finished().resultsName.empty()) << "no single results file";
  EXPECT_TRUE(MatchesDigits(finished().resultsName, ResultsNameShape())) << finished().resultsName;
  ExpectWholeReport(
      SplitTextLines(ReadWholeFile(finished().directory + "/" + finished().resultsName)),
      Channel::Log, workers(), false);
}

TEST_P(WholeRun, ReadsBackThroughTheResultsReaderWithEveryFigure) {
  ASSERT_FALSE(finished().resultsName.empty()) << "no single results file";
  ExpectReadBack(ReadWholeFile(finished().directory + "/" + finished().resultsName), false,
                 workers());
  const RunRecord console = ExpectReadBack(finished().run.console, true, workers());
  EXPECT_EQ(console.date.size(), 10u) << "the date of the closing line";
}

TEST_P(WholeRun, LeavesExactlyTheScratchFilesFilledWithTheFillByte) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(finished().directory)) {
    names.insert(entry.path().filename().string());
  }
  std::set<std::string> expected{finished().resultsName, ScratchFileName, BlockCopyFileName};
  for (int t = 0; t < workers(); ++t) {
    expected.insert(WorkerFilePrefix + std::to_string(t) + WorkerFileSuffix);
    expected.insert(WorkerFilePrefix + std::to_string(t));
  }
  EXPECT_EQ(names, expected);
  for (const auto& name : expected) {
    if (name == finished().resultsName) {
      continue;
    }
    const std::string path = finished().directory + "/" + name;
    EXPECT_EQ(FileSize(path), FirstPassBytes) << name;
    EXPECT_TRUE(EveryByteIs(path, FillByte)) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Workers, WholeRun, ::testing::Values(1, 2, 3),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return "w" + std::to_string(param.param);
                         });

// At the cap the team has 128 workers and no cap message; above it, too, 128 workers, and both
// channels say so. A full run of 128 workers is far too slow here, so each run is stopped once the
// single-thread label shows that the banner is complete.
TEST(ThreadCap, BothChannelsShowTheCapMessageOnlyAbove128) {
  for (const int requested : {ThreadCap, ThreadCap + 1}) {
    SCOPED_TRACE("OMP_NUM_THREADS=" + std::to_string(requested));
    const bool capped = requested > ThreadCap;
    const std::string directory = MakeTemporaryDirectory();
    BinaryRun run;
    {
      RunningBinary running({directory, {"OMP_NUM_THREADS=" + std::to_string(requested)}, ""});
      EXPECT_TRUE(running.WaitForConsole("Force to be single thread.", 60));
      run = running.Stop();
    }
    ExpectBanner(SplitTextLines(run.console), Channel::Console, ThreadCap, capped);

    const auto results = ResultsFilesIn(directory);
    ASSERT_EQ(results.size(), 1u);
    ExpectBanner(SplitTextLines(ReadWholeFile(directory + "/" + results[0])), Channel::Log,
                 ThreadCap, capped);
    std::filesystem::remove_all(directory);
  }
}

}  // namespace
