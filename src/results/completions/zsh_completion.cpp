// The zsh script: _arguments for the program's own options and the command, then _arguments for
// the options and arguments of the command given. It loads through $fpath (#compdef) and when
// sourced after compinit.
#include <sstream>

#include "results/completions/completion_scripts.h"

namespace {

// `text` inside a single-quoted word.
std::string InQuotes(const std::string& text) {
  std::string quoted;
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted;
}

// `text` with the characters that _arguments and _describe read as syntax escaped.
std::string Escaped(const std::string& text, const std::string& special) {
  std::string escaped;
  for (const char c : text) {
    if (special.find(c) != std::string::npos) {
      escaped += '\\';
    }
    escaped += c;
  }
  return escaped;
}

std::string Message(const std::string& text) {
  return Escaped(text, "\\:");
}

// The action that completes a value of `value`.
std::string Action(const ValueShape& value) {
  switch (value.kind) {
    case ValueKind::Choice: {
      std::string words;
      for (const std::string& choice : value.choices) {
        words += (words.empty() ? "" : " ") + Escaped(choice, "\\:() '\"$`");
      }
      return "(" + words + ")";
    }
    case ValueKind::Directory:
      return "_files -/";
    case ValueKind::ResultsFile:
      return std::string("_files -g \"") + ResultsFilePattern() + "\"";
    case ValueKind::AnyFile:
      return "_files";
    case ValueKind::None:
    case ValueKind::Text:
      break;
  }
  return " ";
}

// One option as _arguments entries, quoted for the shell: '--format=[Output]:format:(text csv)',
// '(-o --output)'{-o+,--output=}'[The SVG file]:output:_files' for several names.
std::string OptionEntry(const OptionNode& option) {
  const bool takesValue = option.value.kind != ValueKind::None;
  std::vector<std::string> names;
  std::string exclusions;
  for (const std::string& name : option.names) {
    const bool isLong = name.rfind("--", 0) == 0;
    names.push_back(name + (takesValue ? (isLong ? "=" : "+") : ""));
    exclusions += (exclusions.empty() ? "" : " ") + name;
  }
  std::string entry = "'";
  if (option.repeats) {
    entry += "*";
  } else if (names.size() > 1) {
    entry += "(" + InQuotes(exclusions) + ")";
  }
  if (names.size() == 1) {
    entry += InQuotes(names.front());
  } else {
    // Brace expansion gives each name the same entry; option names need no quotes.
    std::string list;
    for (const std::string& name : names) {
      list += (list.empty() ? "" : ",") + name;
    }
    entry += "'{" + list + "}'";
  }
  entry += "[" + InQuotes(Escaped(option.description, "\\[]")) + "]";
  if (takesValue) {
    const std::string& first = option.names.front();
    entry += ":" + InQuotes(Message(first.substr(first.find_first_not_of('-')))) + ":" +
             InQuotes(Action(option.value));
  }
  return entry + "'";
}

std::string ArgumentEntry(const CommandNode& command) {
  return std::string("'") + (command.manyArguments ? "*" : "") + ":" +
         InQuotes(Message(command.argumentName)) + ":" + InQuotes(Action(command.argument)) + "'";
}

void WriteArguments(std::ostream& out, const std::string& indent,
                    const std::vector<std::string>& entries) {
  out << indent << "_arguments -C";
  for (const std::string& entry : entries) {
    out << " \\\n" << indent << "  " << entry;
  }
  out << " && ret=0\n";
}

}  // namespace

std::string WriteZshCompletion(const CommandTree& tree) {
  const std::string function = "_" + tree.program;
  std::ostringstream out;
  out << "#compdef " << tree.program << "\n"
      << "# zsh completion for " << tree.program << ", written by `" << tree.program
      << " completions zsh`\n"
      << "# from the program's own command line: generate it anew rather than edit it.\n"
      << "\n"
      << function << "() {\n"
      << "  local curcontext=$curcontext state line ret=1\n"
      << "  typeset -A opt_args\n";
  std::vector<std::string> entries;
  for (const OptionNode& option : tree.options) {
    entries.push_back(OptionEntry(option));
  }
  entries.emplace_back("': :->command'");
  entries.emplace_back("'*:: :->argument'");
  WriteArguments(out, "  ", entries);
  out << "  case $state in\n"
      << "    (command)\n"
      << "      local -a commands\n"
      << "      commands=(\n";
  for (const CommandNode& command : tree.commands) {
    if (!command.hidden) {
      out << "        '" << InQuotes(Escaped(command.name, "\\:")) << ":"
          << InQuotes(command.description) << "'\n";
    }
  }
  out << "      )\n"
      << "      _describe -t commands command commands && ret=0\n"
      << "      ;;\n"
      << "    (argument)\n"
      << "      curcontext=${curcontext%:*:*}:" << tree.program << "-$words[1]:\n"
      << "      case $words[1] in\n";
  for (const CommandNode& command : tree.commands) {
    out << "        (" << Escaped(command.name, "\\()|*?[]<>'\" ") << ")\n";
    entries.clear();
    for (const OptionNode& option : command.options) {
      entries.push_back(OptionEntry(option));
    }
    if (command.argument.kind != ValueKind::None) {
      entries.push_back(ArgumentEntry(command));
    }
    WriteArguments(out, "          ", entries);
    out << "          ;;\n";
  }
  out << "      esac\n"
      << "      ;;\n"
      << "  esac\n"
      << "  return ret\n"
      << "}\n"
      << "\n"
      << "# Loaded from $fpath, this file is the completion function's body; sourced, it declares "
         "it.\n"
      << "if [[ $funcstack[1] == " << function << " ]]; then\n"
      << "  " << function << " \"$@\"\n"
      << "else\n"
      << "  compdef " << function << " " << tree.program << "\n"
      << "fi\n";
  return out.str();
}
