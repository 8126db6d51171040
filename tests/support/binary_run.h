// Runs the built drives-tesk binary as a user would, in a directory of the test's choosing, with a
// pinned environment, and keeps what it printed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct BinaryRun {
  int exitStatus = -1;  // the exit code, or -1 when the process did not exit normally
  std::string console;  // standard output
  std::string errors;   // standard error
};

// Where standard output goes. Windows runs support File only.
enum class ConsoleKind {
  File,        // a file the test reads back
  ClosedPipe,  // a pipe whose reading end is already closed
  Full,        // /dev/full: every write fails
};

struct RunOptions {
  std::string directory;               // the working directory of the run
  std::vector<std::string> variables;  // NAME=value pairs; the rest of the environment is dropped
  std::string input;                   // standard input; empty means at end of input at once
  ConsoleKind console = ConsoleKind::File;
  bool closedInput = false;  // standard input not open at all (POSIX only)
  // The directory is removed after the run has entered it and before the program starts, so
  // nothing can be created in it and it has no name any more (POSIX only).
  bool removeDirectory = false;
  // A file-size limit in bytes (ulimit -f), with SIGXFSZ at its default action; -1: none (POSIX
  // only).
  std::int64_t fileSizeLimit = -1;
  std::string program = DRIVES_TESK_BINARY;  // the benchmark unless a test names another
  std::vector<std::string> arguments{};      // after the program's name
};

// A started run. Standard output and error go to files beside the run's directory, so they can
// be read while the run goes on. Starting, waiting for and stopping the process are the platform's
// own (binary_run_posix.cpp, binary_run_windows.cpp); the rest is shared.
class RunningBinary {
 public:
  explicit RunningBinary(const RunOptions& options);
  ~RunningBinary();
  RunningBinary(const RunningBinary&) = delete;
  RunningBinary& operator=(const RunningBinary&) = delete;

  std::string ConsoleSoFar() const;
  // Waits until the console shows `text` or `seconds` have passed; true when it showed it.
  bool WaitForConsole(const std::string& text, double seconds) const;
  // Waits for the end of the run.
  BinaryRun Wait();
  // Ends the run at once and returns what it had printed.
  BinaryRun Stop();
  // Sends a POSIX signal; Windows runs take none.
  void Signal(int signal) const;

 private:
  // The files of standard input, output and error, beside the run's directory.
  void PrepareFiles(const RunOptions& options);
  void ReadOutputs(BinaryRun& run) const;

  // The process: its id on POSIX, its handle on Windows; -1 when there is none.
  std::intptr_t child_ = -1;
  std::string outPath_, errPath_, inPath_;
};

BinaryRun RunDrivesTeskBinary(const RunOptions& options);

// drives-tesk-results with `arguments`, in `directory`, with only `variables` in its environment.
RunOptions Companion(const std::string& directory, std::vector<std::string> arguments,
                     std::vector<std::string> variables = {});

// The results files a run left in `directory` (named results_drives_tesk_windows @ ...).
std::vector<std::string> ResultsFilesIn(const std::string& directory);
