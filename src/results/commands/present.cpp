#include "results/commands/present.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "contract/file_names.h"
#include "results/comparing/baseline.h"
#include "results/reading/beside_files.h"
#include "results/reading/results_file.h"
#include "results/reading/results_listing.h"
#include "results/record/text_safety.h"

namespace fs = std::filesystem;

std::vector<std::string> ResultsFilesHere(std::ostream& err, bool& ok) {
  std::error_code error;
  std::vector<std::string> names = ResultsNamesIn(".", error);
  if (error) {
    err << Program << "the current directory cannot be read: " << error.message() << "\n";
    ok = false;
  }
  return names;
}

const NamedFormat* FormatNamed(const std::string& name, std::ostream& err) {
  const NamedFormat* format = FindFormat(name);
  if (format == nullptr) {
    err << Program << "no output format " << EscapeControls(name) << "\n";
  }
  return format;
}

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
  // `results*.txt` matches the transcripts beside the results files too: one named with its
  // results file is read as part of it, not as a run of its own.
  std::vector<std::string> beside;
  for (const std::string& file : files) {
    if (IsResultsName(fs::u8path(file).filename().u8string())) {
      beside.push_back(BesideResults(file, TranscriptSuffix));
    }
  }
  files.erase(std::remove_if(files.begin(), files.end(),
                             [&beside](const std::string& file) {
                               return std::find(beside.begin(), beside.end(), file) != beside.end();
                             }),
              files.end());
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

bool PutBaselineFirst(std::vector<Column>& columns, const std::string& baseline,
                      std::ostream& err) {
  // Without columns there is nothing to reorder; the reading said why there are none.
  if (baseline.empty() || columns.empty()) {
    return true;
  }
  const std::string wanted = EscapeControls(baseline);
  const std::size_t found = FindBaseline(columns, wanted);
  if (found < columns.size()) {
    MoveToFront(columns, found);
    return true;
  }
  err << Program << "--baseline \"" << wanted << "\": no column has that label; the labels:";
  for (std::size_t c = 0; c < columns.size(); ++c) {
    err << (c == 0 ? " \"" : ", \"") << columns[c].label << "\"";
  }
  err << "\n";
  return false;
}

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

bool Present(const NamedFormat& format, const Comparison& comparison, Streams streams) {
  streams.out << format.write(comparison);
  return Written(streams.out, streams.err);
}
