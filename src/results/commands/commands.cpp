#include "results/commands/commands.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "contract/file_names.h"
#include "contract/report_texts.h"
#include "results/comparing/comparison_table.h"
#include "results/output/formats.h"
#include "results/reading/beside_files.h"
#include "results/reading/results_file.h"
#include "results/reading/scratch_files.h"
#include "results/record/text_safety.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* Program = "drives-tesk-results: ";

struct ReadFiles {
  std::vector<RunRecord> runs;
  std::vector<std::string> labels;
  std::vector<Column> columns;
  bool allRead = true;
};

// Every results file of the current directory, oldest first: the name carries the run's date and
// time, so name order is time order. An unreadable directory is said on `err`.
std::vector<std::string> ResultsFilesHere(std::ostream& err, bool& ok) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entries(".", error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    const std::string name = entries->path().filename().u8string();
    if (IsResultsName(name)) {
      names.push_back(name);
    }
  }
  if (error) {
    err << Program << "the current directory cannot be read: " << error.message() << "\n";
    ok = false;
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Reads every file; a file that is not a report is named on `err` and left out, and the others
// are still read. Labels and names are made safe for every output here, once.
ReadFiles ReadAll(std::vector<std::string> files, const std::vector<std::string>& labels, bool each,
                  std::ostream& err) {
  ReadFiles read;
  if (files.empty()) {
    files = ResultsFilesHere(err, read.allRead);
    if (files.empty() && read.allRead) {
      err << Program << "no results files in the current directory\n";
      read.allRead = false;
    }
  }
  if (labels.size() > files.size()) {
    err << Program << labels.size() << " labels for " << files.size() << " files\n";
    read.allRead = false;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    ReadOutcome outcome = ReadRun(files[i]);
    if (outcome.error) {
      err << FormatError(*outcome.error) << "\n";
      read.allRead = false;
      continue;
    }
    RunRecord& run = *outcome.record;
    read.labels.push_back(EscapeControls(i < labels.size() ? labels[i] : DefaultLabel(run)));
    run.path = EscapeControls(run.path);
    read.runs.push_back(std::move(run));
  }
  read.columns =
      each ? EachRun(read.labels) : GroupRepeats(read.runs, read.labels, !labels.empty());
  return read;
}

// A failed write of the output (a full disk, /dev/full) is a failure of the command.
bool Written(std::ostream& out, std::ostream& err) {
  errno = 0;
  out.flush();
  if (out) {
    return true;
  }
  const int reason = errno;
  err << Program << "the output could not be written"
      << (reason != 0 ? std::string(": ") + std::strerror(reason) : std::string()) << "\n";
  return false;
}

// Why `target` must not be written over; empty when it may.
std::string OverwriteRefusal(const fs::path& target, const std::vector<std::string>& inputs) {
  std::error_code error;
  const fs::file_status status = fs::status(target, error);
  if (error || !fs::exists(status)) {
    return "";
  }
  if (fs::is_directory(status)) {
    return "is a directory";
  }
  if (!fs::is_regular_file(status)) {
    return "is not a regular file";
  }
  for (const std::string& input : inputs) {
    if (fs::equivalent(target, fs::u8path(input), error)) {
      return "is one of the files to chart";
    }
  }
  if (HasResultsPrefix(target.filename().u8string()) || !ReadResultsFile(target.u8string()).error) {
    return "is a results file or console transcript of drives-tesk";
  }
  return "";
}

}  // namespace

int ShowCommand(const std::vector<std::string>& files, const std::vector<std::string>& labels,
                const std::string& format, bool each, Streams streams) {
  const NamedFormat* writer = FindFormat(format);
  if (writer == nullptr) {
    streams.err << Program << "no output format " << EscapeControls(format) << "\n";
    return 2;
  }
  const ReadFiles read = ReadAll(files, labels, each, streams.err);
  streams.out << writer->write(Compare(read.runs, read.labels, read.columns));
  const bool written = Written(streams.out, streams.err);
  return read.allRead && written ? 0 : 1;
}

int ChartCommand(const std::vector<std::string>& files, const std::vector<std::string>& labels,
                 const std::string& output, bool each, Streams streams) {
  const fs::path target = fs::u8path(output);
  std::vector<std::string> inputs = files;
  if (inputs.empty()) {
    bool ignored = true;
    std::ostringstream quiet;
    inputs = ResultsFilesHere(quiet, ignored);
  }
  const std::string refusal = OverwriteRefusal(target, inputs);
  if (!refusal.empty()) {
    streams.err << EscapeControls(output) << ": " << refusal << "; not written\n";
    return 1;
  }
  const ReadFiles read = ReadAll(files, labels, each, streams.err);
  if (read.runs.empty()) {
    return 1;
  }
  std::random_device seed;
  const fs::path temporary = target.parent_path() / ("." + target.filename().u8string() + "." +
                                                     std::to_string(seed() % 1000000000U) + ".tmp");
  std::error_code error;
  {
    std::ofstream out(temporary, std::ios::out | std::ios::binary | std::ios::trunc);
    out << WriteSvg(Compare(read.runs, read.labels, read.columns));
    out.close();
    if (out) {
      fs::rename(temporary, target, error);
    } else {
      error = std::make_error_code(std::errc::io_error);
    }
  }
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    streams.err << EscapeControls(output) << ": cannot be written: " << error.message() << "\n";
    return 1;
  }
  return read.allRead ? 0 : 1;
}

int CleanCommand(const std::string& directory, bool yes, Streams streams) {
  std::string error;
  const std::vector<ScratchFile> found = FindScratchFiles(directory, error);
  if (!error.empty()) {
    streams.err << EscapeControls(error) << "\n";
    return 1;
  }
  std::uintmax_t total = 0;
  for (const ScratchFile& file : found) {
    streams.out << file.name << "  " << file.size << " bytes\n";
    total += file.size;
  }
  streams.out << found.size() << " scratch files, " << total << " bytes in all";
  if (found.empty() || !yes) {
    streams.out << (found.empty() || yes ? "" : "; run again with --yes to remove them") << "\n";
    return Written(streams.out, streams.err) ? 0 : 1;
  }
  const std::vector<std::string> failures = RemoveScratchFiles(directory, found);
  streams.out << ", " << found.size() - failures.size() << " removed\n";
  for (const std::string& failure : failures) {
    streams.err << EscapeControls(failure) << "\n";
  }
  return failures.empty() && Written(streams.out, streams.err) ? 0 : 1;
}
