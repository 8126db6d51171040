// A Markdown table for documents: every line of the grid a row on one line, pipes escaped, the
// notes (the verdicts' counts, the caveats and the legend) as a list.
#include "results/output/formats.h"
#include "results/output/grid.h"

namespace {

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    // A line end would end the table row.
    escaped += c == '|' ? std::string("\\|") : c == '\n' || c == '\r' ? " " : std::string(1, c);
  }
  return escaped;
}

}  // namespace

std::string WriteMarkdown(const Comparison& comparison) {
  const Grid grid = BuildGrid(comparison);
  std::string text;
  for (const GridLine& line : grid.lines) {
    text += "|";
    std::string rule = "|---|";
    for (std::size_t column = 0; column < line.cells.size(); ++column) {
      text += " " + Escaped(line.cells[column]) + " |";
      rule += column > 0 ? "---:|" : "";
    }
    text += "\n";
    if (line.kind == GridLineKind::Labels) {
      text += rule + "\n";
    }
  }
  if (!grid.notes.empty()) {
    text += "\n";
    for (const std::string& note : grid.notes) {
      text += "- " + Escaped(note) + "\n";
    }
  }
  return text;
}
