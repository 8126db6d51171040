// The page: one self-contained HTML file that carries a whole comparison. A heading and the rules
// of the comparison, a card per column, what to read with care, where the runs were measured, every
// figure, the headline charts, the runs in the order they ran, how to read it all, and the
// comparison's data as JSON. Its own Content-Security-Policy forbids every script and every load,
// so a hostile label cannot run anything and the page works the same without a network.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <tuple>

#include "contract/constants.h"
#include "results/output/cell_text.h"
#include "results/output/formats.h"
#include "results/output/html_parts.h"
#include "results/output/json_document.h"
#include "results/output/markup_text.h"
#include "results/output/palette.h"
#include "results/record/text_safety.h"

namespace {

// "A, B and C".
std::string Enumerated(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
  }
  return text;
}

std::string StartedText(const RunRecord& run, const nlohmann::json& context) {
  if (context.is_object() && context.contains("start_time") && context["start_time"].is_string()) {
    std::string text = EscapeControls(context["start_time"].get<std::string>());
    std::replace(text.begin(), text.end(), 'T', ' ');
    return text;
  }
  return run.date.empty() ? "" : run.date + " " + run.time;
}

// The page's heading as plain text, each name isolated: the title given, else "A compared with
// B and C".
std::string Heading(const Comparison& comparison) {
  const std::vector<std::string>& labels = comparison.table.labels;
  if (!comparison.title.empty()) {
    return Isolated(comparison.title);
  }
  if (labels.empty()) {
    return "No runs compared";
  }
  std::vector<std::string> others;
  for (std::size_t c = 1; c < labels.size(); ++c) {
    others.push_back(Isolated(labels[c]));
  }
  return Isolated(labels.front()) + (others.empty() ? "" : " compared with " + Enumerated(others));
}

std::string HeaderPart(const Page& page) {
  const Comparison& comparison = page.comparison;
  const ComparisonTable& table = comparison.table;
  std::string html = "<header>\n<h1>";
  if (!comparison.title.empty()) {
    html += Name(comparison.title);
  } else if (table.labels.empty()) {
    html += Text(Heading(comparison));
  } else {
    html += Name(table.labels.front());
    for (std::size_t c = 1; c < table.labels.size(); ++c) {
      html += c == 1 ? " compared with " : c + 1 == table.labels.size() ? " and " : ", ";
      html += Name(table.labels[c]);
    }
  }
  html += "</h1>\n";
  if (table.labels.empty()) {
    return html + "<p>No results file was read.</p>\n</header>\n";
  }
  bool judged = false;
  for (const Row& row : table.rows) {
    for (const Cell& cell : row.cells) {
      judged = judged || cell.judged;
    }
  }
  std::string rules = "Every figure is better when higher. ";
  if (table.labels.size() > 1) {
    rules += "Each column is compared with the baseline, " + Name(table.labels.front()) +
             ": the change of its median in percent";
    rules += judged ? ", with the 95% interval of the change; a change whose interval lies within "
                      "\xc2\xb1" +
                          ThresholdText(table.thresholdPercent) + "% counts as the same. "
                    : "; single runs against single runs get no verdict. ";
  }
  std::vector<std::string> counts;
  bool alike = true;
  for (std::size_t c = 0; c < table.labels.size(); ++c) {
    counts.push_back(Name(table.labels[c]) + " " + std::to_string(table.runs[c]));
    alike = alike && table.runs[c] == table.runs.front();
  }
  const int runs = table.runs.front();
  rules += alike ? (table.labels.size() == 1 ? "The column holds " : "Each column holds ") +
                       std::to_string(runs) + (runs == 1 ? " run." : " runs.")
                 : "Runs per column: " + Enumerated(counts) + ".";
  std::vector<std::string> times;
  for (const PageRun& run : page.runs) {
    if (!run.started.empty()) {
      times.push_back(run.started);
    }
  }
  // A time is not broken across lines.
  auto when = [](const std::string& time) {
    return "<span class=\"when\">" + Text(time) + "</span>";
  };
  if (!times.empty()) {
    rules += times.size() == 1 ? " The run started " + when(times.front()) + "."
                               : " The runs started from " + when(times.front()) + " to " +
                                     when(times.back()) + ".";
  }
  return html + "<p class=\"rules\">" + rules + "</p>\n</header>\n";
}

// "1,048,576".
std::string Grouped(long long number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
    digits.insert(static_cast<std::size_t>(at), ",");
  }
  return digits;
}

std::string ReadingSection(const Page& page) {
  const ComparisonTable& table = page.comparison.table;
  std::string html = "<section id=\"reading\">\n<h2>How to read it</h2>\n<ul>\n";
  for (const std::string& line : Legend(table)) {
    html += "<li>" + Text(line) + "</li>\n";
  }
  std::string signs;
  for (int i = 0; i < JudgedSignCount; ++i) {
    signs += (i == 0 ? "" : ", ") + VerdictBadge(JudgedSigns()[i].verdict);
  }
  html += "<li>Verdicts, each a word and a symbol: " + signs +
          ". Colour only repeats them. A column without a verdict is the baseline, or single runs "
          "against single runs.</li>\n";
  html += "<li>Flags beside a figure (where they stand is read with care above):<ul>\n";
  for (const CellMark& mark : CellMarks()) {
    if (mark.word != nullptr) {
      html += "<li><span class=\"flag\">" + Text(mark.mark) + "</span> " + Text(mark.meaning) +
              "</li>\n";
    }
  }
  html += "</ul></li>\n";
  html +=
      "<li>Units: files/s is files created, opened and removed per second; M accesses/s is "
      "millions of single-byte writes or reads per second; MB/s here is " +
      Grouped(std::llround(1.0 / MegabyteScale / MegabyteScale)) +
      " bytes per second. Improvement is the sum over all workers divided by the single "
      "thread; efficiency is the improvement divided by the workers (1 is perfect "
      "scaling).</li>\n";
  html +=
      "<li>Charts: the bar is the median, the whisker runs from the smallest to the largest "
      "run, and every run is a marker, the first one hollow. The change is drawn on a "
      "logarithmic scale, so that +100% and -50% lie equally far from 0; the hatched band "
      "is what counts as the same.</li>\n";
  return html + "</ul>\n</section>\n";
}

// The comparison's data as the JSON output holds it, less the per-worker tables and what the
// benchmark wrote on standard error.
std::string DataBlock(const Comparison& comparison) {
  return JsonForScript(JsonDocument(comparison, JsonDetails::ForPage)
                           .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
}

std::string Footer(const Page& page) {
  const Comparison& comparison = page.comparison;
  const std::size_t files = comparison.runs.size();
  std::string html = "<footer>\n<p>Made by drives-tesk-results " DRIVES_TESK_VERSION " from " +
                     std::to_string(files) + (files == 1 ? " file" : " files") + ".</p>\n";
  html += std::string("<p>The comparison's data is in this page's source as JSON (format \"") +
          JsonFormatName + "\", version " + std::to_string(JsonFormatVersion) +
          "), as <code>show --format json</code> writes it but without the per-worker tables and "
          "what the benchmark wrote on standard error; <code>drives-tesk-results show --format "
          "json</code> on the same files gives them.</p>\n";
  html += "<script type=\"application/json\" id=\"comparison-data\">" + DataBlock(comparison) +
          "</script>\n";
  return html + "</footer>\n";
}

}  // namespace

std::string Text(const std::string& text) {
  return EscapeXml(text);
}

std::string Name(const std::string& text) {
  return "<bdi>" + EscapeXml(text) + "</bdi>";
}

std::string TextWithNames(const std::string& line, const std::vector<std::string>& names) {
  auto word = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
  std::string html;
  std::string text;
  for (std::size_t at = 0; at < line.size();) {
    // The longest name that stands here as a whole, not inside a word.
    std::size_t longest = 0;
    for (const std::string& name : names) {
      const std::size_t end = at + name.size();
      if (name.size() > longest && line.compare(at, name.size(), name) == 0 &&
          (at == 0 || !word(line[at - 1]) || !word(name.front())) &&
          (end == line.size() || !word(line[end]) || !word(name.back()))) {
        longest = name.size();
      }
    }
    if (longest == 0) {
      text += line[at++];
      continue;
    }
    html += Text(text) + Name(line.substr(at, longest));
    text.clear();
    at += longest;
  }
  return html + Text(text);
}

std::string ColumnKey(std::size_t column) {
  const std::string shape = std::to_string(column % SeriesCount);
  return "<svg class=\"key\" viewBox=\"-6 -6 12 12\" aria-hidden=\"true\"><use href=\"#m" + shape +
         "\" class=\"k" + shape + "\"/></svg>";
}

std::string VerdictBadge(Verdict verdict) {
  const VerdictSign& sign = SignOf(verdict);
  if (sign.words[0] == '\0') {
    return "";
  }
  return std::string("<span class=\"v ") + VerdictWord(verdict) + "\">" + sign.symbol + " " +
         sign.words + "</span>";
}

std::string FlagBadges(const Cell& cell) {
  std::string html;
  for (const CellMark& mark : CellMarks()) {
    if (mark.word != nullptr && mark.on(cell)) {
      html += " <span class=\"flag\" title=\"" + Text(mark.meaning) + "\">" + Text(mark.mark) +
              "</span>";
    }
  }
  return html;
}

Page PreparePage(const Comparison& comparison) {
  Page page{comparison, {}};
  for (std::size_t c = 0; c < comparison.columns.size(); ++c) {
    for (const std::size_t run : comparison.columns[c].runs) {
      const RunRecord& record = comparison.runs[run];
      nlohmann::json context = record.context.known
                                   ? nlohmann::json::parse(record.context.json, nullptr, false)
                                   : nlohmann::json(nullptr);
      if (!context.is_object()) {
        context = nullptr;
      }
      page.runs.push_back({run, c, StartedText(record, context), std::move(context)});
    }
  }
  // The order they ran: by start time, where it is known; the file order otherwise.
  std::sort(page.runs.begin(), page.runs.end(), [](const PageRun& a, const PageRun& b) {
    return std::forward_as_tuple(a.started.empty(), a.started, a.run) <
           std::forward_as_tuple(b.started.empty(), b.started, b.run);
  });
  return page;
}

std::string WriteHtml(const Comparison& comparison) {
  const Page page = PreparePage(comparison);
  std::string html =
      "<!DOCTYPE html>\n"
      "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">\n<head>\n"
      "<meta charset=\"utf-8\"/>\n"
      "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src "
      "'unsafe-inline'\"/>\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>\n"
      "<meta name=\"color-scheme\" content=\"light dark\"/>\n"
      "<meta name=\"generator\" content=\"drives-tesk-results " DRIVES_TESK_VERSION "\"/>\n";
  html += "<title>" + Text(Heading(comparison)) + "</title>\n";
  html += "<style>\n" + StyleSheet() + "</style>\n</head>\n<body>\n";
  html += MarkerDefinitions();
  html += HeaderPart(page);
  html += "<main>\n";
  if (!comparison.runs.empty()) {
    html += CardsSection(page);
    html += CareSection(page);
    html += ContextSection(page);
    html += FiguresSection(page);
    html += ChartsSection(page);
    html += RunsSection(page);
    html += ReadingSection(page);
  }
  html += "</main>\n";
  html += Footer(page);
  return html + "</body>\n</html>\n";
}
