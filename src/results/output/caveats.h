// What to keep in mind when reading a comparison, one line each: figures whose file operations
// failed, runs cut short, one-shot spans, too few runs for an interval, columns or runs measured
// under differing conditions, and what the page cache makes of the throughput figures. Worked
// out once from the prepared table and shown by every format.
#pragma once

#include <string>
#include <vector>

#include "results/comparing/comparison_table.h"
#include "results/record/run_record.h"

enum class CaveatKind {
  FailedOperations,  // the console warned that file operations failed (`!`)
  CutShort,          // a run interrupted, stopped by `run`, or its report incomplete (`?`)
  ContextDiffers,    // columns measured under conditions that do not split them
  ContextVaries,     // the runs of one column measured under such differing conditions
  OneShot,           // a timed span too short to trust (`~`)
  Drift,             // a session's looks disagree: the runs changed while it ran (`*`)
  TooFewRuns,        // changes judged, but too few runs for an interval
  SingleRuns,        // single runs against single runs: changes not judged
  PageCache,         // the byte-wise and 4 MiB figures come from the page cache
};

// "failed_operations", "cut_short", ...: the kind's name for scripts.
const char* CaveatKindName(CaveatKind kind);

struct Caveat {
  CaveatKind kind;
  std::string text;                  // one line for people
  std::vector<std::string> figures;  // the keys of the rows it concerns, in table order
  std::vector<std::string> columns;  // the labels of the columns it concerns, in table order
};

// Free space that differs by more than this share of the file system's size is worth a caveat.
inline constexpr double FreeSpacePoints = 10;

// The caveats of `table`, built from `runs` grouped into `columns`, in the order of CaveatKind.
std::vector<Caveat> Caveats(const std::vector<RunRecord>& runs, const std::vector<Column>& columns,
                            const ComparisonTable& table);
