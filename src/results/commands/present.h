// What the commands share: their streams, the results files read and grouped into columns, and
// the comparison written to the output.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "results/comparing/comparison_table.h"
#include "results/output/formats.h"
#include "results/record/program_name.h"
#include "results/record/run_record.h"

struct Streams {
  std::ostream& out;  // what the command produces
  std::ostream& err;  // what went wrong, one message a line
};

// The format of that name; nullptr, said on `err`, for a name that is no format.
const NamedFormat* FormatNamed(const std::string& name, std::ostream& err);

struct ReadFiles {
  std::vector<RunRecord> runs;
  std::vector<std::string> labels;
  std::vector<Column> columns;
  bool allRead = true;
};

// Every results file of the current directory, oldest first: the name carries the run's date and
// time, so name order is time order. An unreadable directory is said on `err`.
std::vector<std::string> ResultsFilesHere(std::ostream& err, bool& ok);

// Reads every file (default: those of the current directory); a file that is not a report is
// named on `err` and left out, and the others are still read. Labels and names are made safe for
// every output here, once. Repeats are grouped unless `each`.
ReadFiles ReadAll(std::vector<std::string> files, const std::vector<std::string>& labels, bool each,
                  std::ostream& err);

// The column `baseline` picks (see PicksLabel) moved to the front, where every other is compared
// with it; nothing moved for an empty `baseline` or no columns. False, with the labels there are
// on `err`, when it picks no column.
bool PutBaselineFirst(std::vector<Column>& columns, const std::string& baseline, std::ostream& err);

// The output flushed; a failed write (a full disk, /dev/full) is said on `err`.
bool Written(std::ostream& out, std::ostream& err);

// `comparison` in `format` on the output; false when it could not be written.
bool Present(const NamedFormat& format, const Comparison& comparison, Streams streams);
