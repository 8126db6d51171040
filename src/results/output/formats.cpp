#include "results/output/formats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "results/record/text_safety.h"

namespace {

std::string FormatChange(double change) {
  if (std::isnan(change)) {
    return "";
  }
  char text[64];
  std::snprintf(text, sizeof text, std::fabs(change) < 1e6 ? "%+.1f%%" : "%+.3g%%", change);
  return text;
}

}  // namespace

std::string FlagMarkers(const Cell& cell) {
  std::string markers;
  if (cell.shortSpan) {
    markers += "~";
  }
  if (cell.warned) {
    markers += "!";
  }
  if (cell.incomplete) {
    markers += "?";
  }
  return markers;
}

namespace {

std::string FlagWords(const Cell& cell) {
  std::string words;
  auto add = [&words](bool set, const char* word) {
    if (set) {
      words += (words.empty() ? "" : ";") + std::string(word);
    }
  };
  add(cell.shortSpan, "short");
  add(cell.warned, "warning");
  add(cell.incomplete, "incomplete");
  return words;
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

// "1234 [4.2%] (+5.6% ≈) ~": the value (the median of repeats), the spread of the repeats, the
// change against the first column and whether it is within the noise, the flag markers.
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

std::vector<std::string> Legend(const ComparisonTable& table) {
  bool shortSpan = false;
  bool warned = false;
  bool incomplete = false;
  bool spread = false;
  bool noise = false;
  for (const Row& row : table.rows) {
    for (const Cell& cell : row.cells) {
      shortSpan = shortSpan || cell.shortSpan;
      warned = warned || cell.warned;
      incomplete = incomplete || cell.incomplete;
      spread = spread || !std::isnan(cell.spread);
      noise = noise || cell.withinNoise;
    }
  }
  std::vector<std::string> legend;
  if (spread) {
    legend.push_back(
        "[n%] repeats: the median, and the spread of the runs (largest minus smallest) as a "
        "percentage of it");
  }
  if (noise) {
    legend.push_back(std::string(NoiseMark) +
                     " within the noise: the runs of the two columns overlap, from smallest to "
                     "largest");
  }
  if (shortSpan) {
    legend.push_back("~ timed in under 10 ms: one shot, too short to trust");
  }
  if (warned) {
    legend.push_back("! the console warned that file operations failed: not a drive speed");
  }
  if (incomplete) {
    legend.push_back("? the run was cut short before this figure");
  }
  return legend;
}

std::string Figure(const Row& row) {
  return row.unit.empty() ? row.title : row.title + " (" + row.unit + ")";
}

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

nlohmann::json Number(double value) {
  return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

// The rate keys of a measurement: files per second for the file-handling tests, millions of
// accesses and megabytes per second for the throughput halves.
template <typename Rates>
void AddRates(nlohmann::json& json, Measure measure, const Rates& rates) {
  if (IsCycleMeasure(measure)) {
    json["files_per_second"] = Number(rates.filesPerSecond);
  } else {
    json["millions_per_second"] = Number(rates.millionsPerSecond);
    json["megabytes_per_second"] = Number(rates.megabytesPerSecond);
  }
}

nlohmann::json FiguresJson(Measure measure, const Figures& figures) {
  nlohmann::json json;
  json["seconds"] = Number(figures.seconds);
  AddRates(json, measure, figures);
  json["warning"] = figures.warned;
  return json;
}

nlohmann::json TableJson(const MeasureTable& table) {
  nlohmann::json json = nlohmann::json::object();
  for (const Measure measure : AllMeasures) {
    const Figures& figures = table[Index(measure)];
    if (figures.present) {
      json[MeasureKey(measure)] = FiguresJson(measure, figures);
    }
  }
  return json;
}

nlohmann::json OverallJson(const RunRecord& run) {
  nlohmann::json json = nlohmann::json::object();
  for (const Measure measure : AllMeasures) {
    const OverallFigures& overall = run.overall[Index(measure)];
    if (!overall.present) {
      continue;
    }
    nlohmann::json figure;
    AddRates(figure, measure, overall);
    figure["improvement"] = Number(overall.improvement);
    figure["efficiency"] = Number(overall.improvement / run.threads);
    json[MeasureKey(measure)] = figure;
  }
  return json;
}

}  // namespace

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

std::string FormatText(const ComparisonTable& table) {
  std::vector<std::vector<std::string>> lines;
  lines.push_back({"figure"});
  lines.back().insert(lines.back().end(), table.labels.begin(), table.labels.end());
  for (const ContextRow& row : table.context) {
    lines.push_back({row.title});
    lines.back().insert(lines.back().end(), row.values.begin(), row.values.end());
  }
  for (const Row& row : table.rows) {
    lines.push_back({Figure(row)});
    for (const Cell& cell : row.cells) {
      lines.back().push_back(CellText(cell));
    }
  }
  std::vector<std::size_t> widths(table.labels.size() + 1, 0);
  for (const auto& line : lines) {
    for (std::size_t column = 0; column < line.size(); ++column) {
      widths[column] = std::max(widths[column], CharacterCount(line[column]));
    }
  }
  std::string text;
  for (const auto& line : lines) {
    std::string out;
    for (std::size_t column = 0; column < line.size(); ++column) {
      const std::string& field = line[column];
      const std::string pad(widths[column] - CharacterCount(field), ' ');
      // The figure names are aligned left, the numbers right.
      if (column == 0) {
        out += field;
        out += pad;
      } else {
        out += "  ";
        out += pad;
        out += field;
      }
    }
    text += out + "\n";
  }
  for (const std::string& legend : Legend(table)) {
    text += legend + "\n";
  }
  return text;
}

std::string FormatMarkdown(const ComparisonTable& table) {
  auto escape = [](const std::string& text) {
    std::string escaped;
    for (const char c : text) {
      // A line end would end the table row.
      escaped += c == '|' ? std::string("\\|") : c == '\n' || c == '\r' ? " " : std::string(1, c);
    }
    return escaped;
  };
  std::string text = "| figure |";
  std::string rule = "|---|";
  for (const std::string& label : table.labels) {
    text += " " + escape(label) + " |";
    rule += "---:|";
  }
  text += "\n" + rule + "\n";
  for (const ContextRow& row : table.context) {
    text += "| " + escape(row.title) + " |";
    for (const std::string& value : row.values) {
      text += " " + escape(value) + " |";
    }
    text += "\n";
  }
  for (const Row& row : table.rows) {
    text += "| " + escape(Figure(row)) + " |";
    for (const Cell& cell : row.cells) {
      text += " " + escape(CellText(cell)) + " |";
    }
    text += "\n";
  }
  const auto legend = Legend(table);
  if (!legend.empty()) {
    text += "\n";
    for (const std::string& line : legend) {
      text += "- " + escape(line) + "\n";
    }
  }
  return text;
}

std::string FormatCsv(const ComparisonTable& table, const std::vector<RunRecord>& runs,
                      const std::vector<Column>& columns) {
  std::string text =
      "key,figure,unit,label,file,value,change_percent,flags,runs,low,high,spread_percent,"
      "within_noise\n";
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
              ",,,,\n";
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
              (column == 0        ? ""
               : cell.withinNoise ? "yes"
                                  : "no") +
              "\n";
    }
  }
  return text;
}

std::string FormatJson(const std::vector<RunRecord>& runs, const std::vector<std::string>& labels,
                       const std::vector<Column>& columns) {
  nlohmann::json files = nlohmann::json::array();
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const RunRecord& run = runs[i];
    nlohmann::json file;
    file["file"] = run.path;
    file["label"] = labels[i];
    file["kind"] = run.transcript ? "console" : "results";
    file["date"] = run.date.empty() ? nlohmann::json(nullptr) : nlohmann::json(run.date);
    file["time"] = run.time.empty() ? nlohmann::json(nullptr) : nlohmann::json(run.time);
    file["complete"] = run.complete;
    file["threads"] = run.threads;
    file["capped"] = run.capped;
    file["single"] = TableJson(run.single);
    nlohmann::json workers = nlohmann::json::array();
    for (const auto& [thread, table] : run.workers) {
      nlohmann::json worker = TableJson(table);
      worker["thread"] = thread;
      workers.push_back(worker);
    }
    file["workers"] = workers;
    file["overall"] = OverallJson(run);
    const nlohmann::json context =
        run.context.known ? nlohmann::json::parse(run.context.json, nullptr, false) : nullptr;
    file["context"] = context.is_object() ? context : nlohmann::json(nullptr);
    files.push_back(file);
  }
  nlohmann::json compared = nlohmann::json::array();
  if (!runs.empty()) {
    const ComparisonTable table = BuildTable(runs, columns);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      nlohmann::json column;
      column["label"] = columns[c].label;
      column["files"] = nlohmann::json::array();
      for (const std::size_t run : columns[c].runs) {
        column["files"].push_back(runs[run].path);
      }
      nlohmann::json figures = nlohmann::json::object();
      for (const Row& row : table.rows) {
        const Cell& cell = row.cells[c];
        figures[row.key] = {{"median", Number(cell.value)},
                            {"min", Number(cell.low)},
                            {"max", Number(cell.high)},
                            {"spread_percent", Number(cell.spread)},
                            {"change_percent", Number(cell.change)},
                            {"within_noise", cell.withinNoise},
                            {"flags", FlagWords(cell)}};
      }
      column["figures"] = figures;
      compared.push_back(column);
    }
  }
  // Names are valid UTF-8 by now; replacing what is not keeps the dump from throwing regardless.
  return nlohmann::json{{"files", files}, {"columns", compared}}.dump(
             2, ' ', false, nlohmann::json::error_handler_t::replace) +
         "\n";
}

namespace {

// With nothing read there is no table: text and Markdown show nothing, CSV its header line and
// JSON an empty list of files, so scripts still parse what they get.
template <std::string (*Write)(const ComparisonTable&)>
std::string TableWriter(const std::vector<RunRecord>& runs, const std::vector<std::string>&,
                        const std::vector<Column>& columns) {
  return runs.empty() ? std::string() : Write(BuildTable(runs, columns));
}

std::string CsvWriter(const std::vector<RunRecord>& runs, const std::vector<std::string>&,
                      const std::vector<Column>& columns) {
  return FormatCsv(BuildTable(runs, columns), runs, columns);
}

}  // namespace

const std::vector<NamedFormat>& OutputFormats() {
  static const std::vector<NamedFormat> formats = {{"text", TableWriter<FormatText>},
                                                   {"markdown", TableWriter<FormatMarkdown>},
                                                   {"csv", CsvWriter},
                                                   {"json", FormatJson}};
  return formats;
}

const NamedFormat* FindFormat(const std::string& name) {
  for (const NamedFormat& format : OutputFormats()) {
    if (name == format.name) {
      return &format;
    }
  }
  return nullptr;
}
