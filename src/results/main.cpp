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
#include "results/commands/until_decided.h"
#include "results/comparing/comparison_table.h"
#include "results/completions/completion_scripts.h"
#include "results/completions/declared_tree.h"
#include "results/output/formats.h"
#include "results/running/budget.h"
#include "results/running/progress_line.h"
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

struct Inputs {
  std::vector<std::string> files;
  std::vector<std::string> labels;
  bool each = false;
  double threshold = DefaultThresholdPercent;
  std::string baseline;
  std::string title;
};

const char* ThresholdHelp =
    "Changes whose 95% interval stays within this many percent either way are the same "
    "(default 3)";

CLI::Option* AddThreshold(CLI::App* command, double& threshold) {
  return command->add_option("--threshold", threshold, ThresholdHelp)
      ->check(CLI::Range(0.0, MaxThresholdPercent));
}

CLI::Option* AddBaseline(CLI::App* command, std::string& baseline) {
  return command
      ->add_option("--baseline", baseline,
                   "The column every other is compared with, by its label or the label's first "
                   "words (default: the first column)")
      ->check(NotAnOption);
}

CLI::Option* AddTitle(CLI::App* command, std::string& title) {
  return command->add_option("--title", title,
                             "The heading of the html page (default: \"A compared with B\")");
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
  AddBaseline(show, inputs->baseline);
  AddTitle(show, inputs->title);
  return [show, inputs, format](Streams streams) {
    return show->parsed()
               ? ShowCommand(ExpandWildcards(inputs->files), inputs->labels, *format, inputs->each,
                             streams, inputs->threshold, inputs->baseline, inputs->title)
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
  AddBaseline(chart, inputs->baseline);
  return [chart, inputs, output](Streams streams) {
    return chart->parsed()
               ? ChartCommand(ExpandWildcards(inputs->files), inputs->labels, *output, inputs->each,
                              streams, inputs->threshold, inputs->baseline)
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
  // The help lists the options in three groups: what runs, how it is compared, how it is shown.
  const char* runs = "Runs";
  const char* comparison = "Comparison";
  const char* output = "Output";
  CLI::Option* repeat =
      command->add_option("--repeat", run->repeat, "Runs per directory (default 5)")
          ->check(CLI::Range(1, 100))
          ->group(runs);
  command
      ->add_flag("--until-decided", run->untilDecided,
                 "Rounds of one run per directory until every figure of interest is decided "
                 "(paired by round, looked at after each), out of reach, or a limit is met")
      ->excludes(repeat)
      ->group(runs);
  command
      ->add_option("--max-runs", run->maxRounds,
                   "With --until-decided: at most this many rounds (default 30)")
      ->check(CLI::Range(FewestMaxRounds, MostMaxRounds))
      ->group(runs);
  command
      ->add_option_function<std::string>(
          "--budget", [run](const std::string& text) { run->budgetSeconds = ParseBudget(text); },
          "With --until-decided: start no round expected to end past this time (90s, 30m, "
          "1h30m, or seconds)")
      ->check(CLI::Validator(
          [](std::string& text) {
            return ParseBudget(text) > 0 ? std::string()
                                         : "a duration such as 90s, 30m, 1h30m or 600, not " + text;
          },
          "DURATION"))
      ->group(runs);
  command
      ->add_option("--decide", run->decide,
                   "With --until-decided: the figures that hold the session, by their CSV keys "
                   "(default: the rates, single thread and all workers, timed long enough to "
                   "trust)")
      ->delimiter(',')
      ->check(CLI::Validator([](std::string& key) { return UnknownFigureKeys({key}); }, "KEY"))
      ->group(comparison);
  command
      ->add_option("--threads", run->threads,
                   "Workers of the multi-thread phase (sets OMP_NUM_THREADS; default: as the "
                   "environment says)")
      ->check(CLI::Range(1, ThreadCap))
      ->group(runs);
  hints
      .Complete(command->add_option("--benchmark", run->benchmark,
                                    "The drives-tesk to run (default: the one beside this "
                                    "program, else the one on PATH)"),
                ValueKind::AnyFile)
      ->group(runs);
  command
      ->add_option("--timeout", run->timeoutSeconds,
                   "Stop a run that takes longer than this many seconds; the others go on "
                   "(default: no limit)")
      ->check(CLI::PositiveNumber)
      ->group(runs);
  command
      ->add_flag("--keep-scratch", run->keepScratch,
                 "Leave the benchmark's scratch files (default: removed at the end)")
      ->group(runs);
  AddThreshold(command, run->thresholdPercent)->group(comparison);
  AddBaseline(command, run->baseline)->group(comparison);
  command->add_option("--label", run->labels, "Name the columns, once per DIR in order")
      ->allow_extra_args(false)
      ->check(NotAnOption)
      ->group(output);
  std::vector<std::string> progressModes(std::begin(ProgressModeNames),
                                         std::end(ProgressModeNames));
  hints
      .Complete(command->add_option("--progress", run->progress,
                                    "While it runs: auto (a status line on a terminal and a line "
                                    "per run), json (JSON Lines on standard error) or none"),
                ValueKind::Choice, progressModes)
      ->check(CLI::IsMember(progressModes))
      ->group(output);
  hints
      .Complete(command->add_option("--format", run->format, "The comparison: as show --format"),
                ValueKind::Choice, FormatNames())
      ->check(CLI::IsMember(FormatNames()))
      ->group(output);
  AddTitle(command, run->title)->group(output);
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
      "the scratch files it leaves.",
      "drives-tesk-results"};
  app.set_version_flag("--version", std::string("drives-tesk-results ") + DRIVES_TESK_VERSION);
  app.require_subcommand(1);
  ValueHints hints;
  const Command commands[] = {AddShow(app, hints), AddChart(app, hints), AddClean(app, hints),
                              AddRun(app, hints), AddCompletions(app, hints)};
  // After the commands, so that only the program's own help ends with it.
  app.footer(
      "Examples:\n"
      "  drives-tesk-results run /mnt/ssd/bench /media/usb/bench --label ssd --label usb\n"
      "  drives-tesk-results show --baseline usb ssd/results*.txt usb/results*.txt\n"
      "\n"
      "The manual page tells more: man drives-tesk-results");

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
