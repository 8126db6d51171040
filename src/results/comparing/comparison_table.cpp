#include "results/comparing/comparison_table.h"

#include "results/comparing/paired_looks.h"

#include "results/record/text_safety.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct Flags {
  bool shortSpan = false;
  bool warned = false;
};

Flags FlagsOf(const Figures& figures) {
  return {figures.present && figures.seconds < ShortSpanSeconds, figures.warned};
}

Cell MakeCell(double value, bool present, bool complete, Flags flags) {
  Cell cell;
  cell.value = present ? value : Missing;
  cell.incomplete = !present && !complete;
  cell.shortSpan = flags.shortSpan;
  cell.warned = flags.warned;
  return cell;
}

void AddChanges(Row& row) {
  if (row.cells.empty()) {
    return;
  }
  const double first = row.cells.front().value;
  for (std::size_t i = 1; i < row.cells.size(); ++i) {
    const double value = row.cells[i].value;
    if (std::isfinite(first) && std::isfinite(value) && first != 0.0) {
      row.cells[i].change = (value - first) / first * 100.0;
    }
  }
}

// The column's cell from the cells of its runs: the median, the range and the flags of any run.
Cell Aggregate(const Row& perRun, const Column& column) {
  Cell cell;
  cell.runs = static_cast<int>(column.runs.size());
  std::vector<double> values;
  for (const std::size_t run : column.runs) {
    const Cell& one = perRun.cells[run];
    cell.shortSpan = cell.shortSpan || one.shortSpan;
    cell.warned = cell.warned || one.warned;
    cell.incomplete = cell.incomplete || one.incomplete;
    if (!std::isnan(one.value)) {
      values.push_back(one.value);
      cell.valueRuns.push_back(run);
    }
  }
  cell.values = values;
  if (values.empty()) {
    return cell;
  }
  cell.value = Median(values);
  cell.low = *std::min_element(values.begin(), values.end());
  cell.high = *std::max_element(values.begin(), values.end());
  if (values.size() > 1 && std::isfinite(cell.high) && std::isfinite(cell.low) &&
      cell.value != 0.0) {
    cell.spread = (cell.high - cell.low) / std::fabs(cell.value) * 100.0;
  }
  return cell;
}

// Each later column against the first, where either side has repeats: the interval of the
// change and its verdict.
void JudgeChanges(Row& row, double thresholdPercent) {
  if (row.cells.empty()) {
    return;
  }
  const Cell& first = row.cells.front();
  for (std::size_t i = 1; i < row.cells.size(); ++i) {
    Cell& cell = row.cells[i];
    cell.judged =
        (first.runs > 1 || cell.runs > 1) && !std::isnan(first.value) && !std::isnan(cell.value);
    if (!cell.judged) {
      continue;
    }
    const RatioInterval interval = ChangeInterval(first.values, cell.values);
    if (interval.known) {
      cell.intervalLow = (interval.low - 1) * 100.0;
      cell.intervalHigh = (interval.high - 1) * 100.0;
    }
    cell.verdict = Judge(interval, thresholdPercent / 100.0);
    cell.withinNoise = cell.verdict != Verdict::Faster && cell.verdict != Verdict::Slower;
  }
}

std::string DashIfEmpty(const std::string& text) {
  return text.empty() ? "-" : text;
}

std::vector<ContextRow> ContextRows(const std::vector<RunRecord>& runs,
                                    const std::vector<Column>& columns) {
  bool any = false;
  for (const RunRecord& run : runs) {
    any = any || run.context.known;
  }
  if (!any) {
    return {};
  }
  // The runs of a column share these, so its first run speaks for it.
  std::vector<ContextRow> rows;
  for (const ContextField& field : ContextFields) {
    if (field.title == nullptr) {
      continue;
    }
    // "context.file_system": the title as a key.
    std::string key = std::string("context.") + field.title;
    std::replace(key.begin(), key.end(), ' ', '_');
    ContextRow row{key, field.title, {}};
    for (const Column& column : columns) {
      row.values.push_back(DashIfEmpty(runs[column.runs.front()].context[field.id]));
    }
    rows.push_back(std::move(row));
  }
  ContextRow workers{"context.workers", "workers", {}};
  for (const Column& column : columns) {
    workers.values.push_back(std::to_string(runs[column.runs.front()].threads));
  }
  rows.push_back(std::move(workers));
  return rows;
}

// The folder a results file lies in: absolute, else (the current directory is gone) as given.
fs::path ResultsFolder(const RunRecord& run) {
  const fs::path path = fs::u8path(run.path);
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  return (error ? path : absolute).lexically_normal().parent_path();
}

// The run's date and time where the name tells them, else the file's own name.
std::string When(const RunRecord& run) {
  return run.date.empty() ? fs::u8path(run.path).filename().u8string() : run.date + " " + run.time;
}

// The directory a run was measured in: as its context says, else the results file's folder.
std::string RunDirectory(const RunRecord& run) {
  if (run.context.known && !run.context[ContextKey::Directory].empty()) {
    return run.context[ContextKey::Directory];
  }
  return ResultsFolder(run).u8string();
}

// The last `depth` names of `folder`, joined by "/".
std::string LastComponents(const fs::path& folder, int depth) {
  std::vector<std::string> names;
  for (const fs::path& part : folder) {
    const std::string text = part.u8string();
    if (!text.empty() && text != "/" && text != "\\" && part != folder.root_name()) {
      names.push_back(text);
    }
  }
  std::string joined;
  const std::size_t from = names.size() > static_cast<std::size_t>(depth)
                               ? names.size() - static_cast<std::size_t>(depth)
                               : 0;
  for (std::size_t i = from; i < names.size(); ++i) {
    joined += (joined.empty() ? "" : "/") + names[i];
  }
  return joined;
}

// Columns whose default labels read the same are each named by more of their folder, until they
// differ or the folders have no more names.
void MakeLabelsUnique(std::vector<Column>& columns, const std::vector<fs::path>& folders,
                      const std::vector<std::string>& suffixes) {
  std::vector<int> depth(columns.size(), 1);
  for (bool changed = true; changed;) {
    changed = false;
    std::vector<bool> same(columns.size(), false);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      for (std::size_t d = c + 1; d < columns.size(); ++d) {
        if (columns[d].label == columns[c].label) {
          same[c] = same[d] = true;
        }
      }
    }
    for (std::size_t c = 0; c < columns.size(); ++c) {
      const std::string longer = LastComponents(folders[c], depth[c] + 1);
      if (same[c] && longer != LastComponents(folders[c], depth[c])) {
        ++depth[c];
        columns[c].label = EscapeControls(longer + suffixes[c]);
        changed = true;
      }
    }
  }
}

}  // namespace

std::string ShortSpanText() {
  return "timed in under " + std::to_string(std::lround(ShortSpanSeconds * 1000)) + " ms";
}

double Median(std::vector<double> values) {
  if (values.empty()) {
    return Missing;
  }
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

std::vector<Column> EachRun(const std::vector<std::string>& labels) {
  std::vector<Column> columns;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    columns.push_back({labels[i], {i}});
  }
  return columns;
}

std::vector<Column> GroupRepeats(const std::vector<RunRecord>& runs,
                                 const std::vector<std::string>& labels, bool labelled) {
  std::vector<Column> columns;
  std::vector<std::string> keys;
  std::vector<fs::path> folders;  // what a column's default label names
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const RunRecord& run = runs[i];
    // A file without a context tells nothing of where it ran: a column of its own, unless the
    // user labelled several alike.
    const bool groups = labelled || run.context.known;
    const std::string name = labelled ? labels[i] : RunDirectory(run);
    // Fields joined by a byte no text of theirs holds once controls are escaped.
    std::string key =
        groups ? name + '\x01' + std::to_string(run.threads) : "\x02" + std::to_string(i);
    for (const ContextField& field : ContextFields) {
      if (field.splitsColumns) {
        key += '\x01' + run.context[field.id];
      }
    }
    const auto found = std::find(keys.begin(), keys.end(), key);
    if (found == keys.end()) {
      keys.push_back(key);
      folders.push_back(fs::u8path(name));
      columns.push_back({labels[i], {i}});
    } else {
      columns[static_cast<std::size_t>(found - keys.begin())].runs.push_back(i);
    }
  }
  std::vector<std::string> suffixes(columns.size());
  for (std::size_t c = 0; c < columns.size(); ++c) {
    Column& column = columns[c];
    if (column.runs.size() > 1) {
      suffixes[c] = " (" + std::to_string(column.runs.size()) + " runs)";
      const std::string name = labelled ? folders[c].u8string() : LastComponents(folders[c], 1);
      column.label = (name.empty() ? folders[c].u8string() : name) + suffixes[c];
    } else if (!labelled) {
      const RunRecord& run = runs[column.runs.front()];
      folders[c] = ResultsFolder(run);
      suffixes[c] = " " + When(run);
    }
  }
  if (!labelled) {
    MakeLabelsUnique(columns, folders, suffixes);
  }
  return columns;
}

ComparisonTable BuildTable(const std::vector<RunRecord>& runs, const std::vector<Column>& columns,
                           double thresholdPercent) {
  const ComparisonTable perRun = PerRunFigures(runs);
  ComparisonTable table;
  table.thresholdPercent = thresholdPercent;
  for (const Column& column : columns) {
    table.labels.push_back(column.label);
    table.runs.push_back(static_cast<int>(column.runs.size()));
  }
  table.context = ContextRows(runs, columns);
  for (const Row& row : perRun.rows) {
    Row grouped{row.key, row.title, row.unit, row.measure, row.part, row.chartable, {}};
    for (const Column& column : columns) {
      grouped.cells.push_back(Aggregate(row, column));
    }
    AddChanges(grouped);
    JudgeChanges(grouped, thresholdPercent);
    table.rows.push_back(std::move(grouped));
  }
  ApplySequentialRule(table, perRun, runs, columns);
  return table;
}

ComparisonTable BuildTable(const std::vector<RunRecord>& runs,
                           const std::vector<std::string>& labels) {
  return BuildTable(runs, EachRun(labels));
}

std::vector<HeadlineTwins> Headlines(const ComparisonTable& table) {
  std::vector<HeadlineTwins> twins;
  for (const Measure measure : AllMeasures) {
    HeadlineTwins pair{nullptr, nullptr};
    for (const Row& row : table.rows) {
      if (row.measure == measure && row.part == RowPart::SingleThread) {
        pair.single = &row;
      } else if (row.measure == measure && row.part == RowPart::AllWorkers) {
        pair.allWorkers = &row;
      }
    }
    if (pair.single != nullptr && pair.allWorkers != nullptr) {
      twins.push_back(pair);
    }
  }
  return twins;
}

const char* MeasureKey(Measure measure) {
  return Describe(measure).key;
}

const char* MeasureTitle(Measure measure) {
  return Describe(measure).title;
}

std::string DefaultLabel(const RunRecord& run) {
  const std::string directory = ResultsFolder(run).filename().u8string();
  return directory.empty() ? When(run) : directory + " " + When(run);
}

ComparisonTable PerRunFigures(const std::vector<RunRecord>& runs) {
  ComparisonTable table;
  auto push = [&table](Row row) { table.rows.push_back(std::move(row)); };

  for (const Measure measure : AllMeasures) {
    const std::size_t m = Index(measure);
    Row row{std::string("single.") + MeasureKey(measure),
            std::string(MeasureTitle(measure)) + ", single thread",
            ReportUnit(measure),
            measure,
            RowPart::SingleThread,
            true,
            {}};
    for (const RunRecord& run : runs) {
      const Figures& figures = run.single[m];
      row.cells.push_back(
          MakeCell(ReportRate(measure, figures), figures.present, run.complete, FlagsOf(figures)));
    }
    push(std::move(row));
  }

  for (const Measure measure : SummaryOrder) {
    const std::size_t m = Index(measure);
    const std::string key = std::string("multi.") + MeasureKey(measure);
    const std::string title = MeasureTitle(measure);
    const std::string unit = ReportUnit(measure);
    auto part = [&](const char* keyEnd, const char* titleEnd, const std::string& partUnit,
                    RowPart what) {
      return Row{
          key + keyEnd, title + titleEnd, partUnit, measure, what, what == RowPart::AllWorkers, {}};
    };
    Row overall = part("", ", all workers", unit, RowPart::AllWorkers);
    Row improvement = part(".improvement", ", improvement", "times", RowPart::Improvement);
    Row slowest = part(".slowest", ", slowest worker", unit, RowPart::SlowestWorker);
    Row fastest = part(".fastest", ", fastest worker", unit, RowPart::FastestWorker);
    Row efficiency = part(".efficiency", ", efficiency", "", RowPart::Efficiency);
    for (const RunRecord& run : runs) {
      const OverallFigures& sum = run.overall[m];
      Flags flags;
      double low = Missing;
      double high = Missing;
      for (const auto& worker : run.workers) {
        const Figures& figures = worker.second[m];
        if (!figures.present) {
          continue;
        }
        const Flags workerFlags = FlagsOf(figures);
        flags.shortSpan = flags.shortSpan || workerFlags.shortSpan;
        flags.warned = flags.warned || workerFlags.warned;
        const double rate = ReportRate(measure, figures);
        low = std::isnan(low) ? rate : std::min(low, rate);
        high = std::isnan(high) ? rate : std::max(high, rate);
      }
      const bool spread = !std::isnan(low);
      // The gains divide by the single-thread figure, so they carry its flags too.
      const Flags singleFlags = FlagsOf(run.single[m]);
      const Flags gainFlags{flags.shortSpan || singleFlags.shortSpan,
                            flags.warned || singleFlags.warned};
      overall.cells.push_back(MakeCell(ReportRate(measure, sum), sum.present, run.complete, flags));
      improvement.cells.push_back(MakeCell(sum.improvement, sum.present, run.complete, gainFlags));
      // A file cut short inside a phase gives the workers read so far: flagged, not trusted.
      Cell lowCell = MakeCell(low, spread, run.complete && sum.present, flags);
      Cell highCell = MakeCell(high, spread, run.complete && sum.present, flags);
      lowCell.incomplete = highCell.incomplete = !run.complete && !sum.present;
      slowest.cells.push_back(lowCell);
      fastest.cells.push_back(highCell);
      efficiency.cells.push_back(MakeCell(Efficiency(run, measure), sum.present && run.threads > 0,
                                          run.complete, gainFlags));
    }
    for (Row* row : {&overall, &improvement, &slowest, &fastest, &efficiency}) {
      push(std::move(*row));
    }
  }
  return table;
}
