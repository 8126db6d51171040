#include "results/output/comparison.h"

Comparison Compare(const std::vector<RunRecord>& runs, const std::vector<std::string>& labels,
                   const std::vector<Column>& columns, double thresholdPercent) {
  Comparison comparison{
      runs,    labels,
      columns, runs.empty() ? ComparisonTable{} : BuildTable(runs, columns, thresholdPercent),
      {},      ""};
  comparison.caveats = Caveats(runs, columns, comparison.table);
  return comparison;
}
