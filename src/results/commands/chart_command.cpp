#include <filesystem>
#include <sstream>

#include "contract/file_names.h"
#include "results/commands/commands.h"
#include "results/output/formats.h"
#include "results/reading/results_file.h"
#include "results/record/text_safety.h"
#include "results/system/whole_file.h"

namespace fs = std::filesystem;

namespace {

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

int ChartCommand(const std::vector<std::string>& files, const std::vector<std::string>& labels,
                 const std::string& output, bool each, Streams streams, double thresholdPercent,
                 const std::string& baseline) {
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
  ReadFiles read = ReadAll(files, labels, each, streams.err);
  if (read.runs.empty()) {
    return 1;
  }
  if (!PutBaselineFirst(read.columns, baseline, streams.err)) {
    return 2;
  }
  std::error_code error;
  if (!WriteWholeFile(target,
                      WriteSvg(Compare(read.runs, read.labels, read.columns, thresholdPercent)),
                      error)) {
    streams.err << EscapeControls(output) << ": cannot be written: " << error.message() << "\n";
    return 1;
  }
  return read.allRead ? 0 : 1;
}
