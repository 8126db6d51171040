#include "results/output/cell_text.h"

#include <cmath>
#include <cstdio>

std::string ChangeText(double change) {
  if (std::isnan(change)) {
    return "";
  }
  char text[64];
  std::snprintf(text, sizeof text, std::fabs(change) < 1e6 ? "%+.1f%%" : "%+.3g%%", change);
  return text;
}

std::string SpreadText(double spread) {
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

std::string BoundText(double percent) {
  char text[64];
  std::snprintf(text, sizeof text, std::fabs(percent) < 1e6 ? "%+.1f" : "%+.3g", percent);
  return text;
}

std::string ThresholdText(double percent) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", percent);
  return text;
}

namespace {

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

}  // namespace

bool IsVerdictMark(const CellMark& mark) {
  return mark.mark == SameMark || mark.mark == UndecidedMark;
}

const VerdictSign& SignOf(Verdict verdict) {
  static const VerdictSign none{Verdict::None, "", ""};
  for (int i = 0; i < JudgedSignCount; ++i) {
    if (JudgedSigns()[i].verdict == verdict) {
      return JudgedSigns()[i];
    }
  }
  return none;
}

const VerdictSign* JudgedSigns() {
  static const VerdictSign signs[JudgedSignCount] = {
      {Verdict::Faster, "faster", "\xe2\x96\xb2"},  // ▲
      {Verdict::Slower, "slower", "\xe2\x96\xbc"},  // ▼
      {Verdict::Same, "the same", SameMark},
      {Verdict::Undecided, "undecided", UndecidedMark},
  };
  return signs;
}

const std::vector<CellMark>& CellMarks() {
  static const std::string shortSpan = ShortSpanText() + ": one shot, too short to trust";
  static const std::string shortBrief = ShortSpanText() + ", too short to trust";
  static const std::vector<CellMark> marks = {
      {"[n%]", nullptr,
       "repeats: the median, and the spread of the runs (largest minus smallest) as a percentage "
       "of it",
       "the spread of the runs", [](const Cell& cell) { return !std::isnan(cell.spread); }},
      {SameMark, nullptr, "the same", "the same",
       [](const Cell& cell) { return cell.verdict == Verdict::Same; }},
      {UndecidedMark, nullptr, "undecided: more runs narrow it", "undecided",
       [](const Cell& cell) { return cell.verdict == Verdict::Undecided; }},
      {"~", "short", shortSpan.c_str(), shortBrief.c_str(),
       [](const Cell& cell) { return cell.shortSpan; }},
      {"!", "warning", "the console warned that file operations failed: not a drive speed",
       "file operations failed, not a drive speed", [](const Cell& cell) { return cell.warned; }},
      {"?", "incomplete", "the run was cut short before this figure",
       "the run was cut short before this figure",
       [](const Cell& cell) { return cell.incomplete; }},
      {"*", "drift",
       "the runs disagree with each other: drift? (the interval is the last look's, undecided)",
       "the runs disagree with each other: drift?", [](const Cell& cell) { return cell.drift; }},
  };
  return marks;
}

std::string VerdictMark(Verdict verdict) {
  Cell judged;
  judged.verdict = verdict;
  for (const CellMark& mark : CellMarks()) {
    if (IsVerdictMark(mark) && mark.on(judged)) {
      return mark.mark;
    }
  }
  return "";
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
  const std::string spread = SpreadText(cell.spread);
  if (!spread.empty()) {
    text += " [" + spread + "]";
  }
  const std::string change = ChangeText(cell.change);
  if (!change.empty()) {
    text += " (" + change;
    if (!std::isnan(cell.intervalLow)) {
      text += " " + BoundText(cell.intervalLow) + ".." + BoundText(cell.intervalHigh);
    }
    const std::string mark = VerdictMark(cell.verdict);
    text += (mark.empty() ? "" : " " + mark) + ")";
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

std::string VerdictCountLine(const ComparisonTable& table, std::size_t column) {
  int counts[JudgedSignCount] = {};
  int judged = 0;
  for (const Row& row : table.rows) {
    const Cell& cell = row.cells[column];
    for (int i = 0; i < JudgedSignCount; ++i) {
      const bool counted = cell.judged && cell.verdict == JudgedSigns()[i].verdict;
      counts[i] += counted ? 1 : 0;
      judged += counted ? 1 : 0;
    }
  }
  if (judged == 0) {
    return "";
  }
  std::string line = table.labels[column] + ":";
  for (int i = 0; i < JudgedSignCount; ++i) {
    line += (i == 0 ? " " : ", ") + std::to_string(counts[i]) + " " + JudgedSigns()[i].words;
  }
  const SequentialSummary& sequential = table.sequential;
  if (sequential.applies) {
    const int rounds = sequential.pairedRounds[column];
    line += rounds < 0
                ? "; unpaired"
                : "; " + std::to_string(rounds) + (rounds == 1 ? " round" : " rounds") + " paired";
  }
  return line;
}

std::vector<std::string> VerdictLines(const ComparisonTable& table) {
  std::vector<std::string> lines;
  for (std::size_t column = 1; column < table.labels.size(); ++column) {
    const std::string line = VerdictCountLine(table, column);
    if (!line.empty()) {
      lines.push_back(line);
    }
  }
  if (!table.sequential.stopLine.empty()) {
    lines.push_back(table.sequential.stopLine);
  }
  return lines;
}
