// The whole run: thread count, results file, banner, every test phase in its fixed order, the
// closing lines and the wait for Enter.
#pragma once

#include <string>

// Runs the benchmark once; the return value is the process's exit status.
int RunDrivesTesk();

// Reads the runtime's thread count, caps it at ThreadCap and hands it back to the runtime.
void SetThreadCount();

// Names the results file after the local date and time and opens ResultsLog on it.
void OpenResultsFile();

// The banner on both channels, the cap message when it applies, and the single-thread label.
void ReportBanner();

// The three parallel regions, each followed by its summary.
void RunParallelPhases();

// The first two of them: the file-handling tests with every worker busy.
void RunParallelFileCyclePhases();

// The results file's path as the closing line shows it: the directory, one backslash, the name.
std::string JoinResultsPath(const char* directory, const char* fileName);

// Closes ResultsLog, names the file on the console (saying so when it could not be written
// completely), asks for Enter and reads one character.
void CloseRun();
