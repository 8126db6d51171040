#include "results/completions/completion_scripts.h"

#include "contract/file_names.h"

const std::vector<NamedShell>& CompletionShells() {
  static const std::vector<NamedShell> shells = {
      {"bash", WriteBashCompletion},
      {"zsh", WriteZshCompletion},
      {"fish", WriteFishCompletion},
      {"powershell", WritePowerShellCompletion},
  };
  return shells;
}

std::vector<std::string> CompletionShellNames() {
  std::vector<std::string> names;
  for (const NamedShell& shell : CompletionShells()) {
    names.emplace_back(shell.name);
  }
  return names;
}

const NamedShell* FindShell(const std::string& name) {
  for (const NamedShell& shell : CompletionShells()) {
    if (name == shell.name) {
      return &shell;
    }
  }
  return nullptr;
}

std::string ScriptIdentifier(const std::string& program) {
  std::string identifier = program;
  for (char& c : identifier) {
    const bool letterOrDigit =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!letterOrDigit) {
      c = '_';
    }
  }
  return identifier;
}

std::string ResultsFilePattern() {
  const std::string prefix = ResultsNamePrefix;
  const std::string date = DateFormat;
  return prefix.substr(0, prefix.find(' ')) + "*" + date.substr(date.rfind('.'));
}
