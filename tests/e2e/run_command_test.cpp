// drives-tesk-results run, end to end: the real benchmark run through it in two directories, and
// the runs it must refuse or report as failed.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "contract/file_names.h"
#include "e2e/report_checks.h"
#include "e2e/run_harness.h"
#include "results/reading/beside_files.h"
#include "results/reading/scratch_files.h"
#include "support/binary_run.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// The benchmark with one worker, twice in each of two directories: everything about `run` that
// needs a real run is checked on this one.
TEST(RunCommand, RepeatsTwoDirectoriesInterleavedAndComparesThem) {
  const std::string base = MakeTemporaryDirectory();
  const std::vector<std::string> directories = {base + "/first drive", base + "/second"};
  for (const std::string& directory : directories) {
    fs::create_directory(directory);
  }
  const BinaryRun run = RunDrivesTeskBinary(
      Companion(base, {"run", directories[0], directories[1], "--repeat", "2", "--threads", "1"},
                {"OMP_NUM_THREADS=7"}));
  EXPECT_EQ(run.exitStatus, 0) << run.errors;

  // One line per run on a pipe, nothing else; A B A B.
  const std::vector<std::string> lines = SplitTextLines(run.errors);
  ASSERT_EQ(lines.size(), 4u) << run.errors;
  std::vector<std::string> resultsFiles;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string head = "run " + std::to_string(i + 1) + " of 4: " + directories[i % 2] + ": ";
    const std::size_t seconds = lines[i].find(" s, ");
    ASSERT_TRUE(lines[i].rfind(head, 0) == 0 && seconds != std::string::npos) << lines[i];
    // "22.5 s", or past a minute "1 min 11 s".
    const std::string took = lines[i].substr(head.size(), seconds - head.size());
    EXPECT_TRUE(MatchLine(took, "{n}") || MatchLine(took, "{n} min {n}")) << lines[i];
    const std::string name = lines[i].substr(seconds + 4);
    EXPECT_TRUE(MatchesDigits(name, ResultsNameShape())) << name;
    resultsFiles.push_back(directories[i % 2] + "/" + name);
  }

  const std::vector<std::string> keys = DocumentedContextKeys();
  for (std::size_t i = 0; i < resultsFiles.size(); ++i) {
    SCOPED_TRACE(resultsFiles[i]);
    const std::string& directory = directories[i % 2];
    const std::string name = fs::u8path(resultsFiles[i]).filename().u8string();
    // The transcript is the console as a direct run prints it, line for line.
    std::vector<std::string> console =
        SplitTextLines(ReadWholeFile(BesideResults(resultsFiles[i], TranscriptSuffix)));
    TakeFailureNotes(console);
    ExpectWholeReport(console, Channel::Console, 1, false,
                      SavedLine(NativeSeparators(directory), name));

    const nlohmann::ordered_json context = ReadJson(BesideResults(resultsFiles[i], ContextSuffix));
    std::vector<std::string> written;
    for (const auto& item : context.items()) {
      written.push_back(item.key());
    }
    EXPECT_EQ(written, keys) << "the README's context keys";
    EXPECT_EQ(context["workers"], 1);
    EXPECT_EQ(context["omp_num_threads"], "1");
    EXPECT_EQ(context["exit_status"], 0);
    EXPECT_EQ(context["interrupted"], false);
    EXPECT_EQ(context["benchmark_version"], DRIVES_TESK_VERSION);
    EXPECT_GT(context["wall_seconds"].get<double>(), 0.5);
    EXPECT_TRUE(fs::equivalent(fs::u8path(context["directory"].get<std::string>()), directory));
    EXPECT_TRUE(context["file_system"].is_string());
    EXPECT_TRUE(IsIsoTimeWithOffset(context["start_time"].get<std::string>()));
    EXPECT_TRUE(FindScratchFilesIn(directory).empty()) << "scratch files left";
  }

  // The comparison is show's, of the same files: a column per directory, medians and spreads.
  const BinaryRun shown = RunDrivesTeskBinary(Companion(
      base, {"show", resultsFiles[0], resultsFiles[1], resultsFiles[2], resultsFiles[3]}));
  EXPECT_EQ(shown.exitStatus, 0) << shown.errors;
  EXPECT_EQ(run.console, shown.console);
  const std::vector<std::string> table = SplitTextLines(run.console);
  ASSERT_GT(table.size(), 6u);
  EXPECT_NE(table[0].find("first drive (2 runs)"), std::string::npos) << table[0];
  EXPECT_NE(table[0].find("second (2 runs)"), std::string::npos) << table[0];
  EXPECT_EQ(table[4].find("workers"), 0u) << "context rows above the figures";
  EXPECT_NE(run.console.find("%] ("), std::string::npos) << "spreads and changes";

  // In the directory, show takes only the results files, read through their transcripts.
  const BinaryRun here = RunDrivesTeskBinary(Companion(directories[0], {"show", "--each"}));
  EXPECT_EQ(here.exitStatus, 0) << here.errors;
  const std::string header = SplitTextLines(here.console)[0];
  EXPECT_NE(header.find("first drive 20"), header.rfind("first drive 20")) << "two columns";
  fs::remove_all(base);
}

// A benchmark that exits 3 and writes nothing (in a directory named twice, so measured once a
// round): each run is reported and the next still made;
// its console and context are kept, named after the run's start.
TEST(RunRefusals, AFailingBenchmarkIsReportedAndTheOthersGoOn) {
  ScratchDirectory directory;
  const BinaryRun run = RunDrivesTeskBinary(Companion(
      directory.path(), {"run", ".", ".", "--repeat", "2", "--benchmark", STAND_IN_BENCHMARK},
      {"DRIVES_TESK_STAND_IN=3"}));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.console, "");
  const std::vector<std::string> lines = SplitTextLines(run.errors);
  ASSERT_EQ(lines.size(), 2u) << run.errors;
  for (int i = 0; i < 2; ++i) {
    const std::string& line = lines[static_cast<std::size_t>(i)];
    EXPECT_TRUE(MatchLine(
        line, "run " + std::to_string(i + 1) + " of 2: .: {n} s, exit status 3, no results file"))
        << line;
  }
  const RunFiles files = FilesIn(".");
  ASSERT_EQ(files.transcripts.size(), 2u);
  ASSERT_EQ(files.contexts.size(), 2u);
  EXPECT_TRUE(files.results.empty());
  EXPECT_EQ(ReadWholeFile(files.transcripts[0]), std::string("stand-in benchmark") + TextLineEnd);
  const nlohmann::ordered_json context = ReadJson(files.contexts[0]);
  EXPECT_EQ(context["exit_status"], 3);
  EXPECT_EQ(context["stderr"], std::string("stand-in complaint") + TextLineEnd);
  EXPECT_TRUE(context["benchmark_version"].is_null());
}

// A run stopped for taking too long or printing without end is reported with why, its files are
// kept, and the next run still goes.
TEST(RunRefusals, RunsPastTheirLimitsAreStoppedAndTheOthersGoOn) {
  const struct {
    const char* mode;
    std::vector<std::string> options;
    std::string says;
    std::size_t transcriptBytes;  // 0: as the stand-in printed it before it was stopped
  } cases[] = {
      {"sleep", {"--timeout", "1.5"}, "timed out after 1.5 s", 0},
      {"flood", {}, "too much output", std::size_t{64} * 1024 * 1024},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.mode);
    ScratchDirectory directory;
    std::vector<std::string> arguments = {"run", "--repeat", "2", "--benchmark",
                                          STAND_IN_BENCHMARK};
    arguments.insert(arguments.end(), test.options.begin(), test.options.end());
    const BinaryRun run = RunDrivesTeskBinary(
        Companion(directory.path(), arguments, {std::string("DRIVES_TESK_STAND_IN=") + test.mode}));
    EXPECT_EQ(run.exitStatus, 1) << run.errors;
    const std::vector<std::string> lines = SplitTextLines(run.errors);
    ASSERT_EQ(lines.size(), 2u) << run.errors;
    for (const std::string& line : lines) {
      EXPECT_NE(line.find(", " + test.says + ", no results file"), std::string::npos) << line;
    }
    const RunFiles files = FilesIn(".");
    ASSERT_EQ(files.contexts.size(), 2u);
    EXPECT_EQ(ReadJson(files.contexts[0])["cut_off"], test.says);
    EXPECT_EQ(ReadJson(files.contexts[0])["interrupted"], false);
    const std::string transcript = ReadWholeFile(files.transcripts[0]);
    EXPECT_EQ(transcript.rfind("stand-in benchmark", 0), 0u);
    if (test.transcriptBytes > 0) {
      EXPECT_EQ(transcript.size(), test.transcriptBytes);
    }
  }
}

// What the checks before the first run refuse: nothing runs and nothing is written.
TEST(RunRefusals, DirectoriesThatDoNotFitAndAMissingBenchmark) {
  ScratchDirectory directory;
  WriteTextFile("a file", "not a directory");
  fs::create_directory("fine");
  const struct {
    std::vector<std::string> arguments;
    std::string message;
  } cases[] = {
      {{"run", "fine", "missing"}, "missing: does not exist"},
      {{"run", "a file", "fine"}, "a file: is not a directory"},
      {{"run", "fine", "--benchmark", "no-such-benchmark"}, "no-such-benchmark: no such program"},
      // Usage errors, with the parser's message.
      {{"run", "fine", "--repeat", "0"}, "--repeat: Value 0 not in range"},
      {{"run", "fine", "--threads", "500"}, "--threads: Value 500 not in range"},
      {{"run", "fine", "--timeout", "-1"}, "--timeout"},
  };
  for (const auto& test : cases) {
    const BinaryRun run = RunDrivesTeskBinary(Companion(directory.path(), test.arguments));
    EXPECT_EQ(run.exitStatus, 2) << test.message;
    EXPECT_NE(run.errors.find(test.message), std::string::npos) << run.errors;
    EXPECT_TRUE(fs::is_empty("fine")) << test.message;
  }
}

}  // namespace
