// The parts of the HTML page (`--format html`), each written from the one prepared comparison.
// The page is one file: no script, nothing loaded, every text escaped once where it enters, and
// well-formed XML as well as HTML, so an XML parser can check it whole.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "results/output/comparison.h"

// A run of the comparison as the page lists it.
struct PageRun {
  std::size_t run;         // into the comparison's runs
  std::size_t column;      // the column it belongs to
  std::string started;     // "2026-12-09 07:32:35" (its context, else its file name); "" unknown
  nlohmann::json context;  // its context file, null without one
};

// What every part reads: the comparison, and its runs in the order they ran.
struct Page {
  const Comparison& comparison;
  std::vector<PageRun> runs;  // in the order they ran; runs without a time last, in file order
};

Page PreparePage(const Comparison& comparison);

// Text for element content and attribute values.
std::string Text(const std::string& text);
// A name from a file or the command line, isolated from the direction of the text around it.
std::string Name(const std::string& text);
// A line that names columns ("b (5 runs): 12 faster, ...", a caveat), each of the `names` in it
// isolated as a name and the rest escaped as text.
std::string TextWithNames(const std::string& line, const std::vector<std::string>& names);
// The column's marker shape in its colour, for the legend beside its name.
std::string ColumnKey(std::size_t column);
// "▲ faster" in the verdict's colour; "" for no verdict.
std::string VerdictBadge(Verdict verdict);
// The flags' marks beside a figure, each with its meaning as a tooltip.
std::string FlagBadges(const Cell& cell);

// The page's sections, in their order on the page.
std::string CardsSection(const Page& page);
std::string CareSection(const Page& page);
std::string ContextSection(const Page& page);
std::string FiguresSection(const Page& page);
std::string ChartsSection(const Page& page);
std::string RunsSection(const Page& page);

// The markers' shapes, defined once for every chart of the page.
std::string MarkerDefinitions();
// A chart of each run's figure by run number, in the order the runs ran.
std::string RunOrderChart(const Page& page, const Row& row, std::size_t number);

// The style sheet: the palette for a light and a dark theme, the layout, the filters, print.
std::string StyleSheet();
