#include "results/output/cell_text.h"

#include <cmath>
#include <cstdio>

namespace {

std::string FormatChange(double change) {
  if (std::isnan(change)) {
    return "";
  }
  char text[64];
  std::snprintf(text, sizeof text, std::fabs(change) < 1e6 ? "%+.1f%%" : "%+.3g%%", change);
  return text;
}

std::string FormatSpread(double spread) {
  if (std::isnan(spread)) {
    return "";
  }
  char text[64];
  std::snprintf(text, sizeof text,
                spread < 10    ? "%.1f%%"
                : spread < 1e6 ? "%.0f%%"
                               : "%.3g%%",
                spread);
  return text;
}

}  // namespace

const std::vector<CellMark>& CellMarks() {
  static const std::vector<CellMark> marks = {
      {"[n%]", nullptr,
       "repeats: the median, and the spread of the runs (largest minus smallest) as a percentage "
       "of it",
       [](const Cell& cell) { return !std::isnan(cell.spread); }},
      {NoiseMark, nullptr,
       "within the noise: the runs of the two columns overlap, from smallest to largest",
       [](const Cell& cell) { return cell.withinNoise; }},
      {"~", "short", "timed in under 10 ms: one shot, too short to trust",
       [](const Cell& cell) { return cell.shortSpan; }},
      {"!", "warning", "the console warned that file operations failed: not a drive speed",
       [](const Cell& cell) { return cell.warned; }},
      {"?", "incomplete", "the run was cut short before this figure",
       [](const Cell& cell) { return cell.incomplete; }},
  };
  return marks;
}

std::string FormatValue(double value) {
  if (std::isnan(value)) {
    return "-";
  }
  if (std::isinf(value)) {
    return value > 0 ? "inf" : "-inf";
  }
  // Whole numbers up to a trillion; past that the exponent keeps the size visible.
  const double size = std::fabs(value);
  char text[64];
  std::snprintf(text, sizeof text, size >= 1e12 ? "%.3e" : size >= 100 ? "%.0f" : "%.3g", value);
  return text;
}

std::string FlagMarkers(const Cell& cell) {
  std::string markers;
  for (const CellMark& mark : CellMarks()) {
    if (mark.word != nullptr && mark.on(cell)) {
      markers += mark.mark;
    }
  }
  return markers;
}

std::string FlagWords(const Cell& cell) {
  std::string words;
  for (const CellMark& mark : CellMarks()) {
    if (mark.word != nullptr && mark.on(cell)) {
      words += (words.empty() ? "" : ";") + std::string(mark.word);
    }
  }
  return words;
}

std::string CellText(const Cell& cell) {
  std::string text = FormatValue(cell.value);
  const std::string spread = FormatSpread(cell.spread);
  if (!spread.empty()) {
    text += " [" + spread + "]";
  }
  const std::string change = FormatChange(cell.change);
  if (!change.empty()) {
    text += " (" + change + (cell.withinNoise ? " " + std::string(NoiseMark) : "") + ")";
  }
  const std::string markers = FlagMarkers(cell);
  if (!markers.empty()) {
    text += " " + markers;
  }
  return text;
}

std::string FigureName(const Row& row) {
  return row.unit.empty() ? row.title : row.title + " (" + row.unit + ")";
}

std::vector<std::string> Legend(const ComparisonTable& table) {
  std::vector<std::string> legend;
  for (const CellMark& mark : CellMarks()) {
    bool shown = false;
    for (const Row& row : table.rows) {
      for (const Cell& cell : row.cells) {
        shown = shown || mark.on(cell);
      }
    }
    if (shown) {
      legend.push_back(std::string(mark.mark) + " " + mark.meaning);
    }
  }
  return legend;
}
