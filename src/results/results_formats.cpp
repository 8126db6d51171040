#include "results/results_formats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "results/text_safety.h"

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

// "1234 (+5.6%) ~": the value, its change against the first column, the flag markers.
std::string CellText(const Cell& cell) {
  std::string text = FormatValue(cell.value);
  const std::string change = FormatChange(cell.change);
  if (!change.empty()) {
    text += " (" + change + ")";
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
  for (const Row& row : table.rows) {
    for (const Cell& cell : row.cells) {
      shortSpan = shortSpan || cell.shortSpan;
      warned = warned || cell.warned;
      incomplete = incomplete || cell.incomplete;
    }
  }
  std::vector<std::string> legend;
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

std::string FormatCsv(const ComparisonTable& table, const std::vector<RunRecord>& runs) {
  std::string text = "key,figure,unit,label,file,value,change_percent,flags\n";
  for (const Row& row : table.rows) {
    for (std::size_t column = 0; column < row.cells.size(); ++column) {
      const Cell& cell = row.cells[column];
      text += CsvField(row.key) + "," + CsvField(row.title) + "," + CsvField(row.unit) + "," +
              CsvField(table.labels[column]) + "," + CsvField(runs[column].path) + "," +
              CsvNumber(cell.value) + "," + CsvNumber(cell.change) + "," + FlagWords(cell) + "\n";
    }
  }
  return text;
}

std::string FormatJson(const std::vector<RunRecord>& runs, const std::vector<std::string>& labels) {
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
    files.push_back(file);
  }
  // Names are valid UTF-8 by now; replacing what is not keeps the dump from throwing regardless.
  return nlohmann::json{{"files", files}}.dump(2, ' ', false,
                                               nlohmann::json::error_handler_t::replace) +
         "\n";
}

namespace {

// With nothing read there is no table: text and Markdown show nothing, CSV its header line and
// JSON an empty list of files, so scripts still parse what they get.
template <std::string (*Write)(const ComparisonTable&)>
std::string TableWriter(const std::vector<RunRecord>& runs,
                        const std::vector<std::string>& labels) {
  return runs.empty() ? std::string() : Write(BuildTable(runs, labels));
}

std::string CsvWriter(const std::vector<RunRecord>& runs, const std::vector<std::string>& labels) {
  return FormatCsv(BuildTable(runs, labels), runs);
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
