// Where the runs were measured: the context of each column side by side, the rows that differ
// first, marked by a symbol and bold type and named in one sentence, the rows that agree folded
// away. The rows of the comparison's table come first, then more of the context files.
#include <cmath>
#include <cstdio>

#include "results/output/html_parts.h"
#include "results/record/text_safety.h"

namespace {

// More of the context file than the comparison's table shows, as people name it.
struct ExtraField {
  const char* key;
  const char* title;
  bool bytes;  // a size in bytes
};
constexpr ExtraField ExtraFields[] = {
    {"directory", "directory", false},
    {"mount_point", "mount point", false},
    {"mount_source", "mount source", false},
    {"mount_options", "mount options", false},
    {"bus_type", "bus", false},
    {"vendor", "vendor", false},
    {"size_bytes", "file system size", true},
    {"free_bytes", "free before the run", true},
    {"host", "machine", false},
    {"os", "operating system", false},
    {"kernel", "kernel", false},
    {"cpu_model", "processor", false},
    {"logical_cpus", "logical processors", false},
    {"memory_bytes", "memory", true},
    {"omp_num_threads", "OMP_NUM_THREADS", false},
    {"benchmark_version", "benchmark version", false},
};

// "252 GiB".
std::string Bytes(double bytes) {
  const char* units[] = {"bytes", "KiB", "MiB", "GiB", "TiB", "PiB"};
  int unit = 0;
  while (bytes >= 1024 && unit < 5) {
    bytes /= 1024;
    ++unit;
  }
  char text[48];
  std::snprintf(text, sizeof text, unit == 0 || bytes >= 100 ? "%.0f %s" : "%.3g %s", bytes,
                units[unit]);
  return text;
}

// A field of a context file for people; "-" where it is not told.
std::string FieldText(const nlohmann::json& context, const ExtraField& field) {
  if (!context.is_object() || !context.contains(field.key)) {
    return "-";
  }
  const nlohmann::json& value = context[field.key];
  if (value.is_string()) {
    return EscapeControls(value.get<std::string>());
  }
  if (value.is_boolean()) {
    return value.get<bool>() ? "yes" : "no";
  }
  if (value.is_number() && std::isfinite(value.get<double>())) {
    if (field.bytes) {
      return Bytes(value.get<double>());
    }
    char text[32];
    std::snprintf(text, sizeof text, "%g", value.get<double>());
    return value.is_number_integer() || value.is_number_unsigned() ? value.dump() : text;
  }
  return "-";
}

struct ContextLine {
  std::string key;    // "context.file_system"
  std::string title;  // "file system"
  std::vector<std::string> values;
};

bool Agree(const ContextLine& line) {
  for (const std::string& value : line.values) {
    if (value != line.values.front()) {
      return false;
    }
  }
  return true;
}

std::vector<ContextLine> ContextLines(const Page& page) {
  const Comparison& comparison = page.comparison;
  std::vector<ContextLine> lines;
  for (const ContextRow& row : comparison.table.context) {
    lines.push_back({row.key, row.title, row.values});
  }
  // A column's value is its first run's; where its runs differ, the page says so.
  std::vector<std::vector<const nlohmann::json*>> contexts(comparison.columns.size());
  for (const PageRun& run : page.runs) {
    contexts[run.column].push_back(&run.context);
  }
  for (const ExtraField& field : ExtraFields) {
    ContextLine line{std::string("context.") + field.key, field.title, {}};
    bool told = false;
    for (std::size_t c = 0; c < comparison.columns.size(); ++c) {
      std::string value = "-";
      bool varies = false;
      for (std::size_t i = 0; i < contexts[c].size(); ++i) {
        const std::string text = FieldText(*contexts[c][i], field);
        varies = varies || (i > 0 && text != value);
        value = i == 0 ? text : value;
      }
      told = told || value != "-";
      line.values.push_back(varies ? value + " (varies between its runs)" : value);
    }
    if (told) {
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

std::string LineRow(const ContextLine& line, bool differs) {
  std::string html = std::string("<tr data-key=\"") + Text(line.key) + "\"" +
                     (differs ? " class=\"differs\"" : "") + "><th scope=\"row\">" +
                     (differs ? "<span class=\"sym\">\xe2\x89\xa0</span> " : "") +
                     Text(line.title) + "</th>";
  for (const std::string& value : line.values) {
    html += "<td>" + Name(value) + "</td>";
  }
  return html + "</tr>\n";
}

}  // namespace

std::string ContextSection(const Page& page) {
  const ComparisonTable& table = page.comparison.table;
  const std::vector<ContextLine> lines = ContextLines(page);
  std::string html = "<section id=\"where\">\n<h2>Where it was measured</h2>\n";
  if (lines.empty()) {
    return html +
           "<p>No run has a context file (<code>run</code> writes one beside each results "
           "file), so where they were measured is not known.</p>\n</section>\n";
  }
  std::string head = "<tr><th scope=\"col\">context</th>";
  for (std::size_t c = 0; c < table.labels.size(); ++c) {
    head += "<th scope=\"col\">" + ColumnKey(c) + " " + Name(table.labels[c]) + "</th>";
  }
  head += "</tr>\n";
  std::string differ;
  std::string agree;
  std::string sentence;
  int agreeing = 0;
  for (const ContextLine& line : lines) {
    if (Agree(line)) {
      agree += LineRow(line, false);
      ++agreeing;
      continue;
    }
    differ += LineRow(line, true);
    std::string values;
    for (const std::string& value : line.values) {
      values += (values.empty() ? "" : " / ") + Name(value == "-" ? "none" : value);
    }
    sentence += (sentence.empty() ? "" : ", ") + Text(line.title) + " (" + values + ")";
  }
  html += sentence.empty()
              ? "<p class=\"differs-line\">The columns agree in everything below.</p>\n"
              : "<p class=\"differs-line\"><span class=\"sym\">\xe2\x89\xa0</span> "
                "<strong>Differs:</strong> " +
                    sentence + "</p>\n";
  if (!differ.empty()) {
    html += "<div class=\"scroll\"><table class=\"context\">\n<thead>" + head +
            "</thead>\n<tbody>\n" + differ + "</tbody>\n</table></div>\n";
  }
  if (!agree.empty()) {
    html += "<details>\n<summary>" + std::to_string(agreeing) +
            (agreeing == 1 ? " row agrees" : " rows agree") +
            " in every column</summary>\n<div class=\"scroll\"><table class=\"context\">\n<thead>" +
            head + "</thead>\n<tbody>\n" + agree + "</tbody>\n</table></div>\n</details>\n";
  }
  return html + "</section>\n";
}
