// JSON for scripts: what the file is, its format's version and the settings of the comparison;
// the columns as compared (median, range, spread, change, noise); every number of every file, per
// worker too, and its context; the caveats. Figures printed as inf or nan, and missing ones, are
// null.
#include <cmath>
#include <nlohmann/json.hpp>

#include "results/output/cell_text.h"
#include "results/output/formats.h"
#include "results/output/json_document.h"

namespace {

nlohmann::json JsonNumber(double value) {
  return std::isfinite(value) ? nlohmann::json(value) : nlohmann::json(nullptr);
}

// The rate keys of a measurement: files per second for the file-handling tests, millions of
// accesses and megabytes per second for the throughput halves.
template <typename Rates>
void AddRates(nlohmann::json& json, Measure measure, const Rates& rates) {
  if (IsCycleMeasure(measure)) {
    json["files_per_second"] = JsonNumber(rates.filesPerSecond);
  } else {
    json["millions_per_second"] = JsonNumber(rates.millionsPerSecond);
    json["megabytes_per_second"] = JsonNumber(rates.megabytesPerSecond);
  }
}

nlohmann::json FiguresJson(Measure measure, const Figures& figures) {
  nlohmann::json json;
  json["seconds"] = JsonNumber(figures.seconds);
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
    figure["improvement"] = JsonNumber(overall.improvement);
    figure["efficiency"] = JsonNumber(Efficiency(run, measure));
    json[MeasureKey(measure)] = figure;
  }
  return json;
}

// The rule of a session run until decided; null for any other comparison.
nlohmann::json SequentialJson(const SequentialSummary& sequential) {
  if (!sequential.applies) {
    return nullptr;
  }
  return {{"rule", SequentialRuleName},
          {"cap", sequential.cap},
          {"tail", sequential.pairedTail},
          {"rounds", sequential.rounds},
          {"stopped", sequential.stopped.empty() ? nlohmann::json(nullptr)
                                                 : nlohmann::json(sequential.stopped)}};
}

}  // namespace

nlohmann::ordered_json JsonDocument(const Comparison& comparison, JsonDetails details) {
  const bool all = details == JsonDetails::All;
  const std::vector<RunRecord>& runs = comparison.runs;
  const std::vector<std::string>& labels = comparison.labels;
  const std::vector<Column>& columns = comparison.columns;
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
    if (all) {
      nlohmann::json workers = nlohmann::json::array();
      for (const auto& [thread, table] : run.workers) {
        nlohmann::json worker = TableJson(table);
        worker["thread"] = thread;
        workers.push_back(worker);
      }
      file["workers"] = workers;
    }
    file["overall"] = OverallJson(run);
    nlohmann::json context =
        run.context.known ? nlohmann::json::parse(run.context.json, nullptr, false) : nullptr;
    if (context.is_object() && !all) {
      context.erase("stderr");
    }
    file["context"] = context.is_object() ? context : nlohmann::json(nullptr);
    files.push_back(file);
  }
  nlohmann::json compared = nlohmann::json::array();
  if (!runs.empty()) {
    const ComparisonTable& table = comparison.table;
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
        figures[row.key] = {
            {"median", JsonNumber(cell.value)},
            {"min", JsonNumber(cell.low)},
            {"max", JsonNumber(cell.high)},
            {"spread_percent", JsonNumber(cell.spread)},
            {"change_percent", JsonNumber(cell.change)},
            {"within_noise", cell.withinNoise},
            {"interval_percent",
             std::isnan(cell.intervalLow)
                 ? nlohmann::json(nullptr)
                 : nlohmann::json::array({cell.intervalLow, cell.intervalHigh})},
            {"verdict", cell.verdict == Verdict::None ? nlohmann::json(nullptr)
                                                      : nlohmann::json(VerdictWord(cell.verdict))},
            {"flags", FlagWords(cell)}};
      }
      column["figures"] = figures;
      compared.push_back(column);
    }
  }
  nlohmann::ordered_json caveats = nlohmann::ordered_json::array();
  for (const Caveat& caveat : comparison.caveats) {
    caveats.push_back(nlohmann::ordered_json{{"kind", CaveatKindName(caveat.kind)},
                                             {"text", caveat.text},
                                             {"figures", caveat.figures},
                                             {"columns", caveat.columns}});
  }
  // What the file is and the settings its verdicts were reached with come first.
  const nlohmann::ordered_json settings = {
      {"threshold_percent", comparison.table.thresholdPercent},
      {"confidence", comparison.table.confidence},
      {"baseline", columns.empty() ? nlohmann::json(nullptr) : nlohmann::json(columns[0].label)},
      {"interval_rule",
       comparison.table.sequential.applies ? SequentialRuleName : comparison.table.intervalRule}};
  return {{"format", JsonFormatName},
          {"format_version", JsonFormatVersion},
          {"settings", settings},
          {"columns", compared},
          {"files", files},
          {"caveats", caveats},
          {"sequential", SequentialJson(comparison.table.sequential)}};
}

std::string WriteJson(const Comparison& comparison) {
  // Names are valid UTF-8 by now; replacing what is not keeps the dump from throwing regardless.
  return JsonDocument(comparison, JsonDetails::All)
             .dump(2, ' ', false, nlohmann::json::error_handler_t::replace) +
         "\n";
}
