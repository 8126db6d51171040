// One whole run of the binary with one worker, standard input at its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>

#include "app/constants.h"
#include "e2e/binary_run.h"
#include "e2e/report_checks.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

class OneWorkerRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory_ = new std::string(MakeTemporaryDirectory());
    run_ = new BinaryRun(RunDrivesTeskBinary({*directory_, {"OMP_NUM_THREADS=1"}, ""}));
  }
  static void TearDownTestSuite() {
    std::filesystem::remove_all(*directory_);
    delete directory_;
    delete run_;
  }

  static std::string* directory_;
  static BinaryRun* run_;
};

std::string* OneWorkerRun::directory_ = nullptr;
BinaryRun* OneWorkerRun::run_ = nullptr;

TEST_F(OneWorkerRun, ExitsWithStatusZeroAndWritesNothingToStandardError) {
  EXPECT_EQ(run_->exitStatus, 0);
  EXPECT_EQ(run_->errors, "");
}

TEST_F(OneWorkerRun, PrintsEveryConsoleLineInOrder) {
  const auto results = ResultsFilesIn(*directory_);
  ASSERT_EQ(results.size(), 1u);
  const auto lines = SplitLines(run_->console);
  LineCursor cursor(lines);
  cursor.Expect("");
  ExpectBanner(cursor, Channel::Console, 1, false);
  ExpectSinglePhase(cursor, Channel::Console);
  ExpectClosingLines(cursor, *directory_, results[0]);
  EXPECT_TRUE(cursor.AtEnd()) << "extra line: " << cursor.Peek();
}

TEST_F(OneWorkerRun, WritesTheSameReportToTheDatedResultsFile) {
  const auto results = ResultsFilesIn(*directory_);
  ASSERT_EQ(results.size(), 1u);
  const std::regex name(
      R"(results_drives_tesk_windows @ local date \d{4}\.\d\d\.\d\d time \d\d\.\d\d\.\d\d\.txt)");
  EXPECT_TRUE(std::regex_match(results[0], name)) << results[0];
  const auto lines = SplitLines(ReadWholeFile(*directory_ + "/" + results[0]));
  LineCursor cursor(lines);
  ExpectBanner(cursor, Channel::Log, 1, false);
  ExpectSinglePhase(cursor, Channel::Log);
  EXPECT_TRUE(cursor.AtEnd()) << "extra line: " << cursor.Peek();
}

TEST_F(OneWorkerRun, LeavesTheScratchFilesFilledWithTheFillByte) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(*directory_)) {
    names.insert(entry.path().filename().string());
  }
  const auto results = ResultsFilesIn(*directory_);
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(names, (std::set<std::string>{results[0], ScratchFileName, BlockCopyFileName}));
  for (const char* name : {ScratchFileName, BlockCopyFileName}) {
    const std::string path = *directory_ + "/" + name;
    EXPECT_EQ(FileSize(path), FirstPassBytes) << name;
    EXPECT_TRUE(EveryByteIs(path, FillByte)) << name;
  }
}

}  // namespace
