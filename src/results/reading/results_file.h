// Reads what the benchmark wrote: a results file (LF or CR LF line ends) or a saved console
// transcript, for any number of workers. A file cut short gives what it holds and is marked
// incomplete; a file that is not a report gives an error naming the line and what was expected.
#pragma once

#include <istream>
#include <optional>
#include <string>

#include "results/reading/line_source.h"
#include "results/record/run_record.h"

struct ReadError {
  std::string path;
  int line = 0;  // 1-based; 0 when the file could not be opened
  std::string message;
};

// "path:line: message", the form compilers use, so editors can jump to the line.
std::string FormatError(const ReadError& error);

struct ReadOutcome {
  std::optional<RunRecord> record;  // set when the file is a report, complete or not
  std::optional<ReadError> error;   // set when it is not
};

// A results file or transcript as Windows tools may save it too: UTF-8 with or without a
// byte-order mark, or UTF-16 little-endian with one. The file is looked at before it is opened:
// a directory, a FIFO or a device is refused with the reason, never opened.
ReadOutcome ReadResultsFile(const std::string& path);
ReadOutcome ReadResults(std::istream& in, const std::string& path);
