// drives-tesk-results: reads the results files of drives-tesk, compares them, charts them and
// cleans up the scratch files the benchmark leaves.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "contract/constants.h"
#include "results/commands/commands.h"
#include "results/commands/run_command.h"
#include "results/output/formats.h"
#include "results/system/command_line.h"

namespace {

int Run(int argc, char** argv) {
  CLI::App app{
      "Runs drives-tesk repeatedly, shows, compares and charts its results files, and removes "
      "the scratch files it leaves."};
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
  // A label is free text, but one that starts with "--" is an option whose label was forgotten.
  const CLI::Validator notAnOption(
      [](std::string& value) {
        return value.rfind("--", 0) == 0 ? "a label, not the option " + value : std::string();
      },
      "LABEL");
  show->add_option("--label", labels, "Name the columns, in file order (repeat for each file)")
      ->allow_extra_args(false)
      ->check(notAnOption);
  std::vector<std::string> formatNames;
  for (const NamedFormat& named : OutputFormats()) {
    formatNames.emplace_back(named.name);
  }
  show->add_option("--format", format, "Output: text (aligned, default), markdown, csv or json")
      ->check(CLI::IsMember(formatNames));
  bool each = false;
  const char* eachHelp =
      "Every run its own column (default: repeats of one directory as one column, their median)";
  show->add_flag("--each", each, eachHelp);

  std::string output;
  CLI::App* chart = app.add_subcommand("chart", "Draw the figures as bar charts into one SVG file");
  chart->add_option("files", files, "Results files or console transcripts (default: as show)");
  chart->add_option("--label", labels, "Name the bars, in file order (repeat for each file)")
      ->allow_extra_args(false)
      ->check(notAnOption);
  chart->add_option("--output,-o", output, "The SVG file to write")->required();
  chart->add_flag("--each", each, eachHelp);

  std::string directory = ".";
  bool yes = false;
  CLI::App* clean = app.add_subcommand(
      "clean", "List the scratch files the benchmark left in a directory; remove them with --yes");
  clean->add_option("directory", directory, "The directory (default: the current one)");
  clean->add_flag("--yes,-y", yes, "Remove the files listed");

  RunCommandOptions run;
  CLI::App* runCommand = app.add_subcommand(
      "run", "Run drives-tesk in each directory, repeated and interleaved, and compare the runs");
  runCommand->add_option("directories", run.directories,
                         "Directories to measure (default: the current one)");
  runCommand->add_option("--repeat", run.repeat, "Runs per directory (default 3)")
      ->check(CLI::Range(1, 100));
  runCommand
      ->add_option("--threads", run.threads,
                   "Workers of the multi-thread phase (sets OMP_NUM_THREADS; default: as the "
                   "environment says)")
      ->check(CLI::Range(1, ThreadCap));
  runCommand->add_option("--benchmark", run.benchmark,
                         "The drives-tesk to run (default: the one beside this program, else "
                         "the one on PATH)");
  runCommand->add_flag("--keep-scratch", run.keepScratch,
                       "Leave the benchmark's scratch files (default: removed at the end)");
  runCommand->add_option("--format", run.format, "The comparison: as show --format")
      ->check(CLI::IsMember(formatNames));

  // CLI11 takes a vector of arguments last first.
  std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  std::reverse(arguments.begin(), arguments.end());
  try {
    app.parse(arguments);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  }
  files = ExpandWildcards(files);

  const Streams streams{std::cout, std::cerr};
  if (show->parsed()) {
    return ShowCommand(files, labels, format, each, streams);
  }
  if (chart->parsed()) {
    return ChartCommand(files, labels, output, each, streams);
  }
  if (runCommand->parsed()) {
    return RunCommand(run, streams);
  }
  return CleanCommand(directory, yes, streams);
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
