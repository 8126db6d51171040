// Reads what the benchmark wrote: a results file (LF or CR LF line ends) or a saved console
// transcript, for any number of workers. A file cut short gives what it holds and is marked
// incomplete; a file that is not a report gives an error naming the line and what was expected.
#pragma once

#include <cstddef>
#include <istream>
#include <optional>
#include <string>

#include "results/record/run_record.h"

// Lines longer than this are no report line: the file is refused at the first one, unread beyond.
inline constexpr std::size_t MaxLineLength = 4096;

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

// The run's local date (YYYY-MM-DD) and time (HH:MM:SS) from a results file's name; false when
// the name does not have the benchmark's shape.
bool DateFromResultsName(const std::string& name, std::string& date, std::string& time);
