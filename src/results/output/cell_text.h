// How a figure of the comparison is written for people, and the marks beside it: one table of
// every mark, its word for scripts and its line in the legend under the table.
#pragma once

#include <string>
#include <vector>

#include "results/comparing/comparison_table.h"

// The mark of a change within the noise.
inline constexpr const char* NoiseMark = "\xe2\x89\x88";  // ≈

// A mark a cell can carry. Flags (a short span, a warning, a cut-short run) stand after the
// figure and have a word for CSV and JSON; the others are explained in the legend only.
struct CellMark {
  const char* mark;
  const char* word;     // flags only: "short", "warning", "incomplete"
  const char* meaning;  // the legend's line after the mark
  bool (*on)(const Cell& cell);
};
const std::vector<CellMark>& CellMarks();

// A figure for people: whole numbers from 100 on, three significant digits below; "inf", "nan";
// "-" where the figure is missing.
std::string FormatValue(double value);

// The flags' marks beside a figure: "~", "!", "?"; and their words, ";"-separated.
std::string FlagMarkers(const Cell& cell);
std::string FlagWords(const Cell& cell);

// "1234 [4.2%] (+5.6% ≈) ~": the value (the median of repeats), the spread of the repeats, the
// change against the first column and whether it is within the noise, the flag markers.
std::string CellText(const Cell& cell);

// "Lower (files/s)": a row's title and unit.
std::string FigureName(const Row& row);

// The legend's lines for the marks that appear in `table`, in the order of the marks.
std::vector<std::string> Legend(const ComparisonTable& table);
