#include "app/run_sequence.h"
#include "contract/report_texts.h"

#include <gtest/gtest.h>
#include <omp.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "contract/constants.h"
#include "report/report_line.h"
#include "state/global_streams.h"
#include "state/run_state.h"
#include "support/captured_run.h"
#include "support/line_patterns.h"
#include "support/platform_facts.h"
#include "support/scratch_directory.h"

namespace {

using Lines = std::vector<std::string>;

const char* const Title =
    "Tarnovel :: Quillbright Benchmark Drives Tesk for Windows on x86-64bit system 2019.12.24.";

TEST(SetThreadCount, KeepsTheRuntimesCountUpToTheCapAndCapsAbove) {
  const int before = omp_get_max_threads();
  for (int requested : {1, 8, ThreadCap, ThreadCap + 1, 300}) {
    omp_set_num_threads(requested);
    SetThreadCount();
    EXPECT_EQ(RunState.maxThreadsAtStart, requested);
    EXPECT_EQ(RunState.threadCount, std::min(requested, ThreadCap));
    EXPECT_EQ(omp_get_max_threads(), RunState.threadCount);
  }
  omp_set_num_threads(before);
}

TEST(ReportBanner, ShowsTheThreadCountAndTheCapMessageOnlyAboveTheCap) {
  ScratchDirectory directory;
  RunState.maxThreadsAtStart = 8;
  RunState.threadCount = 8;
  const auto plain = CaptureChannels(ReportBanner);
  ASSERT_EQ(plain.console.size(), 11u);
  EXPECT_EQ(plain.console[0], "");
  EXPECT_EQ(plain.console[1], Title);
  EXPECT_EQ((Lines{plain.console.begin() + 4, plain.console.end()}),
            (Lines{"", "", "", "Thread(s): 8", "", "Force to be single thread.", ""}));
  EXPECT_EQ(plain.log, (Lines{Title, "", "Thread(s): 8", "", "Force to be single thread.", ""}));

  RunState.maxThreadsAtStart = ThreadCap + 1;
  RunState.threadCount = ThreadCap;
  const auto capped = CaptureChannels(ReportBanner);
  const std::string cap = CapLine;
  const std::string atCap = ThreadCountText + std::to_string(ThreadCap);
  ASSERT_EQ(capped.console.size(), 12u);
  EXPECT_EQ(capped.console[7], atCap);
  EXPECT_EQ(capped.console[9], cap);
  EXPECT_EQ(capped.console[10], "Force to be single thread.");
  EXPECT_EQ(capped.log, (Lines{Title, "", atCap, "", cap, "Force to be single thread.", ""}));
}

TEST(OpenResultsFile, NamesTheFileAfterTheLocalDateAndTime) {
  ScratchDirectory directory;
  OpenResultsFile();
  const bool opened = ResultsLog.is_open();
  ResultsLog.close();
  EXPECT_TRUE(opened);
  EXPECT_TRUE(MatchesDigits(RunState.resultsFileName, ResultsNameShape()))
      << RunState.resultsFileName;
  EXPECT_EQ(FileSize(RunState.resultsFileName), 0);
}

// A link planted at the results file's name is never written through: the results then cannot be
// saved, and the file it points to stays as it was. The name carries the time, so links are
// planted for the seconds around the call.
TEST(OpenResultsFile, NeverWritesThroughALinkAtItsName) {
  ScratchDirectory directory;
  std::ofstream("elsewhere.txt") << "keep";
  const std::time_t now = std::time(nullptr);
  for (std::time_t second = now - 1; second <= now + 5; ++second) {
    char name[ResultsNameSize];
    std::strftime(name, sizeof name,
                  "results_drives_tesk_windows @ local date %Y.%m.%d time %H.%M.%S.txt",
                  std::localtime(&second));
    std::error_code noLinks;
    std::filesystem::create_symlink("elsewhere.txt", name, noLinks);
    if (noLinks) {
      GTEST_SKIP() << "no symbolic links here: " << noLinks.message();
    }
  }
  OpenResultsFile();
  EXPECT_FALSE(ResultsLog.is_open());
  EXPECT_TRUE(ResultsLog.fail());
  ResultsLog.clear();
  EXPECT_EQ(ReadWholeFile("elsewhere.txt"), "keep");
}

TEST(JoinResultsPath, JoinsWithOneBackslashWhateverTheDirectory) {
  EXPECT_EQ(JoinResultsPath("/home/user", "r.txt"), "/home/user\\r.txt");
  EXPECT_EQ(JoinResultsPath("C:\\", "r.txt"), "C:\\\\r.txt");
  EXPECT_EQ(JoinResultsPath("/a %s %n dir", "r.txt"), "/a %s %n dir\\r.txt");
  const std::string deep(5000, 'd');
  EXPECT_EQ(JoinResultsPath(deep.c_str(), "r.txt"), deep + "\\r.txt");
  EXPECT_EQ(JoinResultsPath(nullptr, "r.txt"), "(working directory unknown)\\r.txt");
}

TEST(CloseRun, NamesTheResultsFileAsksForEnterAndReadsOneCharacter) {
  ScratchDirectory directory;
  std::istringstream typed("xy\n");
  std::streambuf* savedInput = std::cin.rdbuf(typed.rdbuf());
  std::snprintf(RunState.resultsFileName, sizeof RunState.resultsFileName, "%s", "r.txt");
  const auto channels = CaptureChannels(CloseRun);
  std::cin.rdbuf(savedInput);

  EXPECT_FALSE(ResultsLog.is_open());
  EXPECT_EQ(channels.console, (Lines{"Results have been saved in a file and you can find it at: " +
                                         JoinResultsPath(startDirectory, "r.txt"),
                                     "", "", "Press Enter to Exit."}));
  EXPECT_EQ(typed.get(), 'y');
}

}  // namespace

namespace {

// The closing line after a results file that could not be created, or lost a line on the way.
std::string ClosingLineAfter(const std::function<void()>& spoil) {
  ScratchDirectory directory;
  std::istringstream typed("");
  std::streambuf* savedInput = std::cin.rdbuf(typed.rdbuf());
  std::ostringstream console;
  std::streambuf* savedOutput = std::cout.rdbuf(console.rdbuf());
  std::snprintf(RunState.resultsFileName, sizeof RunState.resultsFileName, "%s", "r.txt");
  spoil();
  CloseRun();
  std::cout.rdbuf(savedOutput);
  std::cin.rdbuf(savedInput);
  ResultsLog.clear();
  return SplitLines(console.str()).at(0);
}

TEST(CloseRun, SaysTheResultsCouldNotBeSavedWhenTheFileFailed) {
  const std::string expected = "Results could not be saved in a file; it was meant to be at: " +
                               JoinResultsPath(startDirectory, "r.txt");
  EXPECT_EQ(ClosingLineAfter([] { ResultsLog.open("missing-directory/r.txt"); }), expected);
  if (!HasFullDevice) {
    return;  // Windows has no device on which every write fails
  }
  EXPECT_EQ(ClosingLineAfter([] {
              ResultsLog.open(FullDevice);
              WriteLine(ResultsLog, "a line that cannot be written");
            }),
            expected);
}

}  // namespace
