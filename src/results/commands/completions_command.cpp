#include "results/commands/commands.h"
#include "results/completions/completion_scripts.h"

int CompletionsCommand(const CommandTree& tree, const std::string& shell, Streams streams) {
  const NamedShell* named = FindShell(shell);
  if (named == nullptr) {
    std::string names;
    for (const std::string& name : CompletionShellNames()) {
      names += (names.empty() ? "" : ", ") + name;
    }
    streams.err << Program << "no completions for that shell; there are: " << names << "\n";
    return 2;
  }
  streams.out << named->write(tree);
  return Written(streams.out, streams.err) ? 0 : 1;
}
