// Aligned text for a terminal: figure names on the left, one right-aligned column per run or set
// of repeats, padded by characters, then the verdicts' counts, the caveats and the legend.
#include <algorithm>

#include "results/output/cell_text.h"
#include "results/output/formats.h"
#include "results/record/text_safety.h"

std::string WriteText(const Comparison& comparison) {
  const ComparisonTable& table = comparison.table;
  if (comparison.runs.empty()) {
    return "";
  }
  std::vector<std::vector<std::string>> lines;
  lines.push_back({"figure"});
  lines.back().insert(lines.back().end(), table.labels.begin(), table.labels.end());
  for (const ContextRow& row : table.context) {
    lines.push_back({row.title});
    lines.back().insert(lines.back().end(), row.values.begin(), row.values.end());
  }
  for (const Row& row : table.rows) {
    lines.push_back({FigureName(row)});
    for (const Cell& cell : row.cells) {
      lines.back().push_back(CellText(cell));
    }
  }
  std::vector<std::size_t> widths(table.labels.size() + 1, 0);
  for (const auto& line : lines) {
    for (std::size_t column = 0; column < line.size(); ++column) {
      widths[column] = std::max(widths[column], DisplayCells(line[column]));
    }
  }
  std::string text;
  for (const auto& line : lines) {
    std::string out;
    for (std::size_t column = 0; column < line.size(); ++column) {
      const std::string& field = line[column];
      const std::string pad(widths[column] - DisplayCells(field), ' ');
      // The figure names are aligned left, the numbers right.
      if (column == 0) {
        out += field;
        out += pad;
      } else {
        out += "  ";
        out += pad;
        out += field;
      }
    }
    text += out + "\n";
  }
  for (const std::string& line : VerdictLines(table)) {
    text += line + "\n";
  }
  for (const Caveat& caveat : comparison.caveats) {
    text += caveat.text + "\n";
  }
  for (const std::string& legend : Legend(table)) {
    text += legend + "\n";
  }
  return text;
}
