// The command line as a shell completes it: the program's commands, their options, and what kind
// of value each option and each command's arguments take. The tree is read from the command line
// the program declares (declared_tree.h), so the completion scripts cannot drift from it.
#pragma once

#include <string>
#include <vector>

#include "results/record/program_name.h"

enum class ValueKind {
  None,         // a flag: takes no value
  Text,         // free text or a number: nothing to offer
  Choice,       // one of `choices`
  Directory,    // a directory
  ResultsFile,  // a results file first, any file where none matches
  AnyFile,
};

struct ValueShape {
  ValueKind kind = ValueKind::None;
  std::vector<std::string> choices;  // for Choice
};

struct OptionNode {
  std::vector<std::string> names;  // as typed: long names first ("--output", "-o")
  std::string description;
  ValueShape value;
  bool repeats = false;  // may be given more than once
};

struct CommandNode {
  std::string name;
  std::string description;
  bool hidden = false;  // left out of --help, and out of the command names a shell offers
  std::vector<OptionNode> options;
  // The arguments that are not options; `value.kind` None when the command takes none.
  std::string argumentName;
  ValueShape argument;
  bool manyArguments = false;
};

struct CommandTree {
  std::string program;
  std::vector<OptionNode> options;  // the program's own (--help, --version)
  std::vector<CommandNode> commands;
};
