// Reads a report by the layout the benchmark writes it with: a results file, or a console
// transcript (which opens with an empty line), for any number of workers.
#pragma once

#include <string>

#include "results/reading/line_source.h"
#include "results/record/run_record.h"

enum class ReportState {
  Complete,  // every line of the layout, and nothing after
  CutShort,  // the input ended inside the report (a stopped run, a full disk)
  Mismatch,  // a line is not what the report has there
};

struct ParsedReport {
  ReportState state = ReportState::Complete;
  int line = 0;         // Mismatch: the line, 1-based; 0 for an empty file
  std::string message;  // Mismatch: what was expected and found
};

// Fills `record` with what the lines hold, as far as they follow the layout.
ParsedReport ParseReport(LineSource& lines, RunRecord& record);
