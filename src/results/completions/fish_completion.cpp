// The fish script: one `complete` line per command name, option and argument kind, each under a
// condition that names the command given so far.
#include <sstream>

#include "results/completions/completion_scripts.h"

namespace {

// `text` as one single-quoted fish word.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'' || c == '\\') {
      quoted += '\\';
    }
    quoted += c;
  }
  return quoted + "'";
}

// A shell pattern (only '*' special) as a regular expression for one path's last part.
std::string PatternRegex(const std::string& pattern) {
  std::string regex = "^(?:.*/)?";
  for (const char c : pattern) {
    if (c == '*') {
      regex += "[^/]*";
    } else {
      if (std::string(".^$|?+()[]{}\\").find(c) != std::string::npos) {
        regex += '\\';
      }
      regex += c;
    }
  }
  return regex + "$";
}

// What `complete` offers for `value`: " -a WORDS", " -k -a '(FUNCTION)'" (in that order),
// " -F" for any file, "" for nothing.
std::string Offered(const ValueShape& value, const std::string& identifier) {
  switch (value.kind) {
    case ValueKind::Choice: {
      std::string words;
      for (const std::string& choice : value.choices) {
        words += (words.empty() ? "" : " ") + choice;
      }
      return " -a " + Quoted(words);
    }
    case ValueKind::Directory:
      return " -a '(__fish_complete_directories)'";
    case ValueKind::ResultsFile:
      return " -k -a '(__" + identifier + "_results_files)'";
    case ValueKind::AnyFile:
      return " -F";
    case ValueKind::None:
    case ValueKind::Text:
      break;
  }
  return "";
}

// An option's value: -r (it takes one), -x (and no file names but those offered).
std::string OptionValue(const ValueShape& value, const std::string& identifier) {
  if (value.kind == ValueKind::None) {
    return "";
  }
  return (value.kind == ValueKind::AnyFile ? " -r" : " -x") + Offered(value, identifier);
}

void WriteOptions(std::ostream& out, const std::string& start,
                  const std::vector<OptionNode>& options, const std::string& identifier) {
  for (const OptionNode& option : options) {
    out << start;
    for (const std::string& name : option.names) {
      out << (name.rfind("--", 0) == 0 ? " -l " + name.substr(2) : " -s " + name.substr(1));
    }
    out << OptionValue(option.value, identifier) << " -d " << Quoted(option.description) << "\n";
  }
}

}  // namespace

std::string WriteFishCompletion(const CommandTree& tree) {
  const std::string identifier = ScriptIdentifier(tree.program);
  const std::string in = "__" + identifier + "_in";
  const std::string complete = "complete -c " + tree.program;
  std::ostringstream out;
  out << "# fish completion for " << tree.program << ", written by `" << tree.program
      << " completions fish`\n"
      << "# from the program's own command line: generate it anew rather than edit it.\n"
      << "\n"
      << "# True when the command given so far is $argv[1] ('' before one is given): the first\n"
      << "# word after the program that is no option, as the program's own options take no value.\n"
      << "function " << in << "\n"
      << "    set -l words (commandline -opc)\n"
      << "    set -e words[1]\n"
      << "    for word in $words\n"
      << "        if not string match -q -- '-*' $word\n"
      << "            test \"$word\" = \"$argv[1]\"\n"
      << "            return\n"
      << "        end\n"
      << "    end\n"
      << "    test -z \"$argv[1]\"\n"
      << "end\n"
      << "\n"
      << "# Results files first, then directories, then every file (for complete -k): the paths\n"
      << "# fish offers for the current word, as it offers them to a command it knows nothing of.\n"
      << "function __" << identifier << "_results_files\n"
      << "    set -l word (commandline -ct)\n"
      << "    set -l paths (complete -C \"__" << identifier << "_no_such_command $word\")\n"
      << "    string match -r -- " << Quoted(PatternRegex(ResultsFilePattern())) << " $paths\n"
      << "    string match -- '*/' $paths\n"
      << "    printf '%s\\n' $paths\n"
      << "end\n"
      << "\n"
      << "# No file names but where a command takes them.\n"
      << complete << " -f\n"
      << "\n";
  const std::string top = complete + " -n " + Quoted(in + " \"\"");
  WriteOptions(out, top, tree.options, identifier);
  for (const CommandNode& command : tree.commands) {
    if (!command.hidden) {
      out << top << " -a " << Quoted(command.name) << " -d " << Quoted(command.description) << "\n";
    }
  }
  for (const CommandNode& command : tree.commands) {
    const std::string start = complete + " -n " + Quoted(in + " " + command.name);
    out << "\n";
    WriteOptions(out, start, command.options, identifier);
    const std::string offered = Offered(command.argument, identifier);
    if (!offered.empty()) {
      out << start << offered << "\n";
    }
  }
  return out.str();
}
