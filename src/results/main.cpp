// drives-tesk-results: runs drives-tesk repeatedly, reads its results files, compares them,
// charts them and cleans up the scratch files the benchmark leaves. This file only declares the
// command line; each command's work is a library function that takes its streams.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "contract/constants.h"
#include "results/commands/commands.h"
#include "results/commands/run_command.h"
#include "results/comparing/comparison_table.h"
#include "results/completions/completion_scripts.h"
#include "results/completions/declared_tree.h"
#include "results/output/formats.h"
#include "results/system/command_line.h"
#include "results/system/standard_streams.h"

namespace {

using Command = std::function<int(Streams)>;

const char* EachHelp =
    "Every run its own column (default: repeats of one directory as one column, their median)";

// A label is free text, but one that starts with "--" is an option whose label was forgotten.
const CLI::Validator NotAnOption(
    [](std::string& value) {
      return value.rfind("--", 0) == 0 ? "a label, not the option " + value : std::string();
    },
    "LABEL");

std::vector<std::string> FormatNames() {
  std::vector<std::string> names;
  for (const NamedFormat& named : OutputFormats()) {
    names.emplace_back(named.name);
  }
  return names;
}

struct Inputs {
  std::vector<std::string> files;
  std::vector<std::string> labels;
  bool each = false;
  double threshold = DefaultThresholdPercent;
  std::string title;
};

const char* TitleHelp = "The heading of the html page (default: \"A compared with B\")";

const char* ThresholdHelp =
    "Changes whose 95% interval stays within this many percent either way are the same "
    "(default 3)";

void AddThreshold(CLI::App* command, double& threshold) {
  command->add_option("--threshold", threshold, ThresholdHelp)
      ->check(CLI::Range(0.0, MaxThresholdPercent));
}

// Every option and argument is declared once, here; `hints` says what a shell may offer for the
// values of those that take one, and the completion scripts are read from the declarations.
Command AddShow(CLI::App& app, ValueHints& hints) {
  auto inputs = std::make_shared<Inputs>();
  auto format = std::make_shared<std::string>("text");
  CLI::App* show = app.add_subcommand(
      "show", "Show the figures of results files side by side, with the change against the first");
  hints.Complete(show->add_option("files", inputs->files,
                                  "Results files or console transcripts (default: every results "
                                  "file in the current directory, oldest first)"),
                 ValueKind::ResultsFile);
  show->add_option("--label", inputs->labels,
                   "Name the columns, in file order (repeat for each file)")
      ->allow_extra_args(false)
      ->check(NotAnOption);
  hints
      .Complete(show->add_option("--format", *format,
                                 "Output: text (aligned, default), markdown, csv, json or html "
                                 "(one self-contained page)"),
                ValueKind::Choice, FormatNames())
      ->check(CLI::IsMember(FormatNames()));
  show->add_flag("--each", inputs->each, EachHelp);
  AddThreshold(show, inputs->threshold);
  show->add_option("--title", inputs->title, TitleHelp);
  return [show, inputs, format](Streams streams) {
    return show->parsed() ? ShowCommand(ExpandWildcards(inputs->files), inputs->labels, *format,
                                        inputs->each, streams, inputs->threshold, inputs->title)
                          : -1;
  };
}

Command AddChart(CLI::App& app, ValueHints& hints) {
  auto inputs = std::make_shared<Inputs>();
  auto output = std::make_shared<std::string>();
  CLI::App* chart = app.add_subcommand("chart", "Draw the figures as bar charts into one SVG file");
  hints.Complete(chart->add_option("files", inputs->files,
                                   "Results files or console transcripts (default: as show)"),
                 ValueKind::ResultsFile);
  chart
      ->add_option("--label", inputs->labels, "Name the bars, in file order (repeat for each file)")
      ->allow_extra_args(false)
      ->check(NotAnOption);
  hints
      .Complete(chart->add_option("--output,-o", *output, "The SVG file to write"),
                ValueKind::AnyFile)
      ->required();
  chart->add_flag("--each", inputs->each, EachHelp);
  AddThreshold(chart, inputs->threshold);
  return [chart, inputs, output](Streams streams) {
    return chart->parsed() ? ChartCommand(ExpandWildcards(inputs->files), inputs->labels, *output,
                                          inputs->each, streams, inputs->threshold)
                           : -1;
  };
}

Command AddClean(CLI::App& app, ValueHints& hints) {
  auto directory = std::make_shared<std::string>(".");
  auto yes = std::make_shared<bool>(false);
  CLI::App* clean = app.add_subcommand(
      "clean", "List the scratch files the benchmark left in a directory; remove them with --yes");
  hints.Complete(
      clean->add_option("directory", *directory, "The directory (default: the current one)"),
      ValueKind::Directory);
  clean->add_flag("--yes,-y", *yes, "Remove the files listed");
  return [clean, directory, yes](Streams streams) {
    return clean->parsed() ? CleanCommand(*directory, *yes, streams) : -1;
  };
}

Command AddRun(CLI::App& app, ValueHints& hints) {
  auto run = std::make_shared<RunCommandOptions>();
  CLI::App* command = app.add_subcommand(
      "run", "Run drives-tesk in each directory, repeated and interleaved, and compare the runs");
  hints.Complete(command->add_option("directories", run->directories,
                                     "Directories to measure (default: the current one)"),
                 ValueKind::Directory);
  command->add_option("--label", run->labels, "Name the columns, once per DIR in order")
      ->allow_extra_args(false)
      ->check(NotAnOption);
  command->add_option("--repeat", run->repeat, "Runs per directory (default 5)")
      ->check(CLI::Range(1, 100));
  command
      ->add_option("--threads", run->threads,
                   "Workers of the multi-thread phase (sets OMP_NUM_THREADS; default: as the "
                   "environment says)")
      ->check(CLI::Range(1, ThreadCap));
  hints.Complete(command->add_option("--benchmark", run->benchmark,
                                     "The drives-tesk to run (default: the one beside this "
                                     "program, else the one on PATH)"),
                 ValueKind::AnyFile);
  command
      ->add_option("--timeout", run->timeoutSeconds,
                   "Stop a run that takes longer than this many seconds; the others go on "
                   "(default: no limit)")
      ->check(CLI::PositiveNumber);
  command->add_flag("--keep-scratch", run->keepScratch,
                    "Leave the benchmark's scratch files (default: removed at the end)");
  hints
      .Complete(command->add_option("--format", run->format, "The comparison: as show --format"),
                ValueKind::Choice, FormatNames())
      ->check(CLI::IsMember(FormatNames()));
  AddThreshold(command, run->thresholdPercent);
  command->add_option("--title", run->title, TitleHelp);
  return [command, run](Streams streams) {
    return command->parsed() ? RunCommand(*run, streams) : -1;
  };
}

// Hidden from --help: `completions bash` prints the script that completes this command line.
Command AddCompletions(CLI::App& app, ValueHints& hints) {
  auto shell = std::make_shared<std::string>();
  CLI::App* completions =
      app.add_subcommand("completions",
                         "Print the script that completes this command line in a "
                         "shell: bash, zsh, fish or powershell")
          ->group("");
  hints
      .Complete(completions->add_option("shell", *shell, "bash, zsh, fish or powershell"),
                ValueKind::Choice, CompletionShellNames())
      ->required()
      ->check(CLI::IsMember(CompletionShellNames()));
  return [&app, &hints, completions, shell](Streams streams) {
    return completions->parsed()
               ? CompletionsCommand(DeclaredTree(ProgramName, app, hints), *shell, streams)
               : -1;
  };
}

int Main(int argc, char** argv) {
  CLI::App app{
      "Runs drives-tesk repeatedly, shows, compares and charts its results files, and removes "
      "the scratch files it leaves."};
  app.set_version_flag("--version", DRIVES_TESK_VERSION);
  app.require_subcommand(1);
  ValueHints hints;
  const Command commands[] = {AddShow(app, hints), AddChart(app, hints), AddClean(app, hints),
                              AddRun(app, hints), AddCompletions(app, hints)};

  // CLI11 takes a vector of arguments last first.
  std::vector<std::string> arguments = Utf8Arguments(argc, argv);
  std::reverse(arguments.begin(), arguments.end());
  try {
    app.parse(arguments);
  } catch (const CLI::ParseError& error) {
    // CLI11 prints the help, the version or the message; a usage error exits 2, as command-line
    // tools do, not with CLI11's own codes.
    const int status = app.exit(error, StandardOutput(), StandardError());
    return status == 0 ? 0 : 2;
  }
  const Streams streams{StandardOutput(), StandardError()};
  for (const Command& command : commands) {
    const int status = command(streams);
    if (status >= 0) {
      streams.out.flush();
      return status;
    }
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Main(argc, argv);
  } catch (...) {
    // Out of memory, or a file system failing in a way the commands do not expect.
    StandardError() << "drives-tesk-results: unexpected failure\n";
    return 1;
  }
}
