// A Markdown table for documents: every row on one line, pipes escaped; the verdicts' counts, the
// caveats and the legend as a list.
#include "results/output/cell_text.h"
#include "results/output/formats.h"

std::string WriteMarkdown(const Comparison& comparison) {
  const ComparisonTable& table = comparison.table;
  if (comparison.runs.empty()) {
    return "";
  }
  auto escape = [](const std::string& text) {
    std::string escaped;
    for (const char c : text) {
      // A line end would end the table row.
      escaped += c == '|' ? std::string("\\|") : c == '\n' || c == '\r' ? " " : std::string(1, c);
    }
    return escaped;
  };
  std::string text = "| figure |";
  std::string rule = "|---|";
  for (const std::string& label : table.labels) {
    text += " " + escape(label) + " |";
    rule += "---:|";
  }
  text += "\n" + rule + "\n";
  for (const ContextRow& row : table.context) {
    text += "| " + escape(row.title) + " |";
    for (const std::string& value : row.values) {
      text += " " + escape(value) + " |";
    }
    text += "\n";
  }
  for (const Row& row : table.rows) {
    text += "| " + escape(FigureName(row)) + " |";
    for (const Cell& cell : row.cells) {
      text += " " + escape(CellText(cell)) + " |";
    }
    text += "\n";
  }
  std::vector<std::string> legend = VerdictLines(table);
  for (const Caveat& caveat : comparison.caveats) {
    legend.push_back(caveat.text);
  }
  for (const std::string& line : Legend(table)) {
    legend.push_back(line);
  }
  if (!legend.empty()) {
    text += "\n";
    for (const std::string& line : legend) {
      text += "- " + escape(line) + "\n";
    }
  }
  return text;
}
