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

TEST(ShowTable, ChangesAgainstTheFirstColumnAndEfficiencyPerWorker) {
  const Compared compared = CompareStoredRuns();
  for (const Row& row : compared.table.rows) {
    EXPECT_TRUE(std::isnan(row.cells[0].change)) << row.key;
    EXPECT_EQ(row.cells[1].change, 0.0) << row.key;
  }
  const Row& efficiency = compared.table.rows[10];
  ASSERT_EQ(efficiency.key, "multi.stream_cycles.efficiency");
  const auto& overall = compared.runs[2].overall[Index(Measure::StreamCycles)];
  EXPECT_DOUBLE_EQ(efficiency.cells[2].value, overall.improvement / 2);
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

// The JSON keys are documented in the README; scripts rely on them.
TEST(ShowFormats, JsonHoldsEveryNumberUnderTheDocumentedKeys) {
  const Compared compared = CompareStoredRuns();
  const auto json = nlohmann::json::parse(
      WriteJson(Compare(compared.runs, compared.labels, EachRun(compared.labels))));
  const auto& file = json.at("files").at(2);
  const RunRecord& run = compared.runs[2];
  EXPECT_EQ(file.at("kind"), "results");
  EXPECT_EQ(file.at("threads"), 2);
  EXPECT_EQ(file.at("complete"), true);
  EXPECT_EQ(file.at("capped"), false);
  EXPECT_EQ(file.at("date"), run.date);
  EXPECT_EQ(file.at("time"), run.time);
  EXPECT_EQ(file.at("single").at("stream_cycles").at("files_per_second"),
            run.single[Index(Measure::StreamCycles)].filesPerSecond);
  EXPECT_EQ(file.at("single").at("block_read").at("megabytes_per_second"),
            run.single[Index(Measure::BlockRead)].megabytesPerSecond);
  EXPECT_EQ(file.at("workers").size(), 2u);
  EXPECT_EQ(file.at("workers").at(1).at("thread"), 1);
  EXPECT_EQ(file.at("workers").at(1).at("byte_read").at("seconds"),
            run.workers.at(1)[Index(Measure::ByteRead)].seconds);
  EXPECT_EQ(file.at("overall").at("byte_write").at("improvement"),
            run.overall[Index(Measure::ByteWrite)].improvement);
  EXPECT_EQ(file.at("overall").at("descriptor_cycles").at("efficiency"),
            run.overall[Index(Measure::DescriptorCycles)].improvement / 2);
}

// A stored JSON output says what it is, which version of its keys, and the settings behind its
// verdicts, before anything else.
TEST(ShowFormats, JsonBeginsWithWhatItIsItsVersionAndSettings) {
  const Compared compared = CompareStoredRuns();
  const auto json = nlohmann::ordered_json::parse(
      WriteJson(Compare(compared.runs, compared.labels, EachRun(compared.labels), 7.5)));
  std::vector<std::string> keys;
  for (const auto& item : json.items()) {
    keys.push_back(item.key());
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"format", "format_version", "settings", "columns",
                                            "files", "caveats"}));
  EXPECT_EQ(json.at("format"), "drives-tesk-results comparison");
  EXPECT_EQ(json.at("format_version"), 1);
  EXPECT_EQ(json.at("settings"), nlohmann::ordered_json({{"threshold_percent", 7.5},
                                                         {"confidence", 0.95},
                                                         {"baseline", compared.labels[0]},
                                                         {"interval_rule", "mann-whitney"}}));
}

// Elements are balanced and closed: a cheap well-formedness check of what WriteSvg writes.
bool Balanced(const std::string& svg) {
  std::vector<std::string> open;
  for (std::size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
    const std::size_t end = svg.find('>', at);
    if (end == std::string::npos) {
      return false;
    }
    const std::string tag = svg.substr(at + 1, end - at - 1);
    if (tag[0] == '?' || tag.back() == '/') {
      continue;
    }
    const std::string name = tag.substr(tag[0] == '/', tag.find_first_of(" >") - (tag[0] == '/'));
    if (tag[0] != '/') {
      open.push_back(name);
    } else if (open.empty() || open.back() != name) {
      return false;
    } else {
      open.pop_back();
    }
  }
  return open.empty();
}

TEST(Chart, DrawsABarPerFileForEveryDriveFigureWithEscapedLabels) {
  const Compared compared = CompareStoredRuns();
  const std::vector<Column> each = EachRun(compared.labels);
  const std::string svg = WriteSvg(Compare(compared.runs, compared.labels, each));
  EXPECT_TRUE(Balanced(svg));
  EXPECT_EQ(svg.find("a <label>"), std::string::npos);
  EXPECT_NE(svg.find("a &lt;label&gt; &amp; &quot;quotes&quot;"), std::string::npos);
  std::size_t bars = 0;
  for (std::size_t at = svg.find("<rect x="); at != std::string::npos;
       at = svg.find("<rect x=", at + 1)) {
    ++bars;
  }
  EXPECT_EQ(bars, 12u * 3u);
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
  // Double quotes: both the POSIX shell and the Windows command interpreter take them.
  const std::string command = std::string("\"") + DRIVES_TESK_RESULTS + "\" show \"" +
                              StoredRun("linux-1-worker") + "\" foreign.txt >out.txt 2>err.txt";
  const int status = std::system(ShellLine(command).c_str());
  EXPECT_NE(status, 0);
  EXPECT_NE(ReadWholeFile("out.txt").find("Lower, single thread (files/s)"), std::string::npos);
  EXPECT_EQ(ReadWholeFile("err.txt").rfind("foreign.txt:1: expected", 0), 0u)
      << ReadWholeFile("err.txt");

  const std::string good = std::string("\"") + DRIVES_TESK_RESULTS + "\" show --format json \"" +
                           StoredRun("linux-2-workers") + "\" >out.txt";
  EXPECT_EQ(std::system(ShellLine(good).c_str()), 0);
  EXPECT_EQ(nlohmann::json::parse(ReadWholeFile("out.txt")).at("files").size(), 1u);
}

// The program names itself in its version and usage; the help ends with examples and the manual
// page; run's options come in groups.
TEST(ResultsCommand, SaysWhatItIsAndWhereToReadMore) {
  ScratchDirectory directory;
  const std::string program = std::string("\"") + DRIVES_TESK_RESULTS + "\"";
  ASSERT_EQ(std::system(ShellLine(program + " --version >version.txt").c_str()), 0);
  EXPECT_EQ(SplitTextLines(ReadWholeFile("version.txt")),
            (std::vector<std::string>{std::string("drives-tesk-results ") + DRIVES_TESK_VERSION}));
  ASSERT_EQ(std::system(ShellLine(program + " --help >help.txt").c_str()), 0);
  const std::vector<std::string> help = SplitTextLines(ReadWholeFile("help.txt"));
  ASSERT_GT(help.size(), 4u);
  EXPECT_EQ(help[1].rfind("Usage: drives-tesk-results ", 0), 0u) << help[1];
  EXPECT_EQ(help.back(), "The manual page tells more: man drives-tesk-results");
  EXPECT_EQ(std::count_if(help.begin(), help.end(),
                          [](const std::string& line) {
                            return line.rfind("  drives-tesk-results ", 0) == 0;
                          }),
            2)
      << "two examples";
  ASSERT_EQ(std::system(ShellLine(program + " run --help >run.txt").c_str()), 0);
  const std::string run = ReadWholeFile("run.txt");
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
