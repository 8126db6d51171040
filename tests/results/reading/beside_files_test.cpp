// The files `run` keeps beside a results file, read with it.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "contract/file_names.h"
#include "results/comparing/comparison_table.h"
#include "results/output/formats.h"
#include "results/reading/beside_files.h"
#include "results/reading/results_file.h"
#include "results/record/text_safety.h"
#include "results/running/context_file.h"
#include "results/running/progress_line.h"
#include "results/running/run_plan.h"
#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/platform_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// The transcript beside a results file is read in its place (its warnings count), under the
// results file's name and date; the context beside it fills the rows; `show` without files
// takes neither as a results file of its own.
TEST(RunFiles, ResultsFileReadThroughItsTranscriptAndContext) {
  ScratchDirectory directory;
  const std::string results = fs::path(StoredRun("linux-1-worker")).filename().string();
  fs::copy_file(StoredRun("linux-1-worker"), results);
  std::string console = ReadWholeFile(StoredRun("linux-1-worker", "console"));
  const std::string rate = "Files/sec.\n";
  console.insert(console.find(rate) + rate.size(),
                 "Warning: the file-handling figures above are not a drive speed: open failed "
                 "3 times: Permission denied.\n");
  WriteTextFile(BesideResults(results, TranscriptSuffix), console);
  WriteTextFile(BesideResults(results, ContextSuffix),
                R"({"start_time": "x", "directory": "/mnt/\u001b", "file_system": "ext4",
                    "model": null, "block_device": "sda", "rotational": false})");
  const ReadOutcome outcome = ReadRun(results);
  ASSERT_TRUE(outcome.record) << FormatError(*outcome.error);
  const RunRecord& run = *outcome.record;
  EXPECT_EQ(run.path, results);
  EXPECT_EQ(run.date, "2026-12-08");
  EXPECT_TRUE(run.single[Index(Measure::StreamCycles)].warned);
  EXPECT_EQ(run.context[ContextKey::Directory], "/mnt/\\x1b");
  EXPECT_EQ(run.context[ContextKey::Model], "sda");
  EXPECT_EQ(run.context[ContextKey::Rotational], "no");

  WriteTextFile(BesideResults(results, ContextSuffix), "[1, 2");
  EXPECT_FALSE(ReadRun(results).record->context.known) << "a broken context is left out";

  std::ostringstream out, err;
  EXPECT_EQ(ShowCommand({}, {}, "csv", false, {out, err}), 0) << err.str();
  std::vector<std::string> caveats;
  std::size_t figures = 0;
  for (const std::string& line : SplitLines(out.str())) {
    if (line.rfind("caveat.", 0) == 0) {
      caveats.push_back(line.substr(0, line.find(',')));
    } else {
      ++figures;
    }
  }
  EXPECT_EQ(figures, 1u + 36u) << "one column: the results file";
  EXPECT_EQ(caveats, (std::vector<std::string>{"caveat.failed_operations", "caveat.one_shot",
                                               "caveat.page_cache"}))
      << "the transcript's warning, its short spans, the page cache";
}

// A transcript cut short (a full disk, a run stopped) is not read in place of a whole results
// file; one as whole as the results file is.
TEST(RunFiles, ACutShortTranscriptLeavesTheResultsFileItsPlace) {
  ScratchDirectory directory;
  const std::string results = fs::path(StoredRun("linux-1-worker")).filename().string();
  fs::copy_file(StoredRun("linux-1-worker"), results);
  const std::string console = ReadWholeFile(StoredRun("linux-1-worker", "console"));
  const struct {
    std::size_t kept;  // bytes of the console left in the transcript
    bool readThroughIt;
  } cases[] = {{console.size() / 2, false}, {console.size(), true}};
  for (const auto& test : cases) {
    WriteTextFile(BesideResults(results, TranscriptSuffix), console.substr(0, test.kept));
    const ReadOutcome outcome = ReadRun(results);
    ASSERT_TRUE(outcome.record) << test.kept;
    EXPECT_TRUE(outcome.record->complete) << test.kept;
    EXPECT_EQ(outcome.record->transcript, test.readThroughIt) << test.kept;
    EXPECT_EQ(outcome.record->date, "2026-12-08");
  }
}

}  // namespace
