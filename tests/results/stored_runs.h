// What the tests of drives-tesk-results share: the results files and transcripts of real runs
// kept in tests/data/results, runs made from them, the commands run in-process, and the golden
// files of whole outputs.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "results/commands/commands.h"
#include "results/output/formats.h"
#include "results/reading/results_file.h"
#include "support/line_patterns.h"

// A stored run by folder and the start of the file's name ("results_", "console").
inline std::string StoredRun(const std::string& folder, const std::string& prefix = "results_") {
  namespace fs = std::filesystem;
  for (const auto& entry : fs::directory_iterator(fs::path(DRIVES_TESK_TEST_DATA) / folder)) {
    if (entry.path().filename().string().rfind(prefix, 0) == 0) {
      return entry.path().string();
    }
  }
  ADD_FAILURE() << "no " << prefix << " in " << folder;
  return {};
}

// The stored 1-worker run as if measured in `directory`, every rate times `factor`.
inline RunRecord Scaled(const std::string& directory, double factor) {
  RunRecord run = *ReadResultsFile(StoredRun("linux-1-worker")).record;
  run.path = directory + "/results_drives_tesk_windows @ local date 2026.12.08 time 10.50.46.txt";
  auto scale = [factor](auto& figures) {
    figures.filesPerSecond *= factor;
    figures.millionsPerSecond *= factor;
    figures.megabytesPerSecond *= factor;
  };
  for (Figures& figures : run.single) {
    scale(figures);
  }
  for (auto& worker : run.workers) {
    for (Figures& figures : worker.second) {
      scale(figures);
    }
  }
  for (OverallFigures& overall : run.overall) {
    scale(overall);
  }
  return run;
}

// A command run in-process: its exit status and what it wrote on each stream.
struct Outcome {
  int status;
  std::string out, err;
};

inline Outcome Show(const std::vector<std::string>& files, const std::string& format = "text",
                    const std::vector<std::string>& labels = {}, const std::string& baseline = "") {
  std::ostringstream out, err;
  const int status =
      ShowCommand(files, labels, format, false, {out, err}, DefaultThresholdPercent, baseline);
  return {status, out.str(), err.str()};
}

inline Outcome Chart(const std::vector<std::string>& files, const std::string& output,
                     const std::vector<std::string>& labels = {},
                     const std::string& baseline = "") {
  std::ostringstream out, err;
  const int status =
      ChartCommand(files, labels, output, false, {out, err}, DefaultThresholdPercent, baseline);
  return {status, out.str(), err.str()};
}

// Every format and the chart of `comparison`, compared whole with tests/data/golden/NAME.FORMAT.
// After a deliberate change of an output, run with DRIVES_TESK_UPDATE_GOLDEN=1 to write them
// anew, and read the diff.
inline void ExpectGoldenOutputs(const std::string& name, const Comparison& comparison) {
  std::vector<std::pair<std::string, std::string>> outputs;
  for (const NamedFormat& format : OutputFormats()) {
    outputs.emplace_back(format.name, format.write(comparison));
  }
  outputs.emplace_back("svg", WriteSvg(comparison));
  const bool update = std::getenv("DRIVES_TESK_UPDATE_GOLDEN") != nullptr;
  for (const auto& [format, output] : outputs) {
    const std::string golden = std::string(DRIVES_TESK_GOLDEN) + "/" + name + "." + format;
    if (update) {
      WriteTextFile(golden, output);
    }
    EXPECT_EQ(output, ReadWholeFile(golden)) << format << " differs from " << golden;
  }
}
