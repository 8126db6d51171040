// The table that every tabular format shows, built once: a line of the column labels, the lines
// of where the runs were measured, a line per figure; then the notes under it (the verdicts'
// counts, the caveats and the legend). Text, Markdown and the page's table only say how a line
// looks.
#pragma once

#include <string>
#include <vector>

#include "results/output/comparison.h"

enum class GridLineKind { Labels, Context, Figure };

struct GridLine {
  GridLineKind kind;
  std::string key;                 // the CSV key of a context or figure line; empty for labels
  std::vector<std::string> cells;  // the line's name, then one text per column
  const Row* row;                  // a figure line's row; nullptr for the others
};

struct Grid {
  std::vector<GridLine> lines;
  std::vector<std::string> counts;   // the verdicts' counts, a line per later column
  std::vector<std::string> caveats;  // what to keep in mind, a line each
  std::vector<std::string> legend;   // the marks that appear, and the rule of the verdicts
  std::vector<std::string> notes;    // all three in that order, as the text formats show them
};

// Empty (no lines, no notes) when no run was read.
Grid BuildGrid(const Comparison& comparison);
