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

// A bound of an interval in percent, signed: "-1.0", "+12.3".
std::string FormatBound(double percent) {
  char text[64];
  std::snprintf(text, sizeof text, std::fabs(percent) < 1e6 ? "%+.1f" : "%+.3g", percent);
  return text;
}

std::string ThresholdText(double percent) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", percent);
  return text;
}

// "99.0%": the two-sided level of a look at a one-tail level.
std::string LookLevelText(double oneTailLevel) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", (1 - 2 * oneTailLevel) * 100);
  return text;
}

// How the intervals were made: one look at the runs, or the looks of a session.
std::string IntervalRule(const SequentialSummary& sequential) {
  const std::string higher = "(every figure is better when higher)";
  if (!sequential.applies) {
    return "a..b 95% interval of the change " + higher;
  }
  std::string rule = "a..b 95% interval of the change, valid however the run stopped " + higher;
  if (sequential.anyPaired) {
    rule += ": paired rounds, each look at " + LookLevelText(sequential.pairedTail);
    if (sequential.anyUnpaired) {
      rule += " (unpaired runs: " + LookLevelText(sequential.unpairedTail) + ")";
    }
  } else {
    rule += ": unpaired runs, each look at " + LookLevelText(sequential.unpairedTail);
  }
  return rule;
}

bool IsVerdictMark(const CellMark& mark) {
  return mark.mark == SameMark || mark.mark == UndecidedMark;
}

}  // namespace

const std::vector<CellMark>& CellMarks() {
  static const std::string shortSpan = ShortSpanText() + ": one shot, too short to trust";
  static const std::vector<CellMark> marks = {
      {"[n%]", nullptr,
       "repeats: the median, and the spread of the runs (largest minus smallest) as a percentage "
       "of it",
       [](const Cell& cell) { return !std::isnan(cell.spread); }},
      {SameMark, nullptr, "the same",
       [](const Cell& cell) { return cell.verdict == Verdict::Same; }},
      {UndecidedMark, nullptr, "undecided: more runs narrow it",
       [](const Cell& cell) { return cell.verdict == Verdict::Undecided; }},
      {"~", "short", shortSpan.c_str(), [](const Cell& cell) { return cell.shortSpan; }},
      {"!", "warning", "the console warned that file operations failed: not a drive speed",
       [](const Cell& cell) { return cell.warned; }},
      {"?", "incomplete", "the run was cut short before this figure",
       [](const Cell& cell) { return cell.incomplete; }},
      {"*", "drift",
       "the runs disagree with each other: drift? (the interval is the last look's, undecided)",
       [](const Cell& cell) { return cell.drift; }},
  };
  return marks;
}

std::string IntervalNeeds() {
  int side = 1;
  while (LowerCriticalValue(side, side) < 0) {
    ++side;
  }
  int alone = 1;
  while (LowerCriticalValue(1, alone) < 0) {
    ++alone;
  }
  return std::to_string(side) + " runs a side, or 1 against " + std::to_string(alone);
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
    text += " (" + change;
    if (!std::isnan(cell.intervalLow)) {
      text += " " + FormatBound(cell.intervalLow) + ".." + FormatBound(cell.intervalHigh);
    }
    if (cell.verdict == Verdict::Same) {
      text += std::string(" ") + SameMark;
    } else if (cell.verdict == Verdict::Undecided) {
      text += std::string(" ") + UndecidedMark;
    }
    text += ")";
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
  auto appears = [&table](const CellMark& mark) {
    for (const Row& row : table.rows) {
      for (const Cell& cell : row.cells) {
        if (mark.on(cell)) {
          return true;
        }
      }
    }
    return false;
  };
  bool judged = false;
  for (const Row& row : table.rows) {
    for (const Cell& cell : row.cells) {
      judged = judged || cell.judged;
    }
  }
  std::vector<std::string> legend;
  if (judged) {
    // The verdicts' rule in one line, with both their marks.
    std::string rule = IntervalRule(table.sequential) + "; " + std::string(SameMark) +
                       " the same within \xc2\xb1" + ThresholdText(table.thresholdPercent) + "%; ";
    for (const CellMark& mark : CellMarks()) {
      if (mark.mark == UndecidedMark) {
        rule += std::string(mark.mark) + " " + mark.meaning;
      }
    }
    legend.push_back(rule);
  }
  // The flags' lines are the caveats', which say where they stand.
  for (const CellMark& mark : CellMarks()) {
    if (!IsVerdictMark(mark) && mark.word == nullptr && appears(mark)) {
      legend.push_back(std::string(mark.mark) + " " + mark.meaning);
    }
  }
  return legend;
}

std::vector<std::string> VerdictLines(const ComparisonTable& table) {
  std::vector<std::string> lines;
  for (std::size_t column = 1; column < table.labels.size(); ++column) {
    int counts[5] = {};
    for (const Row& row : table.rows) {
      const Cell& cell = row.cells[column];
      counts[static_cast<int>(cell.verdict)] += cell.judged ? 1 : 0;
    }
    const SequentialSummary& sequential = table.sequential;
    if (counts[1] + counts[2] + counts[3] + counts[4] == 0) {
      continue;
    }
    std::string line = table.labels[column] + ": " + std::to_string(counts[1]) + " faster, " +
                       std::to_string(counts[2]) + " slower, " + std::to_string(counts[3]) +
                       " the same, " + std::to_string(counts[4]) + " undecided";
    if (sequential.applies) {
      const int rounds = sequential.pairedRounds[column];
      line += rounds < 0 ? "; unpaired"
                         : "; " + std::to_string(rounds) + (rounds == 1 ? " round" : " rounds") +
                               " paired";
    }
    lines.push_back(line);
  }
  if (!table.sequential.stopLine.empty()) {
    lines.push_back(table.sequential.stopLine);
  }
  return lines;
}
