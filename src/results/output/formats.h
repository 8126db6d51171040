// The outputs of `show`: aligned text for a terminal, and Markdown, CSV and JSON for documents
// and scripts. The README documents the CSV columns and the JSON keys.
#pragma once

#include <string>
#include <vector>

#include "results/comparing/comparison_table.h"
#include "results/record/run_record.h"

// A figure for people: whole numbers from 100 on, three significant digits below; "inf", "nan";
// "-" where the figure is missing.
std::string FormatValue(double value);

// The flags beside a figure: "~" a timed span under 10 ms, "!" a failure warning, "?" cut short.
std::string FlagMarkers(const Cell& cell);

std::string FormatText(const ComparisonTable& table);
std::string FormatMarkdown(const ComparisonTable& table);
std::string FormatCsv(const ComparisonTable& table, const std::vector<RunRecord>& runs,
                      const std::vector<Column>& columns);
// Every number of every file, per worker too, and its context; then the columns as compared
// (median, range, spread, change, noise). Figures printed as inf or nan, and missing ones, are
// null.
std::string FormatJson(const std::vector<RunRecord>& runs, const std::vector<std::string>& labels,
                       const std::vector<Column>& columns);

// The mark of a change within the noise.
inline constexpr const char* NoiseMark = "\xe2\x89\x88";  // ≈

// The formats `show` writes, by name, each from the runs read, their own labels and the columns
// they are compared in; the command line takes its allowed values from here. Text, the default,
// comes first.
using FormatWriter = std::string (*)(const std::vector<RunRecord>& runs,
                                     const std::vector<std::string>& labels,
                                     const std::vector<Column>& columns);
struct NamedFormat {
  const char* name;
  FormatWriter write;
};
const std::vector<NamedFormat>& OutputFormats();
// nullptr for a name that is no format.
const NamedFormat* FindFormat(const std::string& name);
