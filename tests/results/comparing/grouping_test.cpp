// Repeats as `show` and `run` compare them: medians, spreads, the noise mark, columns split by
// context, and every output of such a comparison.
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
#include "results/running/progress_line.h"
#include "results/running/run_context.h"
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
  // The runs of /c tell where they ran; the last run of /a ran on another file system.
  for (RunRecord& run : runs) {
    if (run.path.rfind("/c/", 0) == 0) {
      run.context.known = true;
      run.context["file_system"] = "ext4";
      run.context["model"] = "Disk C";
      run.context["rotational"] = "no";
      run.context.json = R"({"directory":"/c","file_system":"ext4","model":"Disk C"})";
    }
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
  ASSERT_EQ(table.context.size(), 4u) << "some runs have a context: the rows show";
  EXPECT_EQ(table.context[0].values, (std::vector<std::string>{"-", "-", "ext4", "xfs"}));

  // Every output of the comparison, whole: medians, spreads, the noise mark and its legend,
  // context rows, CSV and JSON columns, the chart's whiskers.
  ExpectGoldenOutputs("repeats", Compare(runs, labels, columns));

  // --each: one column per run, as given.
  EXPECT_EQ(BuildTable(runs, EachRun(labels)).labels.size(), runs.size());
}

}  // namespace
