// Repeats as `show` and `run` compare them: medians, spreads, the noise mark, columns split by
// context, and every output of such a comparison.
#include <gtest/gtest.h>

#include <algorithm>

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

TEST(Repeats, MedianOfAnyCount) {
  EXPECT_TRUE(std::isnan(Median({})));
  EXPECT_EQ(Median({3}), 3);
  EXPECT_EQ(Median({3, 1}), 2);
  EXPECT_EQ(Median({5, 1, 3}), 3);
  EXPECT_EQ(Median({4, 1, 3, 100}), 3.5);
}

// A run measured in `directory` with a context: its rates times `factor`.
RunRecord Measured(const std::string& directory, double factor, const std::string& fileSystem) {
  RunRecord run = Scaled(directory, factor);
  run.context.known = true;
  run.context[ContextKey::Directory] = directory;
  run.context[ContextKey::Host] = "bench-host";
  run.context[ContextKey::FileSystem] = fileSystem;
  run.context[ContextKey::Model] = "Disk " + directory.substr(1);
  run.context[ContextKey::Rotational] = "no";
  run.context.json = R"({"directory":")" + directory + R"(","file_system":")" + fileSystem + "\"}";
  return run;
}

// Five runs of /a, five of /b a third faster, four of /c within a percent of /a, one of /a on
// another file system, and two files without a context: columns by directory and context, the
// last never mixed into the first, the files without a context one column each.
TEST(Repeats, GroupedByDirectoryAndContextWithMedianSpreadAndVerdict) {
  std::vector<RunRecord> runs;
  const double a[] = {1.0, 1.01, 0.99, 1.0, 1.005};
  const double b[] = {1.3, 1.35, 1.4, 1.32, 1.38};
  const double c[] = {1.0, 1.005, 0.995, 1.01};
  for (int i = 0; i < 5; ++i) {
    runs.push_back(Measured("/a", a[i], "ext4"));
    runs.push_back(Measured("/b", b[i], "ext4"));
    if (i < 4) {
      runs.push_back(Measured("/c", c[i], "ext4"));
    }
  }
  runs.push_back(Measured("/a", 1.0, "xfs"));
  runs.push_back(Scaled("/x/d", 1.0));
  runs.push_back(Scaled("/y/d", 1.0));
  std::vector<std::string> labels;
  for (const RunRecord& run : runs) {
    labels.push_back(DefaultLabel(run));
  }
  const std::vector<Column> columns = GroupRepeats(runs, labels, false);
  ASSERT_EQ(columns.size(), 6u);
  EXPECT_EQ(columns[0].label, "a (5 runs)");
  EXPECT_EQ(columns[0].runs, (std::vector<std::size_t>{0, 3, 6, 9, 12}));
  EXPECT_EQ(columns[3].runs, (std::vector<std::size_t>{14})) << "another file system";
  EXPECT_EQ(columns[4].runs, (std::vector<std::size_t>{15})) << "no context: a column of its own";
  EXPECT_EQ(columns[5].runs, (std::vector<std::size_t>{16}));
  // Two labels that would read the same are lengthened by their folders.
  EXPECT_EQ(columns[4].label, "x/d 2026-12-08 10:50:46");
  EXPECT_EQ(columns[5].label, "y/d 2026-12-08 10:50:46");

  const ComparisonTable table = BuildTable(runs, columns);
  const Row& row = table.rows[Index(Measure::StreamCycles)];
  const double base = ReportRate(Measure::StreamCycles, Scaled("/a", 1.0).single[0]);
  EXPECT_DOUBLE_EQ(row.cells[0].value, base);
  EXPECT_NEAR(row.cells[0].spread, 2.0, 1e-9);
  EXPECT_NEAR(row.cells[1].change, 35.0, 1e-9);
  EXPECT_EQ(row.cells[1].verdict, Verdict::Faster);
  EXPECT_EQ(row.cells[2].verdict, Verdict::Same);
  EXPECT_EQ(row.cells[3].verdict, Verdict::Undecided) << "1 against 5: no interval";
  EXPECT_TRUE(std::isnan(row.cells[3].intervalLow));
  EXPECT_FALSE(row.cells[1].withinNoise);
  EXPECT_TRUE(row.cells[2].withinNoise);
  ASSERT_EQ(table.context.size(), 4u);
  EXPECT_EQ(table.context[0].values,
            (std::vector<std::string>{"ext4", "ext4", "ext4", "xfs", "-", "-"}));

  // Every output of the comparison, whole: medians, spreads, intervals, verdicts and their
  // counts, the legend, context rows, CSV and JSON columns, the chart's whiskers and dots.
  ExpectGoldenOutputs("repeats", Compare(runs, labels, columns));

  // --each: one column per run, as given.
  EXPECT_EQ(BuildTable(runs, EachRun(labels)).labels.size(), runs.size());
}

// What the README promises keeps runs apart does: the directory, the machine, the file system, the
// device, the rotational flag and the benchmark's version; runs that differ in anything else (the
// kernel, the start time) are repeats of one column.
TEST(Repeats, RunsOfTwoMachinesOrDrivesNeverShareAColumn) {
  const ContextKey apart[] = {ContextKey::Directory,  ContextKey::Host,
                              ContextKey::FileSystem, ContextKey::Model,
                              ContextKey::Rotational, ContextKey::BenchmarkVersion};
  for (const ContextField& field : ContextFields) {
    SCOPED_TRACE(field.key);
    std::vector<RunRecord> runs = {Measured("/a", 1.0, "ext4"), Measured("/a", 1.0, "ext4")};
    runs[1].context[field.id] += " elsewhere";
    const bool keptApart =
        std::find(std::begin(apart), std::end(apart), field.id) != std::end(apart);
    EXPECT_EQ(GroupRepeats(runs, {"a", "a"}, false).size(), keptApart ? 2u : 1u);
  }
  std::vector<RunRecord> runs = {Measured("/a", 1.0, "ext4"), Measured("/a", 1.0, "ext4")};
  runs[1].threads = runs[0].threads + 1;
  EXPECT_EQ(GroupRepeats(runs, {"a", "a"}, false).size(), 2u) << "another worker count";
}

}  // namespace
