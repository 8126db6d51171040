// CSV for scripts: one line per figure and column, old columns first and new ones appended, so
// scripts that read the earlier columns keep working. The context lines come first, keyed
// context.*, and the caveats last, keyed caveat.KIND.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "results/output/cell_text.h"
#include "results/output/formats.h"

namespace {

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    return text;
  }
  std::string quoted = "\"";
  for (const char c : text) {
    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  }
  return quoted + "\"";
}

std::string CsvNumber(double value) {
  if (std::isnan(value)) {
    return "";
  }
  if (std::isinf(value)) {
    return value > 0 ? "inf" : "-inf";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

// An interval's bound in percent, to two decimals whatever its size.
std::string CsvPercent(double value) {
  if (!std::isfinite(value)) {
    return CsvNumber(value);
  }
  char text[64];
  std::snprintf(text, sizeof text, std::fabs(value) < 1e12 ? "%.2f" : "%.3e", value);
  return text;
}

}  // namespace

std::string WriteCsv(const Comparison& comparison) {
  const ComparisonTable& table = comparison.table;
  const std::vector<RunRecord>& runs = comparison.runs;
  const std::vector<Column>& columns = comparison.columns;
  std::string text =
      "key,figure,unit,label,file,value,change_percent,flags,runs,low,high,spread_percent,"
      "within_noise,ci_low_percent,ci_high_percent,verdict\n";
  // A column of repeats names its files one after the other.
  std::vector<std::string> files;
  for (const Column& column : columns) {
    std::string names;
    for (const std::size_t run : column.runs) {
      names += (names.empty() ? "" : ";") + runs[run].path;
    }
    files.push_back(CsvField(names));
  }
  for (const ContextRow& row : table.context) {
    for (std::size_t column = 0; column < row.values.size(); ++column) {
      text += CsvField(row.key) + "," + CsvField(row.title) + ",," +
              CsvField(table.labels[column]) + "," + files[column] + "," +
              CsvField(row.values[column]) + ",,," + std::to_string(columns[column].runs.size()) +
              ",,,,,,,\n";
    }
  }
  for (const Row& row : table.rows) {
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      const Cell& cell = row.cells[column];
      text += CsvField(row.key) + "," + CsvField(row.title) + "," + CsvField(row.unit) + "," +
              CsvField(table.labels[column]) + "," + files[column] + "," + CsvNumber(cell.value) +
              "," + CsvNumber(cell.change) + "," + FlagWords(cell) + "," +
              std::to_string(cell.runs) + "," + CsvNumber(cell.low) + "," + CsvNumber(cell.high) +
              "," + CsvNumber(cell.spread) + "," +
              (!cell.judged       ? ""
               : cell.withinNoise ? "yes"
                                  : "no") +
              "," + CsvPercent(cell.intervalLow) + "," + CsvPercent(cell.intervalHigh) + "," +
              VerdictWord(cell.verdict) + "\n";
    }
  }
  // Each caveat once per column it concerns: the keys of its figures, its text as the value.
  for (const Caveat& caveat : comparison.caveats) {
    std::string figures;
    for (const std::string& key : caveat.figures) {
      figures += (figures.empty() ? "" : ";") + key;
    }
    for (std::size_t column = 0; column < columns.size(); ++column) {
      if (std::find(caveat.columns.begin(), caveat.columns.end(), table.labels[column]) !=
          caveat.columns.end()) {
        text += CsvField(std::string("caveat.") + CaveatKindName(caveat.kind)) + "," +
                CsvField(figures) + ",," + CsvField(table.labels[column]) + "," + files[column] +
                "," + CsvField(caveat.text) + ",,," + std::to_string(columns[column].runs.size()) +
                ",,,,,,,\n";
      }
    }
  }
  return text;
}
