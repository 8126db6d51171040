// Aligned text for a terminal: figure names on the left, one right-aligned column per run or set
// of repeats, padded by characters, then the notes: the verdicts' counts, the caveats
// and the legend.
#include <algorithm>

#include "results/output/formats.h"
#include "results/output/grid.h"
#include "results/record/text_safety.h"

std::string WriteText(const Comparison& comparison) {
  const Grid grid = BuildGrid(comparison);
  std::vector<std::size_t> widths;
  for (const GridLine& line : grid.lines) {
    widths.resize(std::max(widths.size(), line.cells.size()), 0);
    for (std::size_t column = 0; column < line.cells.size(); ++column) {
      widths[column] = std::max(widths[column], DisplayCells(line.cells[column]));
    }
  }
  std::string text;
  for (const GridLine& line : grid.lines) {
    for (std::size_t column = 0; column < line.cells.size(); ++column) {
      const std::string& field = line.cells[column];
      const std::string pad(widths[column] - DisplayCells(field), ' ');
      // The figure names are aligned left, the numbers right.
      if (column == 0) {
        text += field;
        text += pad;
      } else {
        text += "  ";
        text += pad;
        text += field;
      }
    }
    text += "\n";
  }
  for (const std::string& note : grid.notes) {
    text += note + "\n";
  }
  return text;
}
