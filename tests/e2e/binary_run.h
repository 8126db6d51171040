// Runs the built drives-tesk binary as a user would, in a directory of the test's choosing, with a
// pinned environment, and keeps what it printed.
#pragma once

#include <string>
#include <vector>

struct BinaryRun {
  int exitStatus = -1;  // the exit code, or -1 when the process did not exit normally
  std::string console;  // standard output
  std::string errors;   // standard error
};

struct RunOptions {
  std::string directory;               // the working directory of the run
  std::vector<std::string> variables;  // NAME=value pairs; the rest of the environment is dropped
  std::string input;                   // standard input; empty means at end of input at once
};

BinaryRun RunDrivesTeskBinary(const RunOptions& options);

// The results file a run left in `directory` (its one file named results_drives_tesk_windows @...).
std::vector<std::string> ResultsFilesIn(const std::string& directory);
