// The bash script: one function that finds the command among the words typed so far and fills
// COMPREPLY from a case per command, and a helper that completes paths.
#include <sstream>

#include "results/completions/completion_scripts.h"

namespace {

// `text` as one single-quoted word.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

std::string Words(const std::vector<std::string>& words) {
  std::string joined;
  for (const std::string& word : words) {
    joined += (joined.empty() ? "" : " ") + word;
  }
  return Quoted(joined);
}

std::vector<std::string> NamesOf(const std::vector<OptionNode>& options) {
  std::vector<std::string> names;
  for (const OptionNode& option : options) {
    names.insert(names.end(), option.names.begin(), option.names.end());
  }
  return names;
}

// The statement that completes "$cur" as `value`; ":" where nothing can be offered.
std::string Completion(const ValueShape& value, const std::string& paths) {
  switch (value.kind) {
    case ValueKind::Choice:
      return "COMPREPLY=($(compgen -W " + Words(value.choices) + " -- \"$cur\"))";
    case ValueKind::Directory:
      return paths + " dirs \"$cur\"";
    case ValueKind::ResultsFile:
      return paths + " results \"$cur\"";
    case ValueKind::AnyFile:
      return paths + " files \"$cur\"";
    case ValueKind::None:
    case ValueKind::Text:
      break;
  }
  return ":";
}

std::string Patterns(const std::vector<std::string>& names) {
  std::string patterns;
  for (const std::string& name : names) {
    patterns += (patterns.empty() ? "" : " | ") + name;
  }
  return patterns;
}

void WriteCommandCase(std::ostream& out, const CommandNode& command, const std::string& paths) {
  out << "    " << Quoted(command.name) << ")\n";
  std::vector<std::string> cases;
  std::vector<std::string> freeText;
  for (const OptionNode& option : command.options) {
    const std::string completion = Completion(option.value, paths);
    if (option.value.kind == ValueKind::None) {
      continue;
    }
    if (completion == ":") {
      freeText.insert(freeText.end(), option.names.begin(), option.names.end());
    } else {
      cases.push_back("        " + Patterns(option.names) + ")\n          " + completion +
                      "\n          return\n          ;;\n");
    }
  }
  if (!freeText.empty()) {
    cases.push_back("        " + Patterns(freeText) +
                    ")\n          return # free text: nothing to offer\n          ;;\n");
  }
  if (!cases.empty()) {
    out << "      case $prev in\n";
    for (const std::string& entry : cases) {
      out << entry;
    }
    out << "      esac\n";
  }
  out << "      if [[ $cur == -* ]]; then\n"
      << "        COMPREPLY=($(compgen -W " << Words(NamesOf(command.options)) << " -- \"$cur\"))\n"
      << "      else\n"
      << "        " << Completion(command.argument, paths) << "\n"
      << "      fi\n"
      << "      ;;\n";
}

}  // namespace

std::string WriteBashCompletion(const CommandTree& tree) {
  const std::string function = "_" + ScriptIdentifier(tree.program);
  const std::string paths = function + "_paths";
  std::vector<std::string> commandNames;
  for (const CommandNode& command : tree.commands) {
    if (!command.hidden) {
      commandNames.push_back(command.name);
    }
  }
  std::ostringstream out;
  out << "# bash completion for " << tree.program << ", written by `" << tree.program
      << " completions bash`\n"
      << "# from the program's own command line: generate it anew rather than edit it.\n"
      << "\n"
      << "# Fills COMPREPLY with the paths that complete the word $2, taken as the shell will "
         "pass\n"
      << "# it (quotes and backslashes off): \"dirs\" directories, \"files\" every file, "
         "\"results\"\n"
      << "# results files and directories, or every file where none of those matches.\n"
      << paths << "() {\n"
      << "  local word= i name\n"
      << "  for ((i = 0; i < ${#2}; i++)); do\n"
      << "    case ${2:i:1} in\n"
      << "      \\\\) ((i++)); word+=${2:i:1} ;;\n"
      << "      \\' | \\\") ;;\n"
      << "      *) word+=${2:i:1} ;;\n"
      << "    esac\n"
      << "  done\n"
      << "  COMPREPLY=()\n"
      << "  # Quote what is inserted and mark directories; only possible while completing.\n"
      << "  compopt -o filenames 2>/dev/null\n"
      << "  if [[ $1 == dirs ]]; then\n"
      << "    while IFS= read -r name; do COMPREPLY+=(\"$name\"); done < <(compgen -d -- "
         "\"$word\")\n"
      << "    return 0\n"
      << "  fi\n"
      << "  while IFS= read -r name; do\n"
      << "    if [[ $1 == files || -d $name || ${name##*/} == " << ResultsFilePattern()
      << " ]]; then\n"
      << "      COMPREPLY+=(\"$name\")\n"
      << "    fi\n"
      << "  done < <(compgen -f -- \"$word\")\n"
      << "  if [[ $1 == results && ${#COMPREPLY[@]} == 0 ]]; then\n"
      << "    " << paths << " files \"$2\"\n"
      << "  fi\n"
      << "}\n"
      << "\n"
      << function << "() {\n"
      << "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command= i\n"
      << "  # --option=value arrives split at the '=' (COMP_WORDBREAKS).\n"
      << "  if [[ $cur == = ]]; then\n"
      << "    cur=\n"
      << "  elif [[ $prev == = ]]; then\n"
      << "    prev=${COMP_WORDS[COMP_CWORD-2]}\n"
      << "  fi\n"
      << "  # The command is the first word after the program that is no option: the program's "
         "own\n"
      << "  # options take no value.\n"
      << "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
      << "    if [[ ${COMP_WORDS[i]} != -* ]]; then\n"
      << "      command=${COMP_WORDS[i]}\n"
      << "      break\n"
      << "    fi\n"
      << "  done\n"
      << "  COMPREPLY=()\n"
      << "  case $command in\n"
      << "    '')\n"
      << "      if [[ $cur == -* ]]; then\n"
      << "        COMPREPLY=($(compgen -W " << Words(NamesOf(tree.options)) << " -- \"$cur\"))\n"
      << "      else\n"
      << "        COMPREPLY=($(compgen -W " << Words(commandNames) << " -- \"$cur\"))\n"
      << "      fi\n"
      << "      ;;\n";
  for (const CommandNode& command : tree.commands) {
    WriteCommandCase(out, command, paths);
  }
  out << "  esac\n"
      << "}\n"
      << "\n"
      << "complete -F " << function << " " << tree.program << "\n";
  return out.str();
}
