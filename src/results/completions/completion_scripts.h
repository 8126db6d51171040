// The shells `completions` writes a script for, by name, each a writer over the command tree.
// Each script completes the commands, their options, the values of the options and the
// commands' arguments as the tree describes them.
#pragma once

#include <string>
#include <vector>

#include "results/completions/command_tree.h"

std::string WriteBashCompletion(const CommandTree& tree);
std::string WriteZshCompletion(const CommandTree& tree);
std::string WriteFishCompletion(const CommandTree& tree);
std::string WritePowerShellCompletion(const CommandTree& tree);

using CompletionWriter = std::string (*)(const CommandTree& tree);
struct NamedShell {
  const char* name;
  CompletionWriter write;
};
const std::vector<NamedShell>& CompletionShells();
std::vector<std::string> CompletionShellNames();
// nullptr for a name that is no shell of the list.
const NamedShell* FindShell(const std::string& name);

// The names drives-tesk gives its results files, as a shell pattern without the blanks that a
// shell would need quoted: "results_drives_tesk_windows*.txt".
std::string ResultsFilePattern();

// The names of an identifier the shell scripts define, made of the program's name: every
// character but letters and digits becomes '_' ("drives-tesk-results" -> "drives_tesk_results").
std::string ScriptIdentifier(const std::string& program);
