#include "results/output/format_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "results/output/cell_text.h"
#include "results/output/formats.h"
#include "results/output/palette.h"
#include "results/record/text_safety.h"

namespace {

constexpr int BarSpace = 220;
constexpr int ValueWidth = 90;
// The label column fits the longest label, within these bounds; a longer label is cut at its
// start, where labels of one folder agree, so the run's date and time stay visible.
constexpr std::size_t LongestLabel = 60;
constexpr int CharacterWidth = 7;
constexpr int LabelPadding = 12;
constexpr int BarHeight = 18;
constexpr int BarGap = 6;
constexpr int TitleHeight = 26;
constexpr int ChartGap = 22;
constexpr int Margin = 20;
constexpr int HeaderHeight = 40;
constexpr int NoteHeight = 16;
constexpr int NoteCharacter = 6;  // the width of a character of a note, generously

std::string SvgNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

struct Layout {
  int labelWidth;
  int chartWidth;
};

Layout LayoutFor(const std::vector<std::string>& labels) {
  std::size_t longest = 8;
  for (const std::string& label : labels) {
    longest = std::max(longest, std::min(CharacterCount(label), LongestLabel));
  }
  const int labelWidth = static_cast<int>(longest) * CharacterWidth + LabelPadding;
  return {labelWidth, labelWidth + BarSpace + ValueWidth};
}

int ChartHeight(std::size_t bars) {
  return TitleHeight + static_cast<int>(bars) * (BarHeight + BarGap) + ChartGap;
}

void DrawChart(std::string& svg, const Row& row, const std::vector<std::string>& labels,
               const Layout& layout, int x, int y) {
  const int labelWidth = layout.labelWidth;
  svg += "<text x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y + 16) +
         "\" class=\"title\">" + EscapeXml(row.title + " (" + row.unit + ")") + "</text>\n";
  double largest = 0;
  for (const Cell& cell : row.cells) {
    for (const double value : {cell.value, cell.high}) {
      if (std::isfinite(value)) {
        largest = std::max(largest, value);
      }
    }
  }
  const double barSpace = BarSpace;
  for (std::size_t i = 0; i < row.cells.size(); ++i) {
    const Cell& cell = row.cells[i];
    const int top = y + TitleHeight + static_cast<int>(i) * (BarHeight + BarGap);
    double length = 0;
    if (std::isinf(cell.value) && cell.value > 0) {
      length = barSpace;
    } else if (std::isfinite(cell.value) && largest > 0 && cell.value > 0) {
      length = cell.value / largest * barSpace;
    }
    const std::string label = EscapeXml(labels[i]);
    svg += "<g><title>" + label + ": " + EscapeXml(FormatValue(cell.value)) + "</title>\n";
    svg += "<text x=\"" + std::to_string(x + labelWidth - 6) + "\" y=\"" +
           std::to_string(top + 13) + "\" class=\"label\">" +
           EscapeXml(ShortLabel(labels[i], LongestLabel)) + "</text>\n";
    svg += "<rect x=\"" + std::to_string(x + labelWidth) + "\" y=\"" + std::to_string(top) +
           "\" width=\"" + SvgNumber(length) + "\" height=\"" + std::to_string(BarHeight) +
           "\" fill=\"" + SeriesColour(i).light + "\"/>\n";
    // Repeats: the bar is the median, the whisker runs from the smallest run to the largest.
    double end = length;
    if (cell.runs > 1 && std::isfinite(cell.low) && std::isfinite(cell.high) && largest > 0) {
      const double from = x + labelWidth + std::max(cell.low, 0.0) / largest * barSpace;
      const double to = x + labelWidth + std::max(cell.high, 0.0) / largest * barSpace;
      const int middle = top + BarHeight / 2;
      const int capTop = top + 4;
      const int capBottom = top + BarHeight - 4;
      char path[256];
      std::snprintf(path, sizeof path,
                    "<path d=\"M%.1f %dH%.1fM%.1f %dV%dM%.1f %dV%d\" class=\"whisker\"/>\n", from,
                    middle, to, from, capTop, capBottom, to, capTop, capBottom);
      svg += path;
      end = std::max(end, to - x - labelWidth);
      // Every run a dot over the bar.
      for (const double run : cell.values) {
        if (std::isfinite(run)) {
          char dot[160];
          std::snprintf(dot, sizeof dot,
                        "<circle cx=\"%.1f\" cy=\"%d\" r=\"2.5\" class=\"run\"/>\n",
                        x + labelWidth + std::max(run, 0.0) / largest * barSpace, middle);
          svg += dot;
        }
      }
    }
    std::string value = FormatValue(cell.value);
    for (const std::string& mark : {VerdictMark(cell.verdict), FlagMarkers(cell)}) {
      value += mark.empty() ? "" : " " + mark;
    }
    svg += "<text x=\"" + SvgNumber(x + labelWidth + end + 5) + "\" y=\"" +
           std::to_string(top + 13) + "\" class=\"value\">" + EscapeXml(value) + "</text>\n";
    svg += "</g>\n";
  }
}

}  // namespace

std::string WriteSvg(const Comparison& comparison) {
  const ComparisonTable& table = comparison.table;
  // Each single-thread figure with its all-workers twin beside it, in the single-thread order.
  const std::vector<HeadlineTwins> twins = Headlines(table);
  // Under the charts, a line per caveat (each flag's caveat explains its mark) and one on repeats
  // with the verdicts' marks as the legend of show names them.
  std::vector<std::string> notes;
  for (const Caveat& caveat : comparison.caveats) {
    notes.push_back(caveat.text);
  }
  bool judged = false;
  for (const Row& row : table.rows) {
    for (const Cell& cell : row.cells) {
      judged = judged || cell.judged;
    }
  }
  std::string verdicts;
  for (const CellMark& mark : CellMarks()) {
    if (IsVerdictMark(mark)) {
      verdicts += (verdicts.empty() ? "" : ", ") + std::string(mark.mark) + " " + mark.brief;
    }
  }
  notes.push_back(
      judged ? "Repeats: the bar is the median, each dot a run, the whisker from the smallest to "
               "the largest; " +
                   verdicts + " (legend of show)"
             : "Repeats: the bar is the median, the whisker runs from the smallest to the largest "
               "run");
  const Layout layout = LayoutFor(table.labels);
  const int chartWidth = layout.chartWidth;
  const std::size_t chartRows = twins.size();
  const int height = HeaderHeight + static_cast<int>(chartRows) * ChartHeight(table.labels.size()) +
                     Margin + 24 + NoteHeight * static_cast<int>(notes.size());
  // Wide enough for the longest note: a caveat is one line, never cut.
  int width = 2 * chartWidth + 3 * Margin;
  for (const std::string& note : notes) {
    width = std::max(width, 2 * Margin + static_cast<int>(CharacterCount(note)) * NoteCharacter);
  }
  std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) +
         "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) +
         " " + std::to_string(height) + "\">\n";
  svg += std::string("<style>text{font-family:sans-serif;font-size:12px;fill:") +
         PaletteNamed("fg").light +
         "}"
         ".heading{font-size:16px;font-weight:bold}.title{font-size:13px;font-weight:bold}"
         ".label{text-anchor:end}.note{font-size:11px;fill:" +
         PaletteNamed("muted").light + "}.whisker{stroke:" + PaletteNamed("fg").light +
         ";stroke-width:1.5;fill:none}"
         // A run's dot stands on the bar as well as beside it: dark, ringed in the background.
         ".run{fill:" +
         PaletteNamed("fg").light + ";stroke:" + PaletteNamed("bg").light +
         ";stroke-width:1}</style>\n";
  svg += std::string("<rect width=\"100%\" height=\"100%\" fill=\"") + PaletteNamed("bg").light +
         "\"/>\n";
  svg += "<text x=\"" + std::to_string(Margin) +
         "\" y=\"26\" class=\"heading\">Single thread</text>\n";
  svg += "<text x=\"" + std::to_string(2 * Margin + chartWidth) +
         "\" y=\"26\" class=\"heading\">All workers</text>\n";
  for (std::size_t i = 0; i < chartRows; ++i) {
    const int y = HeaderHeight + static_cast<int>(i) * ChartHeight(table.labels.size());
    DrawChart(svg, *twins[i].single, table.labels, layout, Margin, y);
    DrawChart(svg, *twins[i].allWorkers, table.labels, layout, 2 * Margin + chartWidth, y);
  }
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const int y = height - 14 - NoteHeight * static_cast<int>(notes.size() - 1 - i);
    svg += "<text x=\"" + std::to_string(Margin) + "\" y=\"" + std::to_string(y) +
           "\" class=\"note\">" + EscapeXml(notes[i]) + "</text>\n";
  }
  svg += "</svg>\n";
  return svg;
}
