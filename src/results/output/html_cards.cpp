// A card per column: its six single-thread figures in large type, each with its verdict against
// the baseline as a word and a symbol, and the count of its verdicts as the text output has it;
// then what to read with care: the caveats every output shows, a line each.
#include <algorithm>

#include "results/output/cell_text.h"
#include "results/output/html_parts.h"

namespace {

std::string FigureEntry(const Row& row, std::size_t column) {
  const Cell& cell = row.cells[column];
  std::string html = "<div class=\"fig\" data-key=\"" + Text(row.key) + "\"><dt>" +
                     Text(MeasureTitle(row.measure)) + " <span class=\"unit\">" + Text(row.unit) +
                     "</span></dt>\n<dd><span class=\"big\">" + Text(FormatValue(cell.value)) +
                     "</span>" + FlagBadges(cell);
  const std::string spread = SpreadText(cell.spread);
  if (!spread.empty()) {
    html += " <span class=\"spread\">[" + Text(spread) + "]</span>";
  }
  if (column > 0) {
    html += "<br/>";
    const std::string change = ChangeText(cell.change);
    if (!change.empty()) {
      html += "<span class=\"chg\">" + Text(change) + "</span> ";
    }
    html += VerdictBadge(cell.verdict);
  }
  return html + "</dd></div>\n";
}

}  // namespace

std::string CardsSection(const Page& page) {
  const ComparisonTable& table = page.comparison.table;
  std::string html = "<section id=\"columns\">\n<h2>The columns</h2>\n<div class=\"cards\">\n";
  for (std::size_t c = 0; c < table.labels.size(); ++c) {
    const int runs = table.runs[c];
    html += "<article class=\"card\">\n<h3>" + ColumnKey(c) + " " + Name(table.labels[c]) +
            "</h3>\n<p class=\"sub\">" + (c == 0 ? "the baseline, " : "") + std::to_string(runs) +
            (runs == 1 ? " run" : " runs") + "; single thread</p>\n<dl>\n";
    for (const Row& row : table.rows) {
      if (row.part == RowPart::SingleThread) {
        html += FigureEntry(row, c);
      }
    }
    html += "</dl>\n";
    const std::string counts = c == 0 ? "" : VerdictCountLine(table, c);
    if (c == 0 && table.labels.size() > 1) {
      html += "<p class=\"counts\">Every other column is compared with this one.</p>\n";
    } else if (!counts.empty()) {
      html += "<p class=\"counts\">" + TextWithNames(counts, table.labels) + "</p>\n";
    } else if (c > 0) {
      html +=
          "<p class=\"counts\">No verdicts: a single run against a single run tells the "
          "change, not whether it holds.</p>\n";
    }
    html += "</article>\n";
  }
  return html + "</div>\n</section>\n";
}

std::string CareSection(const Page& page) {
  const Comparison& comparison = page.comparison;
  std::string html = "<section id=\"care\">\n<h2>Read with care</h2>\n";
  if (comparison.caveats.empty()) {
    return html +
           "<p>Nothing that the files tell calls for care beyond the rules above.</p>\n"
           "</section>\n";
  }
  html += "<ul class=\"caveats\">\n";
  for (const Caveat& caveat : comparison.caveats) {
    html += std::string("<li data-kind=\"") + CaveatKindName(caveat.kind) + "\">" +
            TextWithNames(caveat.text, comparison.table.labels);
    // The figures it concerns, by name, folded: the text counts them.
    std::string names;
    for (const Row& row : comparison.table.rows) {
      if (std::find(caveat.figures.begin(), caveat.figures.end(), row.key) !=
          caveat.figures.end()) {
        names += (names.empty() ? "" : ", ") + FigureName(row);
      }
    }
    if (!names.empty()) {
      html += "\n<details><summary>the figures</summary><p>" + Text(names) + "</p></details>";
    }
    html += "</li>\n";
  }
  return html + "</ul>\n</section>\n";
}
