#include "results/output/grid.h"

#include "results/output/cell_text.h"

Grid BuildGrid(const Comparison& comparison) {
  const ComparisonTable& table = comparison.table;
  Grid grid;
  if (comparison.runs.empty()) {
    return grid;
  }
  grid.lines.push_back({GridLineKind::Labels, "", {"figure"}, nullptr});
  grid.lines.back().cells.insert(grid.lines.back().cells.end(), table.labels.begin(),
                                 table.labels.end());
  for (const ContextRow& row : table.context) {
    grid.lines.push_back({GridLineKind::Context, row.key, {row.title}, nullptr});
    grid.lines.back().cells.insert(grid.lines.back().cells.end(), row.values.begin(),
                                   row.values.end());
  }
  for (const Row& row : table.rows) {
    grid.lines.push_back({GridLineKind::Figure, row.key, {FigureName(row)}, &row});
    for (const Cell& cell : row.cells) {
      grid.lines.back().cells.push_back(CellText(cell));
    }
  }
  grid.counts = VerdictLines(table);
  for (const Caveat& caveat : comparison.caveats) {
    grid.caveats.push_back(caveat.text);
  }
  grid.legend = Legend(table);
  for (const auto* part : {&grid.counts, &grid.caveats, &grid.legend}) {
    grid.notes.insert(grid.notes.end(), part->begin(), part->end());
  }
  return grid;
}
