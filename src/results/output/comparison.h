// What every output writes from: the runs read, their labels, the columns they are compared in
// (the first is the baseline every other is compared with), and the table and its caveats built
// from them once.
#pragma once

#include <string>
#include <vector>

#include "results/comparing/comparison_table.h"
#include "results/output/caveats.h"
#include "results/record/run_record.h"

struct Comparison {
  const std::vector<RunRecord>& runs;
  const std::vector<std::string>& labels;  // one per run
  const std::vector<Column>& columns;
  ComparisonTable table;        // empty when no run was read
  std::vector<Caveat> caveats;  // what to keep in mind when reading the table
  std::string title;            // the page's heading (`--title`); empty: "A compared with B"
};

// `thresholdPercent`: how far either way a change may reach and still be the same.
Comparison Compare(const std::vector<RunRecord>& runs, const std::vector<std::string>& labels,
                   const std::vector<Column>& columns,
                   double thresholdPercent = DefaultThresholdPercent);
