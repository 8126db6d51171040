// show in every format, chart, and the command line's exit status, on the stored real runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "results/comparing/comparison_table.h"
#include "results/output/cell_text.h"
#include "results/output/format_svg.h"
#include "results/output/formats.h"
#include "results/reading/results_file.h"
#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/markup_checks.h"
#include "support/platform_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

struct Compared {
  std::vector<RunRecord> runs;
  std::vector<std::string> labels;
  ComparisonTable table;
};

// The 1-worker run twice (so every change is 0) and the 2-worker run.
Compared CompareStoredRuns() {
  Compared compared;
  for (const char* folder : {"linux-1-worker", "linux-1-worker", "linux-2-workers"}) {
    compared.runs.push_back(*ReadResultsFile(StoredRun(folder)).record);
    compared.labels.push_back(DefaultLabel(compared.runs.back()));
  }
  compared.labels[1] = "a <label> & \"quotes\", with | bars";
  compared.table = BuildTable(compared.runs, compared.labels);
  return compared;
}

TEST(ShowTable, ChangesAgainstTheFirstColumn) {
  const Compared compared = CompareStoredRuns();
  for (const Row& row : compared.table.rows) {
    EXPECT_TRUE(std::isnan(row.cells[0].change)) << row.key;
    EXPECT_EQ(row.cells[1].change, 0.0) << row.key;
  }
}

// Every output of the stored runs, compared whole with the files under tests/data/golden.
TEST(GoldenOutputs, EveryFormatAndTheChartOfTheStoredRunsAsKept) {
  Compared compared = CompareStoredRuns();
  for (RunRecord& run : compared.runs) {
    // The checkout's place differs between machines; the folder and name do not.
    const fs::path path(run.path);
    run.path = path.parent_path().filename().string() + "/" + path.filename().string();
  }
  ExpectGoldenOutputs("stored-runs",
                      Compare(compared.runs, compared.labels, EachRun(compared.labels)));
}

TEST(Chart, DrawsABarPerFileForEveryDriveFigureWithEscapedLabels) {
  const Compared compared = CompareStoredRuns();
  const std::vector<Column> each = EachRun(compared.labels);
  const std::string svg = WriteSvg(Compare(compared.runs, compared.labels, each));
  EXPECT_TRUE(WellFormed(svg));
  EXPECT_EQ(svg.find("a <label>"), std::string::npos);
  EXPECT_NE(svg.find("a &lt;label&gt; &amp; &quot;quotes&quot;"), std::string::npos);
  for (const Row& row : compared.table.rows) {
    if (row.chartable) {
      EXPECT_NE(svg.find(EscapeXml(row.title)), std::string::npos) << row.title;
      EXPECT_NE(svg.find(">" + FormatValue(row.cells[2].value)), std::string::npos);
    }
  }
}

// One good file and one foreign one: the good one is shown, the foreign one named on standard
// error with its line, and the exit status says that one failed.
TEST(ResultsCommand, ShowsTheGoodFilesAndFailsForTheOthers) {
  ScratchDirectory directory;
  WriteTextFile("foreign.txt", "not a report\n");
  const BinaryRun mixed = RunDrivesTeskBinary(
      Companion(directory.path(), {"show", StoredRun("linux-1-worker"), "foreign.txt"}));
  EXPECT_EQ(mixed.exitStatus, 1);
  EXPECT_NE(mixed.console.find("Lower, single thread (files/s)"), std::string::npos);
  EXPECT_EQ(mixed.errors.rfind("foreign.txt:1: expected", 0), 0u) << mixed.errors;

  const BinaryRun good = RunDrivesTeskBinary(
      Companion(directory.path(), {"show", "--format", "json", StoredRun("linux-2-workers")}));
  EXPECT_EQ(good.exitStatus, 0) << good.errors;
  EXPECT_EQ(nlohmann::json::parse(good.console).at("files").size(), 1u);
}

// The program names itself in its version and usage; the help ends with examples and the manual
// page; run's options come in groups.
TEST(ResultsCommand, SaysWhatItIsAndWhereToReadMore) {
  ScratchDirectory directory;
  const BinaryRun version = RunDrivesTeskBinary(Companion(directory.path(), {"--version"}));
  EXPECT_EQ(version.exitStatus, 0);
  EXPECT_EQ(SplitTextLines(version.console),
            (std::vector<std::string>{std::string("drives-tesk-results ") + DRIVES_TESK_VERSION}));
  const BinaryRun help = RunDrivesTeskBinary(Companion(directory.path(), {"--help"}));
  EXPECT_EQ(help.exitStatus, 0);
  const std::vector<std::string> lines = SplitTextLines(help.console);
  ASSERT_GT(lines.size(), 4u);
  EXPECT_EQ(lines[1].rfind("Usage: drives-tesk-results ", 0), 0u) << lines[1];
  EXPECT_EQ(lines.back(), "The manual page tells more: man drives-tesk-results");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const std::string& line) {
                            return line.rfind("  drives-tesk-results ", 0) == 0;
                          }),
            2)
      << "two examples";
  const BinaryRun runHelp = RunDrivesTeskBinary(Companion(directory.path(), {"run", "--help"}));
  EXPECT_EQ(runHelp.exitStatus, 0);
  const std::string& run = runHelp.console;
  const std::size_t runs = run.find("\nRuns:");
  const std::size_t comparison = run.find("\nComparison:");
  const std::size_t output = run.find("\nOutput:");
  EXPECT_LT(runs, run.find("--repeat"));
  EXPECT_LT(run.find("--keep-scratch"), comparison);
  EXPECT_LT(comparison, run.find("--baseline"));
  EXPECT_LT(run.find("--baseline"), output);
  EXPECT_LT(output, run.find("--format"));
  EXPECT_NE(output, std::string::npos);
}

}  // namespace
