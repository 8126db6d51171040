// How a figure of the comparison is written for people, and the marks beside it: one table of
// every mark, its word for scripts and its line in the legend under the table.
#pragma once

#include <string>
#include <vector>

#include "results/comparing/comparison_table.h"

// The marks of a change's verdict: the same within the threshold, or undecided. A faster or
// slower figure carries none.
inline constexpr const char* SameMark = "\xe2\x89\x88";       // ≈
inline constexpr const char* UndecidedMark = "\xe2\x80\xa6";  // …

// A mark a cell can carry. Flags (a short span, a warning, a cut-short run) stand after the
// figure and have a word for CSV and JSON; their meaning leads the caveat that says where they
// stand. The others are explained in the legend.
struct CellMark {
  const char* mark;
  const char* word;     // flags only: "short", "warning", "incomplete", "drift"
  const char* meaning;  // the legend's line after the mark
  const char* brief;    // the meaning where room is short (the chart's notes)
  bool (*on)(const Cell& cell);
};
const std::vector<CellMark>& CellMarks();

// True for the marks of a verdict (SameMark, UndecidedMark).
bool IsVerdictMark(const CellMark& mark);

// The mark of a verdict in a change: SameMark, UndecidedMark, or "" (faster, slower and none).
std::string VerdictMark(Verdict verdict);

// How a verdict is shown to people: its words and a symbol, so that neither colour nor shape
// alone carries it. The text formats mark only the verdicts that the sign of the change does not
// tell (VerdictMark); the page shows every one.
struct VerdictSign {
  Verdict verdict;
  const char* words;   // "faster", "slower", "the same", "undecided"; "" for none
  const char* symbol;  // ▲ ▼ ≈ …; "" for none
};
const VerdictSign& SignOf(Verdict verdict);
// Every verdict that judges, in the order of the counts under the table.
const VerdictSign* JudgedSigns();
inline constexpr int JudgedSignCount = 4;

// The fewest runs that give an interval, from the critical values: "4 runs a side, or 1 against
// 39".
std::string IntervalNeeds();

// A figure for people: whole numbers from 100 on, three significant digits below; "inf", "nan";
// "-" where the figure is missing.
std::string FormatValue(double value);

// The flags' marks beside a figure: "~", "!", "?"; and their words, ";"-separated.
std::string FlagMarkers(const Cell& cell);
std::string FlagWords(const Cell& cell);

// The pieces of a cell's text: "4.2%" (the spread of repeats), "+5.6%" (the change), "-1.0" and
// "+12.3" (an interval's bounds); "" where the cell has none.
std::string SpreadText(double spread);
std::string ChangeText(double change);
std::string BoundText(double percent);
// "3": a threshold in percent as the legend writes it.
std::string ThresholdText(double percent);

// "1234 [4.2%] (+5.6% -1.0..+12.3 ≈) ~": the value (the median of repeats), the spread of the
// repeats, the change against the first column with its 95% interval and the verdict's mark,
// the flag markers.
std::string CellText(const Cell& cell);

// "Lower (files/s)": a row's title and unit.
std::string FigureName(const Row& row);

// The legend's lines for the marks other than flags that appear in `table`, in the order of the
// marks; where any change is judged, first the rule of the verdicts.
std::vector<std::string> Legend(const ComparisonTable& table);

// Under the table: for each later column with judged changes, how many figures are faster,
// slower, the same and undecided (with its rounds paired, for a session run until decided); and
// why the session stopped, where that is known.
std::vector<std::string> VerdictLines(const ComparisonTable& table);
// The count line of one later column; "" where none of its changes is judged.
std::string VerdictCountLine(const ComparisonTable& table, std::size_t column);
