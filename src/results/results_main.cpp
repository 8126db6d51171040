// drives-tesk-results: reads the results files of drives-tesk, compares them, charts them and
// cleans up the scratch files the benchmark leaves.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "report/report_texts.h"
#include "results/results_chart.h"
#include "results/results_formats.h"
#include "results/results_reader.h"
#include "results/results_table.h"
#include "results/scratch_cleaner.h"

namespace {

// Every results file of the current directory, oldest first: the name carries the run's date and
// time, so name order is time order.
std::vector<std::string> ResultsFilesHere() {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(".", error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(ResultsNamePrefix, 0) == 0) {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct ReadFiles {
  std::vector<RunRecord> runs;
  std::vector<std::string> labels;
  bool allRead = true;
};

// Reads every file; a file that is not a report is named on standard error and left out, and the
// others are still read.
ReadFiles ReadAll(std::vector<std::string> files, const std::vector<std::string>& labels) {
  ReadFiles read;
  if (files.empty()) {
    files = ResultsFilesHere();
    if (files.empty()) {
      std::cerr << "drives-tesk-results: no results files in the current directory\n";
      read.allRead = false;
    }
  }
  if (labels.size() > files.size()) {
    std::cerr << "drives-tesk-results: " << labels.size() << " labels for " << files.size()
              << " files\n";
    read.allRead = false;
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    ReadOutcome outcome = ReadResultsFile(files[i]);
    if (outcome.error) {
      std::cerr << FormatError(*outcome.error) << "\n";
      read.allRead = false;
      continue;
    }
    read.labels.push_back(i < labels.size() ? labels[i] : DefaultLabel(*outcome.record));
    read.runs.push_back(std::move(*outcome.record));
  }
  return read;
}

int Show(const std::vector<std::string>& files, const std::vector<std::string>& labels,
         const std::string& format) {
  const ReadFiles read = ReadAll(files, labels);
  if (!read.runs.empty()) {
    const ComparisonTable table = BuildTable(read.runs, read.labels);
    if (format == "json") {
      std::cout << FormatJson(read.runs, read.labels);
    } else if (format == "csv") {
      std::cout << FormatCsv(table, read.runs);
    } else if (format == "markdown") {
      std::cout << FormatMarkdown(table);
    } else {
      std::cout << FormatText(table);
    }
  }
  return read.allRead ? 0 : 1;
}

int Chart(const std::vector<std::string>& files, const std::vector<std::string>& labels,
          const std::string& output) {
  const ReadFiles read = ReadAll(files, labels);
  if (read.runs.empty()) {
    return 1;
  }
  std::ofstream out(output, std::ios::out | std::ios::binary | std::ios::trunc);
  out << RenderChart(BuildTable(read.runs, read.labels));
  out.close();
  if (!out) {
    std::cerr << output << ": cannot be written\n";
    return 1;
  }
  return read.allRead ? 0 : 1;
}

int Clean(const std::string& directory, bool yes) {
  std::string error;
  const std::vector<ScratchFile> found = FindScratchFiles(directory, error);
  if (!error.empty()) {
    std::cerr << error << "\n";
    return 1;
  }
  std::uintmax_t total = 0;
  for (const ScratchFile& file : found) {
    std::cout << file.name << "  " << file.size << " bytes\n";
    total += file.size;
  }
  std::cout << found.size() << " scratch files, " << total << " bytes in all";
  if (found.empty() || !yes) {
    std::cout << (found.empty() || yes ? "" : "; run again with --yes to remove them") << "\n";
    return 0;
  }
  const std::vector<std::string> failures = RemoveScratchFiles(directory, found);
  std::cout << ", " << found.size() - failures.size() << " removed\n";
  for (const std::string& failure : failures) {
    std::cerr << failure << "\n";
  }
  return failures.empty() ? 0 : 1;
}

int Run(int argc, char** argv) {
  CLI::App app{
      "Shows, compares and charts the results files of drives-tesk, and removes the "
      "scratch files it leaves."};
  app.set_version_flag("--version", DRIVES_TESK_VERSION);
  app.require_subcommand(1);

  std::vector<std::string> files;
  std::vector<std::string> labels;
  std::string format = "text";
  CLI::App* show = app.add_subcommand(
      "show", "Show the figures of results files side by side, with the change against the first");
  show->add_option("files", files,
                   "Results files or console transcripts (default: every results file in the "
                   "current directory, oldest first)");
  show->add_option("--label", labels, "Name the columns, in file order (repeat for each file)")
      ->allow_extra_args(false);
  show->add_option("--format", format, "Output: text (aligned, default), markdown, csv or json")
      ->check(CLI::IsMember({"text", "markdown", "csv", "json"}));

  std::string output;
  CLI::App* chart = app.add_subcommand("chart", "Draw the figures as bar charts into one SVG file");
  chart->add_option("files", files, "Results files or console transcripts (default: as show)");
  chart->add_option("--label", labels, "Name the bars, in file order (repeat for each file)")
      ->allow_extra_args(false);
  chart->add_option("--output,-o", output, "The SVG file to write")->required();

  std::string directory = ".";
  bool yes = false;
  CLI::App* clean = app.add_subcommand(
      "clean", "List the scratch files the benchmark left in a directory; remove them with --yes");
  clean->add_option("directory", directory, "The directory (default: the current one)");
  clean->add_flag("--yes,-y", yes, "Remove the files listed");

  CLI11_PARSE(app, argc, argv);

  if (show->parsed()) {
    return Show(files, labels, format);
  }
  if (chart->parsed()) {
    return Chart(files, labels, output);
  }
  return Clean(directory, yes);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (...) {
    // Out of memory, or a file system failing in a way the commands do not expect.
    std::cerr << "drives-tesk-results: unexpected failure\n";
    return 1;
  }
}
