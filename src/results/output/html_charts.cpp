// The page's charts, inline SVG drawn in the page's palette. A headline chart per drive figure
// (the twelve that `chart` draws): a values panel (the median as a bar from zero, a whisker from
// the smallest to the largest run, every run a marker, offset so that none hides another, the
// first run hollow) and a change panel on a log-ratio axis labelled in percent (the band that
// counts as the same hatched and labelled, the 95% interval as a line with end caps, the verdict
// as a word). And a small chart per headline figure of each run's value by run number.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

#include "results/output/cell_text.h"
#include "results/output/html_parts.h"
#include "results/output/markup_text.h"
#include "results/output/palette.h"

namespace {

constexpr double Width = 500;
constexpr double LabelWidth = 132;
constexpr double PlotLeft = LabelWidth;
constexpr double PlotWidth = 270;
constexpr double PlotRight = PlotLeft + PlotWidth;
constexpr std::size_t LabelCharacters = 21;
constexpr double BarHeight = 10;
// Markers are about 7 units wide: on one row of a strip they stand at least this far apart, and
// the rows this far apart, so no marker covers another; a strip grows no taller than MaxStrip.
constexpr double MarkerStep = 7.5;
constexpr double MaxStrip = 90;
constexpr double ChangeLane = 20;
constexpr double TickSpacing = 36;
constexpr double Infinity = std::numeric_limits<double>::infinity();

// The markers, one shape per column, centred on 0,0.
constexpr const char* Shapes[SeriesCount] = {
    "M3.2 0A3.2 3.2 0 1 1-3.2 0A3.2 3.2 0 1 1 3.2 0Z",
    "M-2.9-2.9H2.9V2.9H-2.9Z",
    "M0-3.7L3.5 2.7H-3.5Z",
    "M0-3.9L3.9 0L0 3.9L-3.9 0Z",
    "M0 3.7L3.5-2.7H-3.5Z",
    "M-1.3-3.7H1.3V-1.3H3.7V1.3H1.3V3.7H-1.3V1.3H-3.7V-1.3H-1.3Z",
    "M-1.9-3.3H1.9L3.7 0L1.9 3.3H-1.9L-3.7 0Z",
    "M-3.5-2L-2-3.5L0-1.5L2-3.5L3.5-2L1.5 0L3.5 2L2 3.5L0 1.5L-2 3.5L-3.5 2L-1.5 0Z",
};

std::string Num(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

std::string Marker(std::size_t column, double x, double y, bool hollow) {
  const std::string series = std::to_string(column % SeriesCount);
  return "<use href=\"#m" + series + "\" x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" class=\"k" +
         series + (hollow ? " o" : "") + "\"/>";
}

// The markers of one column: a group that gives them its colour, each marker then only its place.
std::string MarkerGroup(std::size_t column) {
  return "<g class=\"k" + std::to_string(column % SeriesCount) + "\">";
}
std::string GroupedMarker(std::size_t column, double x, double y, bool hollow) {
  return "<use href=\"#m" + std::to_string(column % SeriesCount) + "\" x=\"" + Num(x) + "\" y=\"" +
         Num(y) + (hollow ? "\" class=\"o\"/>" : "\"/>");
}

std::string SvgText(double x, double y, const std::string& cls, const std::string& text) {
  return "<text x=\"" + Num(x) + "\" y=\"" + Num(y) + "\"" +
         (cls.empty() ? "" : " class=\"" + cls + "\"") + ">" + text + "</text>";
}

std::string Line(double x1, double y1, double x2, double y2, const char* cls) {
  return "<path d=\"M" + Num(x1) + " " + Num(y1) + "L" + Num(x2) + " " + Num(y2) + "\" class=\"" +
         cls + "\"/>";
}

// A round step for about `count` ticks up to `largest`: 1, 2, 2.5 or 5 times a power of ten.
double NiceStep(double largest, int count) {
  const double rough = largest / count;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double factor : {1.0, 2.0, 2.5, 5.0}) {
    if (factor * power >= rough) {
      return factor * power;
    }
  }
  return 10 * power;
}

// Rows of a strip for markers at `xs`: each marker on the first row where none stands within a
// marker's width of it.
std::vector<int> StripRows(const std::vector<double>& xs) {
  std::vector<std::vector<double>> rows;
  std::vector<int> placed;
  for (const double x : xs) {
    std::size_t row = 0;
    while (row < rows.size() && std::any_of(rows[row].begin(), rows[row].end(), [x](double other) {
             return std::fabs(other - x) < MarkerStep;
           })) {
      ++row;
    }
    if (row == rows.size()) {
      rows.emplace_back();
    }
    rows[row].push_back(x);
    placed.push_back(static_cast<int>(row));
  }
  return placed;
}

// The order in which each run ran, by its index into the comparison's runs.
std::map<std::size_t, std::size_t> RunNumbers(const Page& page) {
  std::map<std::size_t, std::size_t> numbers;
  for (std::size_t i = 0; i < page.runs.size(); ++i) {
    numbers[page.runs[i].run] = i + 1;
  }
  return numbers;
}

// Of a cell's values, the one of the run that ran first.
std::size_t FirstRan(const Cell& cell, const std::map<std::size_t, std::size_t>& numbers) {
  std::size_t first = 0;
  for (std::size_t i = 1; i < cell.valueRuns.size(); ++i) {
    if (numbers.at(cell.valueRuns[i]) < numbers.at(cell.valueRuns[first])) {
      first = i;
    }
  }
  return first;
}

std::string Percent(double percent) {
  char text[32];
  std::snprintf(text, sizeof text, percent == 0 ? "0%%" : "%+.0f%%", percent);
  return text;
}

struct ValuesPanel {
  std::string svg;
  std::string words;
  double height;
};

ValuesPanel DrawValues(const Page& page, const Row& row, double top) {
  const ComparisonTable& table = page.comparison.table;
  const auto numbers = RunNumbers(page);
  double largest = 0;
  for (const Cell& cell : row.cells) {
    for (const double value : {cell.value, cell.high}) {
      largest = std::isfinite(value) ? std::max(largest, value) : largest;
    }
  }
  const double step = NiceStep(largest > 0 ? largest : 1, 4);
  const double axisEnd = std::max(step, std::ceil((largest > 0 ? largest : 1) / step) * step);
  auto x = [axisEnd](double value) {
    return PlotLeft +
           std::clamp(std::isfinite(value) ? value : axisEnd, 0.0, axisEnd) / axisEnd * PlotWidth;
  };
  ValuesPanel panel{"", "", 0};
  double y = top;
  for (std::size_t c = 0; c < row.cells.size(); ++c) {
    const Cell& cell = row.cells[c];
    const std::string series = std::to_string(c % SeriesCount);
    panel.svg +=
        "<g><title>" + IsolatedXml(table.labels[c]) + ": " + EscapeXml(CellText(cell)) + "</title>";
    panel.svg += SvgText(LabelWidth - 6, y + 9, "label",
                         IsolatedXml(ShortLabel(table.labels[c], LabelCharacters)));
    if (!std::isnan(cell.value)) {
      panel.svg += "<rect x=\"" + Num(PlotLeft) + "\" y=\"" + Num(y) + "\" width=\"" +
                   Num(x(cell.value) - PlotLeft) + "\" height=\"" + Num(BarHeight) +
                   "\" class=\"bar k" + series + "\"/>";
    }
    const std::string flags = FlagMarkers(cell);
    panel.svg += SvgText(PlotRight + 6, y + 9, "value",
                         EscapeXml(FormatValue(cell.value) + (flags.empty() ? "" : " " + flags)));
    std::vector<double> xs;
    for (const double value : cell.values) {
      xs.push_back(x(value));
    }
    const std::vector<int> rows = StripRows(xs);
    const int rowCount = rows.empty() ? 1 : *std::max_element(rows.begin(), rows.end()) + 1;
    const double rowStep = std::min(MarkerStep, MaxStrip / rowCount);
    const double strip = y + BarHeight + 7;
    if (cell.values.size() > 1 && std::isfinite(cell.low) && std::isfinite(cell.high)) {
      panel.svg += "<path d=\"M" + Num(x(cell.low)) + " " + Num(strip - 3) + "v6M" +
                   Num(x(cell.low)) + " " + Num(strip) + "H" + Num(x(cell.high)) + "M" +
                   Num(x(cell.high)) + " " + Num(strip - 3) + "v6\" class=\"whisker\"/>";
    }
    const std::size_t first = FirstRan(cell, numbers);
    panel.svg += MarkerGroup(c);
    for (std::size_t i = 0; i < xs.size(); ++i) {
      panel.svg += GroupedMarker(c, xs[i], strip + rows[i] * rowStep, i == first);
    }
    panel.svg += "</g></g>\n";
    y = strip + (rowCount - 1) * rowStep + 10;
    panel.words += Isolated(table.labels[c]) + ": median " + FormatValue(cell.value);
    if (cell.values.size() > 1) {
      panel.words += ", runs from " + FormatValue(cell.low) + " to " + FormatValue(cell.high);
    }
    panel.words += "; ";
  }
  // The axis: round values from zero.
  for (int i = 0; i * step <= axisEnd * 1.0001; ++i) {
    const double tick = i * step;
    panel.svg += Line(x(tick), top - 4, x(tick), y, "grid");
    panel.svg += SvgText(x(tick), y + 11, "tick", EscapeXml(FormatValue(tick)));
  }
  panel.height = y + 16 - top;
  return panel;
}

struct ChangePanel {
  std::string svg;
  std::string words;
  std::string note;  // the sentence under the chart where some column has no interval
  double height;
};

ChangePanel DrawChanges(const Page& page, const Row& row, double top, int number) {
  const ComparisonTable& table = page.comparison.table;
  ChangePanel panel{"", "", "", 0};
  const double threshold = table.thresholdPercent;
  // The log-ratio axis reaches past every change, every bound and twice the threshold.
  double reach = std::max(std::log1p(2 * threshold / 100), std::log(1.05));
  for (std::size_t c = 1; c < row.cells.size(); ++c) {
    const Cell& cell = row.cells[c];
    for (const double percent : {cell.change, cell.intervalLow, cell.intervalHigh}) {
      if (std::isfinite(percent) && percent > -100) {
        reach = std::max(reach, std::fabs(std::log1p(percent / 100)));
      }
    }
  }
  reach *= 1.1;
  const double middle = PlotLeft + PlotWidth / 2;
  auto x = [reach, middle](double percent) {
    const double ratio = std::log(std::max(1 + percent / 100, 1e-12));
    return middle + std::clamp(ratio / reach, -1.0, 1.0) * PlotWidth / 2;
  };
  const double lanes = static_cast<double>(row.cells.size() - 1) * ChangeLane;
  const double bandTop = top + 16;
  const std::string hatch = "h" + std::to_string(number);
  panel.svg += "<defs><pattern id=\"" + hatch +
               "\" width=\"5\" height=\"5\" patternUnits=\"userSpaceOnUse\" "
               "patternTransform=\"rotate(45)\"><path d=\"M0 0V5\" class=\"hatch\"/></pattern>"
               "</defs>\n";
  panel.svg += SvgText(
      0, top + 4, "heading",
      "Change against " + IsolatedXml(ShortLabel(table.labels.front(), 40)) + " (log scale)");
  const std::string band = "\xc2\xb1" + ThresholdText(threshold) + "%";
  panel.svg += "<rect x=\"" + Num(x(-threshold)) + "\" y=\"" + Num(bandTop) + "\" width=\"" +
               Num(x(threshold) - x(-threshold)) + "\" height=\"" + Num(lanes) + "\" fill=\"url(#" +
               hatch + ")\" class=\"band\"/>";
  panel.svg += SvgText(x(threshold) + 3, bandTop - 3, "tick start", EscapeXml(band + ": the same"));
  panel.svg += Line(x(0), bandTop, x(0), bandTop + lanes, "zero");
  panel.svg += "\n";
  bool missingInterval = false;
  for (std::size_t c = 1; c < row.cells.size(); ++c) {
    const Cell& cell = row.cells[c];
    const double middleY = bandTop + static_cast<double>(c - 1) * ChangeLane + ChangeLane / 2;
    const std::string series = std::to_string(c % SeriesCount);
    panel.svg +=
        "<g><title>" + IsolatedXml(table.labels[c]) + ": " + EscapeXml(CellText(cell)) + "</title>";
    panel.svg += SvgText(LabelWidth - 6, middleY + 4, "label",
                         IsolatedXml(ShortLabel(table.labels[c], LabelCharacters)));
    panel.words += Isolated(table.labels[c]) + ": ";
    const bool interval = !std::isnan(cell.intervalLow);
    if (interval) {
      const double low = x(cell.intervalLow);
      const double high = x(cell.intervalHigh);
      panel.svg += "<path d=\"M" + Num(low) + " " + Num(middleY - 5) + "v10M" + Num(low) + " " +
                   Num(middleY) + "H" + Num(high) + "M" + Num(high) + " " + Num(middleY - 5) +
                   "v10\" class=\"interval s" + series + "\"/>";
    }
    if (std::isfinite(cell.change)) {
      panel.svg += Marker(c, x(cell.change), middleY, false);
      panel.words += ChangeText(cell.change);
    } else {
      panel.words += "no change (a figure is missing)";
    }
    std::string verdict;
    if (!cell.judged) {
      verdict = "<tspan class=\"none\">no verdict</tspan>";
      panel.words += ", no verdict (single runs)";
    } else {
      const VerdictSign& sign = SignOf(cell.verdict);
      verdict = std::string("<tspan class=\"") + VerdictWord(cell.verdict) + "\">" + sign.symbol +
                " " + sign.words + "</tspan>";
      panel.words += interval ? ", 95% interval " + BoundText(cell.intervalLow) + "% to " +
                                    BoundText(cell.intervalHigh) + "%"
                              : ", no 95% interval";
      panel.words += std::string(", ") + sign.words;
      missingInterval = missingInterval || !interval;
    }
    panel.svg += SvgText(PlotRight + 6, middleY + 4, "verdict", verdict) + "</g>\n";
    panel.words += "; ";
  }
  // Percent ticks, from 0 outwards, where they fit.
  const double axis = bandTop + lanes;
  const double candidates[] = {1,   2,   5,   10,   20,   25,   50,   100,
                               200, 400, 900, 1900, 4900, 9900, 99900};
  std::vector<double> ticks = {0};
  for (const double sign : {-1.0, 1.0}) {
    double last = x(0);
    for (const double candidate : candidates) {
      // The same ratio either way: +100% and -50%.
      const double percent = sign > 0 ? candidate : (1 / (1 + candidate / 100) - 1) * 100;
      if (std::fabs(x(percent) - middle) >= PlotWidth / 2 - 1) {
        break;
      }
      if (std::fabs(x(percent) - last) >= TickSpacing) {
        ticks.push_back(percent);
        last = x(percent);
      }
    }
  }
  for (const double tick : ticks) {
    panel.svg += Line(x(tick), axis, x(tick), axis + 3, "grid");
    panel.svg += SvgText(x(tick), axis + 13, "tick", EscapeXml(Percent(tick)));
  }
  // Where a column has no interval, the caveat that says why, as every output words it.
  for (const Caveat& caveat : page.comparison.caveats) {
    const bool here =
        std::find(caveat.figures.begin(), caveat.figures.end(), row.key) != caveat.figures.end();
    if (missingInterval && here && caveat.kind == CaveatKind::TooFewRuns) {
      panel.note = caveat.text;
    }
  }
  panel.height = axis + 18 - top;
  return panel;
}

std::string HeadlineChart(const Page& page, const Row& row, int number) {
  const ComparisonTable& table = page.comparison.table;
  const std::string id = std::to_string(number);
  const ValuesPanel values = DrawValues(page, row, 8);
  std::string words = FigureName(row) + ". " + values.words;
  std::string body = values.svg;
  double height = 8 + values.height;
  std::string note;
  if (table.labels.size() > 1) {
    const ChangePanel changes = DrawChanges(page, row, height + 10, number);
    body += changes.svg;
    height += 10 + changes.height;
    words += "Change against " + Isolated(table.labels.front()) + ": " + changes.words;
    note = changes.note;
  }
  std::string html = "<figure class=\"headline\" data-key=\"" + Text(row.key) +
                     "\">\n<figcaption>" + Text(FigureName(row)) + "</figcaption>\n";
  html += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" role=\"img\" viewBox=\"0 0 " +
          Num(Width) + " " + Num(height) + "\" aria-labelledby=\"ct" + id + " cd" + id +
          "\">\n<title id=\"ct" + id + "\">" + Text(FigureName(row)) + "</title>\n<desc id=\"cd" +
          id + "\">" + EscapeXml(words) + "</desc>\n" + body + "</svg>\n";
  if (!note.empty()) {
    html += "<p class=\"note\">" + TextWithNames(note, table.labels) + "</p>\n";
  }
  return html + "</figure>\n";
}

}  // namespace

std::string MarkerDefinitions() {
  std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"defs\" width=\"0\" height=\"0\" "
      "aria-hidden=\"true\"><defs>";
  for (std::size_t i = 0; i < SeriesCount; ++i) {
    svg += "<path id=\"m" + std::to_string(i) + "\" d=\"" + Shapes[i] + "\"/>";
  }
  return svg + "</defs></svg>\n";
}

std::string ChartsSection(const Page& page) {
  std::string html =
      "<section id=\"charts\">\n<h2>The headline figures</h2>\n<div class=\"charts\">\n";
  int number = 0;
  for (const HeadlineTwins& twins : Headlines(page.comparison.table)) {
    html += HeadlineChart(page, *twins.single, ++number);
    html += HeadlineChart(page, *twins.allWorkers, ++number);
  }
  return html + "</div>\n</section>\n";
}

std::string RunOrderChart(const Page& page, const Row& row, std::size_t number) {
  constexpr double ChartWidth = 320;
  constexpr double Left = 52;
  constexpr double Right = 312;
  constexpr double Top = 8;
  constexpr double Bottom = 104;
  const auto numbers = RunNumbers(page);
  // Each run's value in the order the runs ran, with its column.
  struct Point {
    std::size_t order;
    std::size_t column;
    double value;
    bool first;
  };
  std::vector<Point> points;
  double low = Infinity;
  double high = -Infinity;
  std::string words = FigureName(row) + " by run, in the order the runs ran: ";
  for (std::size_t c = 0; c < row.cells.size(); ++c) {
    const Cell& cell = row.cells[c];
    const std::size_t first = FirstRan(cell, numbers);
    double othersLow = Infinity;
    double othersHigh = -Infinity;
    for (std::size_t i = 0; i < cell.values.size(); ++i) {
      if (!std::isfinite(cell.values[i])) {
        continue;
      }
      points.push_back({numbers.at(cell.valueRuns[i]), c, cell.values[i], i == first});
      low = std::min(low, cell.values[i]);
      high = std::max(high, cell.values[i]);
      if (i != first) {
        othersLow = std::min(othersLow, cell.values[i]);
        othersHigh = std::max(othersHigh, cell.values[i]);
      }
    }
    words += Isolated(page.comparison.table.labels[c]) + ": ";
    words += cell.values.empty() ? "no run" : "first run " + FormatValue(cell.values[first]);
    if (std::isfinite(othersLow)) {
      words += ", the others from " + FormatValue(othersLow) + " to " + FormatValue(othersHigh);
    }
    words += "; ";
  }
  if (points.empty()) {
    low = 0;
    high = 1;
  }
  const double pad = high > low ? (high - low) * 0.08 : std::max(std::fabs(high) * 0.05, 1.0);
  low -= pad;
  high += pad;
  const double count = static_cast<double>(page.runs.size());
  auto x = [&](std::size_t order) {
    return Left + (static_cast<double>(order) - 0.5) / count * (Right - Left);
  };
  auto y = [&](double value) { return Bottom - (value - low) / (high - low) * (Bottom - Top); };
  const std::string id = "r" + std::to_string(number);
  std::string svg = "<figure class=\"by-run\">\n<figcaption>" + Text(FigureName(row)) +
                    "</figcaption>\n<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"chart\" "
                    "role=\"img\" viewBox=\"0 0 " +
                    Num(ChartWidth) + " 124\" aria-labelledby=\"" + id + "t " + id +
                    "d\">\n<title id=\"" + id + "t\">" + Text(FigureName(row)) +
                    " by run</title>\n<desc id=\"" + id + "d\">" + EscapeXml(words) + "</desc>\n";
  svg += "<path d=\"M" + Num(Left) + " " + Num(Top) + "V" + Num(Bottom) + "H" + Num(Right) +
         "\" class=\"axis\"/>\n";
  for (const double value : {low + pad, high - pad}) {
    svg += SvgText(Left - 4, y(value) + 4, "label", EscapeXml(FormatValue(value)));
    svg += Line(Left - 3, y(value), Left, y(value), "grid");
  }
  svg += SvgText(x(1), Bottom + 13, "tick", "1");
  if (page.runs.size() > 1) {
    svg += SvgText(x(page.runs.size()), Bottom + 13, "tick", std::to_string(page.runs.size()));
  }
  svg += SvgText((Left + Right) / 2, Bottom + 13, "tick", "run");
  svg += "\n";
  for (std::size_t c = 0; c < row.cells.size(); ++c) {
    svg += MarkerGroup(c);
    for (const Point& point : points) {
      svg += point.column == c ? GroupedMarker(c, x(point.order), y(point.value), point.first) : "";
    }
    svg += "</g>";
  }
  return svg + "\n</svg>\n</figure>\n";
}
