// Repeats as `show` and `run` compare them: medians, spreads, the noise mark, columns split by
// context; the files `run` keeps beside a results file; and the parts of `run` that need no run.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "contract/file_names.h"
#include "results/commands/run_command.h"
#include "results/comparing/comparison_table.h"
#include "results/output/format_svg.h"
#include "results/output/formats.h"
#include "results/reading/beside_files.h"
#include "results/reading/results_file.h"
#include "results/record/text_safety.h"
#include "results/running/progress_line.h"
#include "results/running/run_context.h"
#include "results/running/run_plan.h"
#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/platform_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// The stored 1-worker run as if measured in `directory`, every rate times `factor`.
RunRecord Scaled(const std::string& directory, double factor) {
  RunRecord run = *ReadResultsFile(StoredRun("linux-1-worker")).record;
  run.path = directory + "/results_drives_tesk_windows @ local date 2026.12.08 time 10.50.46.txt";
  auto scale = [factor](auto& figures) {
    figures.filesPerSecond *= factor;
    figures.millionsPerSecond *= factor;
    figures.megabytesPerSecond *= factor;
  };
  for (Figures& figures : run.single) {
    scale(figures);
  }
  for (auto& worker : run.workers) {
    for (Figures& figures : worker.second) {
      scale(figures);
    }
  }
  for (OverallFigures& overall : run.overall) {
    scale(overall);
  }
  return run;
}

TEST(Repeats, MedianOfAnyCount) {
  EXPECT_TRUE(std::isnan(Median({})));
  EXPECT_EQ(Median({3}), 3);
  EXPECT_EQ(Median({3, 1}), 2);
  EXPECT_EQ(Median({5, 1, 3}), 3);
  EXPECT_EQ(Median({4, 1, 3, 100}), 3.5);
}

// Three runs of /a, three of /b overlapping them, three of /c far above, one of /a on another
// file system: four columns, the last never mixed into the first.
TEST(Repeats, GroupedByDirectoryAndContextWithMedianSpreadAndNoise) {
  std::vector<RunRecord> runs;
  for (const auto& [directory, factor] : std::vector<std::pair<std::string, double>>{{"/a", 0.9},
                                                                                     {"/b", 1.1},
                                                                                     {"/c", 2.0},
                                                                                     {"/a", 1.0},
                                                                                     {"/b", 1.3},
                                                                                     {"/c", 2.1},
                                                                                     {"/a", 1.2},
                                                                                     {"/b", 1.5},
                                                                                     {"/c", 2.2},
                                                                                     {"/a", 1.0}}) {
    runs.push_back(Scaled(directory, factor));
  }
  runs.back().context.known = true;
  runs.back().context["file_system"] = "xfs";
  std::vector<std::string> labels;
  for (const RunRecord& run : runs) {
    labels.push_back(DefaultLabel(run));
  }
  const std::vector<Column> columns = GroupRepeats(runs, labels, false);
  ASSERT_EQ(columns.size(), 4u);
  EXPECT_EQ(columns[0].label, "a (3 runs)");
  EXPECT_EQ(columns[0].runs, (std::vector<std::size_t>{0, 3, 6}));
  EXPECT_EQ(columns[3].label, labels[9]) << "a single run keeps its own label";

  const ComparisonTable table = BuildTable(runs, columns);
  const Row& row = table.rows[Index(Measure::StreamCycles)];
  const double base = ShownRate(Measure::StreamCycles, Scaled("/a", 1.0).single[0]);
  EXPECT_DOUBLE_EQ(row.cells[0].value, base);
  EXPECT_DOUBLE_EQ(row.cells[0].spread, 30.0);
  EXPECT_NEAR(row.cells[1].change, 30.0, 1e-9);
  EXPECT_TRUE(row.cells[1].withinNoise) << "1.1-1.5 overlaps 0.9-1.2";
  EXPECT_FALSE(row.cells[2].withinNoise) << "2.0-2.2 is clear of 0.9-1.2";
  EXPECT_TRUE(row.cells[3].withinNoise) << "one run inside the first column's range";
  EXPECT_TRUE(std::isnan(row.cells[3].spread));
  ASSERT_EQ(table.context.size(), 4u) << "one run has a context: the rows show";
  EXPECT_EQ(table.context[0].values, (std::vector<std::string>{"-", "-", "-", "xfs"}));

  const std::string text = WriteText(Compare(runs, labels, columns));
  EXPECT_NE(text.find("[30%]"), std::string::npos) << text;
  EXPECT_NE(text.find("(+30.0% \xe2\x89\x88)"), std::string::npos) << text;
  EXPECT_NE(text.find("\xe2\x89\x88 within the noise"), std::string::npos) << text;
  const std::string csv = WriteCsv(Compare(runs, labels, columns));
  EXPECT_NE(csv.find(",3,"), std::string::npos);
  EXPECT_NE(csv.find(",yes\n"), std::string::npos);
  const auto json = nlohmann::json::parse(WriteJson(Compare(runs, labels, columns)));
  const auto& figure = json["columns"][1]["figures"]["single.stream_cycles"];
  EXPECT_EQ(figure["within_noise"], true);
  EXPECT_DOUBLE_EQ(figure["min"].get<double>(), base * 1.1);
  EXPECT_EQ(json["files"].size(), runs.size()) << "every run's figures kept";
  // The chart: a whisker from the smallest to the largest run for each column of repeats.
  const std::string svg = WriteSvg(Compare(runs, labels, columns));
  EXPECT_NE(svg.find("class=\"whisker\""), std::string::npos);

  // --each: one column per run, as given.
  EXPECT_EQ(BuildTable(runs, EachRun(labels)).labels.size(), runs.size());
}

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
  EXPECT_EQ(run.context["directory"], "/mnt/\\x1b");
  EXPECT_EQ(run.context["model"], "sda");
  EXPECT_EQ(run.context["rotational"], "no");

  WriteTextFile(BesideResults(results, ContextSuffix), "[1, 2");
  EXPECT_FALSE(ReadRun(results).record->context.known) << "a broken context is left out";

  std::ostringstream out, err;
  EXPECT_EQ(ShowCommand({}, {}, "csv", false, {out, err}), 0) << err.str();
  EXPECT_EQ(SplitLines(out.str()).size(), 1u + 36u) << "one column: the results file";
}

TEST(RunParts, StatusLineFitsTheTerminal) {
  const Progress progress{2,
                          6,
                          "/media/someone/a rather long folder name/\xc3\xa9t\xc3\xa9",
                          "multi-thread, Low writing and reading speeds",
                          75.4,
                          130};
  EXPECT_EQ(StatusLine(progress, 200),
            "run 2 of 6: /media/someone/a rather long folder name/\xc3\xa9t\xc3\xa9: "
            "multi-thread, Low writing and reading speeds, 1 min 15 s, about 2 min 10 s left");
  for (const int columns : {0, 1, 20, 60, 100}) {
    const std::string line = StatusLine(progress, columns);
    EXPECT_LE(CharacterCount(line), static_cast<std::size_t>(std::max(columns - 1, 0))) << line;
    EXPECT_EQ(ValidUtf8(line), line);
  }
  EXPECT_NE(StatusLine(progress, 100).find("\xe2\x80\xa6"), std::string::npos)
      << "the directory shortened at its start";
  Progress first = progress;
  first.left = -1;
  EXPECT_EQ(StatusLine(first, 200).find("left"), std::string::npos) << "no estimate yet";
}

TEST(RunParts, SectionsFollowTheReportsHeaders) {
  std::string phase, section, seen;
  for (const std::string& line :
       SplitLines(ReadWholeFile(StoredRun("linux-1-worker", "console")))) {
    const std::string before = section;
    FollowReport(line, phase, section);
    if (section != before) {
      seen += section + "|";
    }
  }
  EXPECT_EQ(seen,
            "single thread, Power of Handling Files -- Lower|single thread, Power of Handling "
            "Files -- Hihger|single thread, Low writing and reading speeds|single thread, High "
            "writing and reading speeds|multi-thread, Power of Handling Files -- Lower|"
            "multi-thread, Power of Handling Files -- Higher|multi-thread, Low writing and "
            "reading speeds|multi-thread, High writing and reading speeds|");
}

TEST(RunParts, WorkersAsTheBenchmarkWillStartThem) {
  const struct {
    int threads;
    const char* omp;
    unsigned hardware;
    int workers;
  } cases[] = {{3, "9", 2, 3},       {0, "9", 2, 9},     {0, "4,2", 2, 4},  {0, "x", 2, 2},
               {0, nullptr, 16, 16}, {0, "500", 2, 128}, {0, nullptr, 0, 1}};
  for (const auto& test : cases) {
    EXPECT_EQ(ExpectedWorkers(test.threads, test.omp, test.hardware), test.workers)
        << test.threads << " " << (test.omp ? test.omp : "unset");
  }
}

// The start time carries the offset of the local zone, half hours included.
TEST(RunParts, StartTimeCarriesTheZonesOffset) {
  const char* saved = std::getenv("TZ");
  const std::string restore = saved != nullptr ? saved : "";
  const struct {
    const char* zone;
    const char* time;
  } cases[] = {{"UTC0", "2026-12-08T22:04:05+00:00"}, {"IST-5:30", "2026-12-09T03:34:05+05:30"}};
  for (const auto& test : cases) {
    SetTimeZone(test.zone);
    EXPECT_EQ(IsoTime(1796767445), test.time) << test.zone;
  }
  SetTimeZone(restore.c_str());
}

}  // namespace
