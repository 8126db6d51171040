// The runs in the order they ran, each with its start, column, directory, time taken, exit status,
// flags and file; then each headline figure by run number, which shows drift or a slow first run.
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "results/output/html_parts.h"
#include "results/record/text_safety.h"

namespace {

// A text field of the context, controls escaped; "" where it is not a text.
std::string ContextText(const nlohmann::json& context, const char* key) {
  return context.is_object() && context.contains(key) && context[key].is_string()
             ? EscapeControls(context[key].get<std::string>())
             : "";
}

bool ContextNumber(const nlohmann::json& context, const char* key, double& number) {
  if (!context.is_object() || !context.contains(key) || !context[key].is_number()) {
    return false;
  }
  number = context[key].get<double>();
  return std::isfinite(number);
}

std::string Directory(const RunRecord& run, const nlohmann::json& context) {
  const std::string directory = ContextText(context, "directory");
  return directory.empty()
             ? EscapeControls(std::filesystem::u8path(run.path).parent_path().u8string())
             : directory;
}

std::string Seconds(const nlohmann::json& context) {
  double seconds = 0;
  if (!ContextNumber(context, "wall_seconds", seconds)) {
    return "-";
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", seconds);
  return text;
}

std::string ExitStatus(const nlohmann::json& context) {
  double number = 0;
  if (ContextNumber(context, "exit_status", number)) {
    return std::to_string(std::llround(number));
  }
  if (ContextNumber(context, "signal", number)) {
    return "signal " + std::to_string(std::llround(number));
  }
  return "-";
}

// What went wrong in the run, in words; "" for a whole, quiet run.
std::string RunFlags(const RunRecord& run, const nlohmann::json& context) {
  std::vector<std::string> flags;
  if (!run.complete) {
    flags.emplace_back("cut short");
  }
  if (run.context.interrupted()) {
    flags.emplace_back("interrupted");
  }
  const std::string cutOff = ContextText(context, "cut_off");
  if (!cutOff.empty()) {
    flags.push_back(cutOff);
  }
  bool warned = false;
  for (const Figures& figures : run.single) {
    warned = warned || figures.warned;
  }
  for (const auto& worker : run.workers) {
    for (const Figures& figures : worker.second) {
      warned = warned || figures.warned;
    }
  }
  if (warned) {
    flags.emplace_back("file operations failed");
  }
  std::string text;
  for (const std::string& flag : flags) {
    text += (text.empty() ? "" : "; ") + flag;
  }
  return text;
}

}  // namespace

std::string RunsSection(const Page& page) {
  const Comparison& comparison = page.comparison;
  std::string html =
      "<section id=\"runs\">\n<h2>The runs in the order they ran</h2>\n<div class=\"scroll\">"
      "<table class=\"runs\">\n<thead><tr><th scope=\"col\">run</th><th scope=\"col\">started</th>"
      "<th scope=\"col\">column</th><th scope=\"col\">directory</th><th scope=\"col\">seconds</th>"
      "<th scope=\"col\">exit status</th><th scope=\"col\">flags</th><th scope=\"col\">file</th>"
      "</tr></thead>\n<tbody>\n";
  for (std::size_t i = 0; i < page.runs.size(); ++i) {
    const PageRun& run = page.runs[i];
    const RunRecord& record = comparison.runs[run.run];
    const std::string flags = RunFlags(record, run.context);
    html += "<tr" + std::string(flags.empty() ? "" : " class=\"flagged\"") + "><td class=\"n\">" +
            std::to_string(i + 1) + "</td><td>" + (run.started.empty() ? "-" : Text(run.started)) +
            "</td><td>" + ColumnKey(run.column) + " " + Name(comparison.columns[run.column].label) +
            "</td><td>" + Name(Directory(record, run.context)) + "</td><td class=\"n\">" +
            Seconds(run.context) + "</td><td class=\"n\">" + ExitStatus(run.context) + "</td><td>" +
            Text(flags) + "</td><td class=\"file\">" + Name(record.path) + "</td></tr>\n";
  }
  html +=
      "</tbody>\n</table></div>\n<h3>Each headline figure by run</h3>\n"
      "<p>Every run a marker in its column's shape, the first run of each column hollow: a "
      "drift over time or a slow first run shows here.</p>\n<div class=\"runcharts\">\n";
  std::size_t number = 0;
  for (const HeadlineTwins& twins : Headlines(comparison.table)) {
    html += RunOrderChart(page, *twins.single, ++number);
    html += RunOrderChart(page, *twins.allWorkers, ++number);
  }
  return html + "</div>\n</section>\n";
}
