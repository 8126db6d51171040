// Every figure in the report's order: the grid that the text and Markdown tables show, as an HTML
// table whose rows carry their CSV key and verdicts, and three filters that need no script (a
// checkbox each, read by the style sheet's :has()).
#include <cmath>

#include "results/output/cell_text.h"
#include "results/output/grid.h"
#include "results/output/html_parts.h"

namespace {

struct Filter {
  const char* id;
  const char* label;
};
constexpr Filter Filters[] = {
    {"hide-same", "hide the figures judged the same"},
    {"only-decided", "show only the decided ones (faster or slower)"},
    {"hide-details",
     "hide the multi-thread details (improvement, slowest and fastest worker, "
     "efficiency)"},
};

// The cell of a figure: its value, the spread of repeats, the change with its interval, the
// verdict as a word and a symbol, the flags.
std::string FigureCell(const Cell& cell, std::size_t column) {
  std::string html = "<td";
  if (column > 0) {
    html += std::string(" data-verdict=\"") + VerdictWord(cell.verdict) + "\"";
  }
  html += ">" + Text(FormatValue(cell.value));
  const std::string spread = SpreadText(cell.spread);
  if (!spread.empty()) {
    html += " <span class=\"spread\">[" + Text(spread) + "]</span>";
  }
  const std::string change = ChangeText(cell.change);
  if (!change.empty()) {
    html += " <span class=\"chg\">(" + Text(change);
    if (!std::isnan(cell.intervalLow)) {
      html += " " + Text(BoundText(cell.intervalLow)) + ".." + Text(BoundText(cell.intervalHigh));
    }
    html += ")</span>";
  }
  const std::string badge = VerdictBadge(cell.verdict);
  html += badge.empty() ? "" : " " + badge;
  return html + FlagBadges(cell) + "</td>";
}

// The row's classes for the filters: all its judged changes the same, any of them decided, a
// detail of the multi-thread phase.
std::string RowClasses(const Row& row) {
  bool judged = false;
  bool allSame = true;
  bool decided = false;
  for (const Cell& cell : row.cells) {
    if (cell.judged) {
      judged = true;
      allSame = allSame && cell.verdict == Verdict::Same;
      decided = decided || cell.verdict == Verdict::Faster || cell.verdict == Verdict::Slower;
    }
  }
  std::string classes;
  auto add = [&classes](const char* name) {
    classes += (classes.empty() ? "" : " ") + std::string(name);
  };
  if (judged && allSame) {
    add("same");
  }
  if (decided) {
    add("decided");
  }
  if (row.part != RowPart::SingleThread && row.part != RowPart::AllWorkers) {
    add("detail");
  }
  return classes.empty() ? "" : " class=\"" + classes + "\"";
}

// The CSV verdicts of the later columns, comma-separated: "faster", or "faster,,same" for four
// columns of which the third is not judged.
std::string RowVerdicts(const Row* row, std::size_t columns) {
  std::string verdicts;
  for (std::size_t c = 1; c < columns; ++c) {
    verdicts += (c == 1 ? "" : ",") + std::string(row ? VerdictWord(row->cells[c].verdict) : "");
  }
  return verdicts;
}

}  // namespace

std::string FiguresSection(const Page& page) {
  const Grid grid = BuildGrid(page.comparison);
  const std::size_t columns = page.comparison.table.labels.size();
  std::string html = "<section id=\"figures\">\n<h2>Every figure</h2>\n<div class=\"filters\">\n";
  for (const Filter& filter : Filters) {
    html += std::string("<label><input type=\"checkbox\" id=\"") + filter.id + "\"/> " +
            filter.label + "</label>\n";
  }
  html += "</div>\n<div class=\"scroll\"><table class=\"figures\">\n<thead>\n";
  GridLineKind body = GridLineKind::Labels;
  for (const GridLine& line : grid.lines) {
    if (line.kind != body) {
      html += body == GridLineKind::Labels ? "</thead>\n" : "</tbody>\n";
      html += line.kind == GridLineKind::Context ? "<tbody class=\"context\">\n"
                                                 : "<tbody class=\"figures\">\n";
      body = line.kind;
    }
    if (line.kind == GridLineKind::Labels) {
      html += "<tr><th scope=\"col\">" + Text(line.cells.front()) + "</th>";
      for (std::size_t c = 1; c < line.cells.size(); ++c) {
        html += "<th scope=\"col\">" + ColumnKey(c - 1) + " " + Name(line.cells[c]) + "</th>";
      }
      html += "</tr>\n";
      continue;
    }
    html += "<tr data-key=\"" + Text(line.key) + "\" data-verdict=\"" +
            RowVerdicts(line.row, columns) + "\"" + (line.row ? RowClasses(*line.row) : "") +
            "><th scope=\"row\">" + Text(line.cells.front()) + "</th>";
    for (std::size_t c = 1; c < line.cells.size(); ++c) {
      html += line.row ? FigureCell(line.row->cells[c - 1], c - 1)
                       : "<td>" + Name(line.cells[c]) + "</td>";
    }
    html += "</tr>\n";
  }
  html += body == GridLineKind::Labels ? "</thead>\n" : "</tbody>\n";
  html += "</table></div>\n<ul class=\"notes\">\n";
  // The caveats have a section of their own.
  std::vector<std::string> notes = grid.counts;
  notes.insert(notes.end(), grid.legend.begin(), grid.legend.end());
  for (const std::string& note : notes) {
    html += "<li>" + TextWithNames(note, page.comparison.table.labels) + "</li>\n";
  }
  return html + "</ul>\n</section>\n";
}
