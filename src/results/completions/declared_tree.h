// Reads the completion tree from the command line as declared with CLI11: every command, option,
// flag and description comes from there. What an option's value is (a format name, a directory,
// a file) is told where the option is declared, through ValueHints.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "results/completions/command_tree.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

class ValueHints {
 public:
  // Returns `option`, so that its declaration goes on: hints.Complete(app->add_option(...),
  // ...)->check(...). An option that takes a value and has no hint takes free text.
  CLI::Option* Complete(CLI::Option* option, ValueKind kind, std::vector<std::string> choices = {});
  // The hint given for `option`, or nullptr.
  const ValueShape* Find(const CLI::Option* option) const;

 private:
  std::map<const CLI::Option*, ValueShape> hints_;
};

// Options left out of --help (in no group) are left out here too; commands left out of --help
// are kept, marked hidden.
CommandTree DeclaredTree(const std::string& program, const CLI::App& app, const ValueHints& hints);
