// The commands of drives-tesk-results, with their streams passed in: the program's main only
// declares the command line, and the tests call the commands in-process.
#pragma once

#include <string>
#include <vector>

#include "results/commands/present.h"
#include "results/completions/command_tree.h"

// `show`: the files (default: every results file of the current directory) compared in `format`
// (text, markdown, csv, json, html), repeats of one directory grouped unless `each`, every column
// against the one `baseline` picks (default: the first); `title` heads the page (default: "A
// compared with B"). 0 when every file was read and the output written; 2 when `baseline` picks
// no column.
int ShowCommand(const std::vector<std::string>& files, const std::vector<std::string>& labels,
                const std::string& format, bool each, Streams streams,
                double thresholdPercent = DefaultThresholdPercent, const std::string& baseline = "",
                const std::string& title = "");

// `chart`: the SVG into `output`, never over an input, a results file or a directory; written
// beside it first and renamed, so a failed write leaves an existing file as it was.
int ChartCommand(const std::vector<std::string>& files, const std::vector<std::string>& labels,
                 const std::string& output, bool each, Streams streams,
                 double thresholdPercent = DefaultThresholdPercent,
                 const std::string& baseline = "");

// `clean`: lists the scratch files of `directory`; removes them with `yes`.
int CleanCommand(const std::string& directory, bool yes, Streams streams);

// `completions` (left out of --help): the script that teaches `shell` (bash, zsh, fish,
// powershell) to complete the command line `tree`, on the output. 2 for a shell of no script.
int CompletionsCommand(const CommandTree& tree, const std::string& shell, Streams streams);
