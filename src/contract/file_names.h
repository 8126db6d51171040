// The names of the files a run leaves, and the closing line that names the results file: made
// by the benchmark, recognised and dated by drives-tesk-results.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

// The results file's name: the name format filled with the local date and time.
inline constexpr const char* ResultsNameFormat = "results_drives_tesk_windows @ %s";
inline constexpr const char* ResultsNamePrefix = "results_drives_tesk_windows @ ";
inline constexpr const char* DateFormat = "local date %Y.%m.%d time %H.%M.%S.txt";

// What `drives-tesk-results run` keeps beside each results file R ("... time T.txt"): the console
// transcript "... time T.console.txt" and the run's context "... time T.context.json".
inline constexpr const char* TranscriptSuffix = ".console.txt";
inline constexpr const char* ContextSuffix = ".context.json";

// Scratch files, all relative to the working directory.
inline constexpr const char* ScratchFileName = "data64-Windows.tmp";
inline constexpr const char* BlockCopyFileName = "data64-Windows";
inline constexpr const char* WorkerFilePrefix = "data64-Windows-";
// The descriptor phase's per-worker files differ from the others by the lower-case w, on purpose:
// on a case-sensitive file system they never collide with the stream phase's files.
inline constexpr const char* WorkerDescriptorFilePrefix = "data64-windows-";
inline constexpr const char* WorkerFileSuffix = ".tmp";

// The date text and the results file's name for the local time `local` (the date text stays as
// it was when `local` is null), each cut to its buffer.
void FormatResultsName(const std::tm* local, char* date, std::size_t dateSize, char* name,
                       std::size_t nameSize);
std::string ResultsNameFor(const std::tm& local);

// True for a transcript or context file of `run`: never a results file of its own.
bool IsRunCompanionName(const std::string& name);
// True for a name that starts as a results file's does.
bool HasResultsPrefix(const std::string& name);
// A results file's name: the prefix, and no transcript or context file.
bool IsResultsName(const std::string& name);

// The run's local date (YYYY-MM-DD) and time (HH:MM:SS) from a results file's name, read by the
// date format itself; false when the name does not have that shape.
bool DateFromResultsName(const std::string& name, std::string& date, std::string& time);

// The results file's name from the console's closing line ("Results have been saved ...: " and
// the path, or the line for a file that could not be saved); false for any other line.
bool ResultsNameOnClosingLine(const std::string& line, std::string& name);

// The name of R's transcript or context file (the same folder): R's ".txt" replaced.
std::string BesideResults(const std::string& resultsPath, const char* suffix);

// A worker's scratch name: prefix, the worker's number, suffix.
std::string WorkerScratchName(const char* prefix, int worker, const char* suffix = "");
// The 4 MiB scratch files a run of `workers` workers leaves: the source and its copy of the single
// thread and of each worker.
constexpr unsigned long long ScratchFileCount(int workers) {
  return 2 + 2 * static_cast<unsigned long long>(workers);
}
// Every scratch name a run can leave: the single-thread files and those of workers 0 to
// ThreadCap - 1, sorted.
std::vector<std::string> ScratchNames();
