#include "results/output/caveats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "results/output/cell_text.h"

namespace {

// The context fields that do not split columns but can still move the figures: a comparison
// across them compares more than the drives.
struct ComparedField {
  ContextKey key;
  const char* name;
};
constexpr ComparedField ComparedFields[] = {
    {ContextKey::Os, "operating system"},
    {ContextKey::Kernel, "kernel"},
    {ContextKey::Privileged, "privileges (root or administrator)"},
    {ContextKey::Fuse, "file system in user space"},
    {ContextKey::CompanionVersion, "companion version"},
};

std::string Join(const std::vector<std::string>& items, const char* separator = ", ") {
  std::string joined;
  for (const std::string& item : items) {
    joined += (joined.empty() ? "" : separator) + item;
  }
  return joined;
}

std::string Figures(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " figure" : " figures");
}

std::string Percent(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f%%", value);
  return text;
}

// The columns a caveat concerns, for people: "every column" where that is all of them.
std::string ColumnsText(const std::vector<std::string>& columns, const ComparisonTable& table) {
  return columns.size() > 1 && columns.size() == table.labels.size() ? "every column"
                                                                     : Join(columns);
}

const CellMark& MarkOf(const char* word) {
  for (const CellMark& mark : CellMarks()) {
    if (mark.word != nullptr && std::strcmp(mark.word, word) == 0) {
      return mark;
    }
  }
  return CellMarks().front();
}

// The rows and the columns where `concerns(row, column)` holds, in table order.
Caveat Where(CaveatKind kind, const ComparisonTable& table,
             const std::function<bool(const Row&, std::size_t)>& concerns) {
  Caveat caveat{kind, "", {}, {}};
  std::vector<bool> columns(table.labels.size(), false);
  for (const Row& row : table.rows) {
    bool any = false;
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
      if (concerns(row, c)) {
        any = columns[c] = true;
      }
    }
    if (any) {
      caveat.figures.push_back(row.key);
    }
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    if (columns[c]) {
      caveat.columns.push_back(table.labels[c]);
    }
  }
  return caveat;
}

// A flag's caveat: its mark and meaning as the table of marks gives them, and where it stands.
void AddFlag(std::vector<Caveat>& caveats, CaveatKind kind, const char* word,
             const ComparisonTable& table) {
  const CellMark& mark = MarkOf(word);
  Caveat caveat =
      Where(kind, table, [&mark](const Row& row, std::size_t c) { return mark.on(row.cells[c]); });
  if (caveat.figures.empty()) {
    return;
  }
  caveat.text = std::string(mark.mark) + " " + mark.meaning + "; " +
                Figures(caveat.figures.size()) + " of " + ColumnsText(caveat.columns, table);
  caveats.push_back(std::move(caveat));
}

// Why the runs of a column stopped early: as `run` recorded it, else because the report ends
// before its last line.
std::vector<std::string> CutReasons(const std::vector<RunRecord>& runs, const Column& column) {
  std::vector<std::string> reasons;
  auto add = [&reasons](const std::string& reason) {
    if (std::find(reasons.begin(), reasons.end(), reason) == reasons.end()) {
      reasons.push_back(reason);
    }
  };
  for (const std::size_t index : column.runs) {
    const RunRecord& run = runs[index];
    const std::string& cutOff = run.context[ContextKey::CutOff];
    if (!cutOff.empty()) {
      add(cutOff);
    }
    if (run.context.interrupted()) {
      add("interrupted");
    }
    if (cutOff.empty() && !run.context.interrupted() && !run.complete) {
      add("report incomplete");
    }
  }
  return reasons;
}

void AddCutShort(std::vector<Caveat>& caveats, const std::vector<RunRecord>& runs,
                 const std::vector<Column>& columns, const ComparisonTable& table) {
  std::vector<bool> cut(columns.size(), false);
  std::vector<std::string> described;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const std::vector<std::string> reasons = CutReasons(runs, columns[c]);
    if (!reasons.empty()) {
      cut[c] = true;
      described.push_back(table.labels[c] + ": " + Join(reasons));
    }
  }
  if (described.empty()) {
    return;
  }
  Caveat caveat = Where(CaveatKind::CutShort, table, [&cut](const Row& row, std::size_t c) {
    return cut[c] && row.cells[c].incomplete;
  });
  if (!caveat.figures.empty()) {
    const CellMark& mark = MarkOf("incomplete");
    caveat.text = std::string(mark.mark) + " " + mark.meaning + "; " +
                  Figures(caveat.figures.size()) + " of " + Join(described, "; ");
  } else {
    // Stopped after the last figure it printed: every figure it has came from a run that did
    // not end as it should.
    caveat = Where(CaveatKind::CutShort, table, [&cut](const Row& row, std::size_t c) {
      return cut[c] && !std::isnan(row.cells[c].value);
    });
    caveat.text = "runs cut short after their last figure: " + Join(described, "; ");
  }
  caveats.push_back(std::move(caveat));
}

// The share of its file system's size that was free before the run, in percent; NaN where the
// context does not tell.
double FreePercent(const RunRecord& run) {
  const std::string& free = run.context[ContextKey::FreeBytes];
  const std::string& size = run.context[ContextKey::SizeBytes];
  if (free.empty() || size.empty()) {
    return Missing;
  }
  const double freeBytes = std::strtod(free.c_str(), nullptr);
  const double sizeBytes = std::strtod(size.c_str(), nullptr);
  return sizeBytes > 0 && freeBytes >= 0 && freeBytes <= sizeBytes ? freeBytes / sizeBytes * 100
                                                                   : Missing;
}

// A caveat that concerns every figure the given columns have.
Caveat EveryFigure(CaveatKind kind, const ComparisonTable& table,
                   const std::vector<std::size_t>& concerned) {
  std::vector<bool> in(table.labels.size(), false);
  for (const std::size_t c : concerned) {
    in[c] = true;
  }
  return Where(kind, table, [&in](const Row& row, std::size_t c) {
    return in[c] && !std::isnan(row.cells[c].value);
  });
}

// Columns whose runs were measured under differing conditions, and runs of one column that were.
void AddContexts(std::vector<Caveat>& caveats, const std::vector<RunRecord>& runs,
                 const std::vector<Column>& columns, const ComparisonTable& table) {
  std::vector<Caveat> varies;
  for (const ComparedField& field : ComparedFields) {
    // Between columns: each column as its first run that tells; values in order of appearance.
    std::vector<std::string> values;
    std::vector<std::vector<std::string>> labels;
    std::vector<std::size_t> told;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      std::vector<std::string> within;
      for (const std::size_t index : columns[c].runs) {
        const std::string& value = runs[index].context[field.key];
        if (!value.empty() && std::find(within.begin(), within.end(), value) == within.end()) {
          within.push_back(value);
        }
      }
      if (within.empty()) {
        continue;
      }
      told.push_back(c);
      const auto found = std::find(values.begin(), values.end(), within.front());
      if (found == values.end()) {
        values.push_back(within.front());
        labels.push_back({table.labels[c]});
      } else {
        labels[static_cast<std::size_t>(found - values.begin())].push_back(table.labels[c]);
      }
      if (within.size() > 1) {
        Caveat caveat = EveryFigure(CaveatKind::ContextVaries, table, {c});
        caveat.text =
            "runs of " + table.labels[c] + " differ in " + field.name + ": " + Join(within);
        varies.push_back(std::move(caveat));
      }
    }
    if (values.size() > 1) {
      std::vector<std::string> described;
      for (std::size_t v = 0; v < values.size(); ++v) {
        described.push_back(values[v] + " for " + Join(labels[v]));
      }
      Caveat caveat = EveryFigure(CaveatKind::ContextDiffers, table, told);
      caveat.text = std::string("columns differ in ") + field.name + ": " + Join(described, "; ");
      caveats.push_back(std::move(caveat));
    }
  }

  // Free space, which a file system may use differently when it runs low: each column's first
  // run against the others, and the runs of a column among themselves.
  char limit[32];
  std::snprintf(limit, sizeof limit, "%g", FreeSpacePoints);
  const std::string points =
      std::string(" by more than ") + limit + " points of the file system's size: ";
  std::vector<std::size_t> told;
  std::vector<std::string> described;
  double lowest = Missing;
  double highest = Missing;
  for (std::size_t c = 0; c < columns.size(); ++c) {
    std::vector<double> shares;
    for (const std::size_t index : columns[c].runs) {
      const double share = FreePercent(runs[index]);
      if (!std::isnan(share)) {
        shares.push_back(share);
      }
    }
    if (shares.empty()) {
      continue;
    }
    told.push_back(c);
    described.push_back(Percent(shares.front()) + " for " + table.labels[c]);
    lowest = std::isnan(lowest) ? shares.front() : std::min(lowest, shares.front());
    highest = std::isnan(highest) ? shares.front() : std::max(highest, shares.front());
    const auto [least, most] = std::minmax_element(shares.begin(), shares.end());
    if (*most - *least > FreeSpacePoints) {
      Caveat caveat = EveryFigure(CaveatKind::ContextVaries, table, {c});
      caveat.text = "runs of " + table.labels[c] + " differ in free space" + points +
                    Percent(*least) + " to " + Percent(*most);
      varies.push_back(std::move(caveat));
    }
  }
  if (told.size() > 1 && highest - lowest > FreeSpacePoints) {
    Caveat caveat = EveryFigure(CaveatKind::ContextDiffers, table, told);
    caveat.text = "columns differ in free space" + points + Join(described, "; ");
    caveats.push_back(std::move(caveat));
  }
  for (Caveat& caveat : varies) {
    caveats.push_back(std::move(caveat));
  }
}

// Later columns against the first: changes judged without an interval, and changes of single
// runs, which nothing judges.
void AddRunCounts(std::vector<Caveat>& caveats, const ComparisonTable& table) {
  if (table.labels.size() < 2) {
    return;
  }
  char confidence[32];
  std::snprintf(confidence, sizeof confidence, "%g%%", table.confidence * 100);
  const std::string interval = std::string("a ") + confidence + " interval";
  const bool singleFirst = table.runs.front() == 1;
  // "B, C against A"; the first column then leads the columns the caveat concerns.
  auto against = [&table](Caveat& caveat) {
    std::string later = Join(caveat.columns) + " against " + table.labels.front();
    caveat.columns.insert(caveat.columns.begin(), table.labels.front());
    return later;
  };

  Caveat tooFew = Where(CaveatKind::TooFewRuns, table, [](const Row& row, std::size_t c) {
    return c > 0 && row.cells[c].judged && std::isnan(row.cells[c].intervalLow);
  });
  if (!tooFew.figures.empty()) {
    tooFew.text = table.sequential.applies
                      ? "too few paired rounds for " + interval + " yet: " + against(tooFew)
                      : "too few runs for " + interval + " (it needs " + IntervalNeeds() +
                            "): " + against(tooFew);
    caveats.push_back(std::move(tooFew));
  }
  Caveat single =
      Where(CaveatKind::SingleRuns, table, [&table, singleFirst](const Row& row, std::size_t c) {
        return c > 0 && singleFirst && table.runs[c] == 1 && !std::isnan(row.cells[c].change);
      });
  if (!single.figures.empty()) {
    single.text = "single runs, changes not judged (" + interval + " needs " + IntervalNeeds() +
                  "): " + against(single);
    caveats.push_back(std::move(single));
  }
}

// The byte-wise and 4 MiB figures, single thread, all workers and what derives from them.
bool ThroughputRow(const std::string& key) {
  for (const Measure measure : AllMeasures) {
    if (IsCycleMeasure(measure)) {
      continue;
    }
    const std::string single = std::string("single.") + MeasureKey(measure);
    const std::string multi = std::string("multi.") + MeasureKey(measure);
    if (key == single || key == multi || key.rfind(multi + ".", 0) == 0) {
      return true;
    }
  }
  return false;
}

void AddPageCache(std::vector<Caveat>& caveats, const ComparisonTable& table) {
  Caveat caveat = Where(CaveatKind::PageCache, table, [](const Row& row, std::size_t c) {
    return ThroughputRow(row.key) && !std::isnan(row.cells[c].value);
  });
  if (caveat.figures.empty()) {
    return;
  }
  caveat.text =
      "the byte-wise and 4 MiB figures are served by the page cache by design: they measure the "
      "file system and the kernel's I/O path, not the device";
  caveats.push_back(std::move(caveat));
}

}  // namespace

const char* CaveatKindName(CaveatKind kind) {
  switch (kind) {
    case CaveatKind::FailedOperations:
      return "failed_operations";
    case CaveatKind::CutShort:
      return "cut_short";
    case CaveatKind::ContextDiffers:
      return "context_differs";
    case CaveatKind::ContextVaries:
      return "context_varies";
    case CaveatKind::OneShot:
      return "one_shot";
    case CaveatKind::Drift:
      return "drift";
    case CaveatKind::TooFewRuns:
      return "too_few_runs";
    case CaveatKind::SingleRuns:
      return "single_runs";
    case CaveatKind::PageCache:
      return "page_cache";
  }
  return "";
}

std::vector<Caveat> Caveats(const std::vector<RunRecord>& runs, const std::vector<Column>& columns,
                            const ComparisonTable& table) {
  std::vector<Caveat> caveats;
  if (runs.empty() || columns.size() != table.labels.size()) {
    return caveats;
  }
  AddFlag(caveats, CaveatKind::FailedOperations, "warning", table);
  AddCutShort(caveats, runs, columns, table);
  AddContexts(caveats, runs, columns, table);
  AddFlag(caveats, CaveatKind::OneShot, "short", table);
  AddFlag(caveats, CaveatKind::Drift, "drift", table);
  AddRunCounts(caveats, table);
  AddPageCache(caveats, table);
  // A caveat about columns without a single figure concerns nothing: no line for it.
  caveats.erase(std::remove_if(caveats.begin(), caveats.end(),
                               [](const Caveat& caveat) { return caveat.figures.empty(); }),
                caveats.end());
  return caveats;
}
