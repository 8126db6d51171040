#include "results/results_table.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

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

}  // namespace

const char* MeasureKey(Measure measure) {
  return Describe(measure).key;
}

const char* MeasureTitle(Measure measure) {
  return Describe(measure).title;
}

std::string DefaultLabel(const RunRecord& run) {
  const std::filesystem::path path = std::filesystem::u8path(run.path);
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  const std::string directory = (error ? path : absolute).parent_path().filename().u8string();
  // The run's date and time where the name tells them, else the file's own name.
  const std::string when =
      run.date.empty() ? path.filename().u8string() : run.date + " " + run.time;
  return directory.empty() ? when : directory + " " + when;
}

ComparisonTable BuildTable(const std::vector<RunRecord>& runs,
                           const std::vector<std::string>& labels) {
  ComparisonTable table;
  table.labels = labels;
  auto push = [&table](Row row) {
    AddChanges(row);
    table.rows.push_back(std::move(row));
  };

  for (const Measure measure : AllMeasures) {
    const std::size_t m = Index(measure);
    Row row{std::string("single.") + MeasureKey(measure),
            std::string(MeasureTitle(measure)) + ", single thread",
            ShownUnit(measure),
            true,
            {}};
    for (const RunRecord& run : runs) {
      const Figures& figures = run.single[m];
      row.cells.push_back(
          MakeCell(ShownRate(measure, figures), figures.present, run.complete, FlagsOf(figures)));
    }
    push(std::move(row));
  }

  for (const Measure measure : SummaryOrder) {
    const std::size_t m = Index(measure);
    const std::string key = std::string("multi.") + MeasureKey(measure);
    const std::string title = MeasureTitle(measure);
    Row overall{key, title + ", all workers", ShownUnit(measure), true, {}};
    Row improvement{key + ".improvement", title + ", improvement", "times", false, {}};
    Row slowest{key + ".slowest", title + ", slowest worker", ShownUnit(measure), false, {}};
    Row fastest{key + ".fastest", title + ", fastest worker", ShownUnit(measure), false, {}};
    Row efficiency{key + ".efficiency", title + ", efficiency", "", false, {}};
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
        const double rate = ShownRate(measure, figures);
        low = std::isnan(low) ? rate : std::min(low, rate);
        high = std::isnan(high) ? rate : std::max(high, rate);
      }
      const bool spread = !std::isnan(low);
      // The gains divide by the single-thread figure, so they carry its flags too.
      const Flags singleFlags = FlagsOf(run.single[m]);
      const Flags gainFlags{flags.shortSpan || singleFlags.shortSpan,
                            flags.warned || singleFlags.warned};
      overall.cells.push_back(MakeCell(ShownRate(measure, sum), sum.present, run.complete, flags));
      improvement.cells.push_back(MakeCell(sum.improvement, sum.present, run.complete, gainFlags));
      // A file cut short inside a phase gives the workers read so far: flagged, not trusted.
      Cell lowCell = MakeCell(low, spread, run.complete && sum.present, flags);
      Cell highCell = MakeCell(high, spread, run.complete && sum.present, flags);
      lowCell.incomplete = highCell.incomplete = !run.complete && !sum.present;
      slowest.cells.push_back(lowCell);
      fastest.cells.push_back(highCell);
      efficiency.cells.push_back(MakeCell(sum.improvement / run.threads,
                                          sum.present && run.threads > 0, run.complete, gainFlags));
    }
    for (Row* row : {&overall, &improvement, &slowest, &fastest, &efficiency}) {
      push(std::move(*row));
    }
  }
  return table;
}
