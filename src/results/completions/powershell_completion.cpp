// The PowerShell script: a native argument completer over a table of the commands, their options
// and what each value is, read by one script block that finds the command typed so far.
#include <sstream>

#include "results/completions/completion_scripts.h"

namespace {

// `text` as a single-quoted PowerShell string; PowerShell also closes such a string at the
// typographic single quotes, so those are doubled too.
std::string Quoted(const std::string& text) {
  static const std::string quotes[] = {"'", "\xe2\x80\x98", "\xe2\x80\x99", "\xe2\x80\x9a",
                                       "\xe2\x80\x9b"};
  std::string quoted = "'";
  for (std::size_t at = 0; at < text.size();) {
    bool isQuote = false;
    for (const std::string& quote : quotes) {
      if (text.compare(at, quote.size(), quote) == 0) {
        quoted += quote + quote;
        at += quote.size();
        isQuote = true;
        break;
      }
    }
    if (!isQuote) {
      quoted += text[at++];
    }
  }
  return quoted + "'";
}

std::string List(const std::vector<std::string>& items) {
  std::string list = "@(";
  for (const std::string& item : items) {
    list += (list.size() > 2 ? ", " : "") + Quoted(item);
  }
  return list + ")";
}

const char* KindName(ValueKind kind) {
  switch (kind) {
    case ValueKind::None:
      return "none";
    case ValueKind::Text:
      return "text";
    case ValueKind::Choice:
      return "choice";
    case ValueKind::Directory:
      return "directory";
    case ValueKind::ResultsFile:
      return "results-file";
    case ValueKind::AnyFile:
      return "file";
  }
  return "text";
}

void WriteEntry(std::ostream& out, const std::string& name, const std::vector<OptionNode>& options,
                const std::string& argument, const std::vector<std::string>& choices) {
  out << "        " << Quoted(name) << " = @{\n"
      << "            Options = @(\n";
  for (const OptionNode& option : options) {
    out << "                @{ Names = " << List(option.names) << "; Description = "
        << Quoted(option.description.empty() ? option.names.front() : option.description)
        << "; Value = " << Quoted(KindName(option.value.kind))
        << "; Choices = " << List(option.value.choices) << " }\n";
  }
  out << "            )\n"
      << "            Argument = " << Quoted(argument) << "; Choices = " << List(choices) << "\n"
      << "        }\n";
}

}  // namespace

std::string WritePowerShellCompletion(const CommandTree& tree) {
  std::ostringstream out;
  out << "# PowerShell completion for " << tree.program << ", written by `" << tree.program
      << " completions powershell`\n"
      << "# from the program's own command line: generate it anew rather than edit it.\n"
      << "# Load it from your profile (notepad $PROFILE) with a line such as\n"
      << "#     . C:\\Tools\\" << tree.program << ".ps1\n"
      << "# (the folder this file is in), or in the current session with . .\\" << tree.program
      << ".ps1\n"
      << "\n"
      << "Register-ArgumentCompleter -Native -CommandName " << Quoted(tree.program) << ", "
      << Quoted(tree.program + ".exe") << " -ScriptBlock {\n"
      << "    param($wordToComplete, $commandAst, $cursorPosition)\n"
      << "\n"
      << "    # Per command ('' before one is given): its options, each with its names, its\n"
      << "    # description and its value (none for a flag, text, choice, directory, results-file\n"
      << "    # or file), and what its arguments are.\n"
      << "    $commands = @{\n";
  WriteEntry(out, "", tree.options, "command", {});
  for (const CommandNode& command : tree.commands) {
    WriteEntry(out, command.name, command.options, KindName(command.argument.kind),
               command.argument.choices);
  }
  out << "    }\n"
      << "    $commandNames = @(\n";
  for (const CommandNode& command : tree.commands) {
    if (!command.hidden) {
      out << "        @{ Name = " << Quoted(command.name)
          << "; Description = " << Quoted(command.description) << " }\n";
    }
  }
  out << "    )\n"
      << "\n"
      << "    # The words before the one completed; the command is the first after the program\n"
      << "    # that is no option, as the program's own options take no value.\n"
      << "    $before = @($commandAst.CommandElements |\n"
      << "        Where-Object { $_.Extent.EndOffset -lt $cursorPosition } |\n"
      << "        ForEach-Object { $_.Extent.Text })\n"
      << "    $command = ''\n"
      << "    for ($i = 1; $i -lt $before.Count; $i++) {\n"
      << "        if (-not $before[$i].StartsWith('-')) {\n"
      << "            $command = $before[$i]\n"
      << "            break\n"
      << "        }\n"
      << "    }\n"
      << "    $entry = $commands[$command]\n"
      << "    if ($null -eq $entry) {\n"
      << "        return\n"
      << "    }\n"
      << "    $previous = ''\n"
      << "    if ($before.Count -gt 1) {\n"
      << "        $previous = $before[$before.Count - 1]\n"
      << "    }\n"
      << "    $ordinal = [System.StringComparison]::Ordinal\n"
      << "\n"
      << "    $value = $null\n"
      << "    foreach ($option in $entry.Options) {\n"
      << "        if ($option.Value -ne 'none' -and $option.Names -ccontains $previous) {\n"
      << "            $value = $option\n"
      << "        }\n"
      << "    }\n"
      << "    if ($null -eq $value -and $wordToComplete.StartsWith('-')) {\n"
      << "        foreach ($option in $entry.Options) {\n"
      << "            foreach ($name in $option.Names) {\n"
      << "                if ($name.StartsWith($wordToComplete, $ordinal)) {\n"
      << "                    [System.Management.Automation.CompletionResult]::new(\n"
      << "                        $name, $name, 'ParameterName', $option.Description)\n"
      << "                }\n"
      << "            }\n"
      << "        }\n"
      << "        return\n"
      << "    }\n"
      << "    $kind = $entry.Argument\n"
      << "    $choices = $entry.Choices\n"
      << "    if ($null -ne $value) {\n"
      << "        $kind = $value.Value\n"
      << "        $choices = $value.Choices\n"
      << "    }\n"
      << "    $paths = @()\n"
      << "    if ($kind -eq 'directory' -or $kind -eq 'results-file' -or $kind -eq 'file') {\n"
      << "        $paths = "
         "@([System.Management.Automation.CompletionCompleters]::CompleteFilename(\n"
      << "            $wordToComplete))\n"
      << "    }\n"
      << "    switch ($kind) {\n"
      << "        'command' {\n"
      << "            foreach ($entry in $commandNames) {\n"
      << "                if ($entry.Name.StartsWith($wordToComplete, $ordinal)) {\n"
      << "                    [System.Management.Automation.CompletionResult]::new(\n"
      << "                        $entry.Name, $entry.Name, 'ParameterValue', $entry.Description)\n"
      << "                }\n"
      << "            }\n"
      << "        }\n"
      << "        'choice' {\n"
      << "            foreach ($choice in $choices) {\n"
      << "                if ($choice.StartsWith($wordToComplete, $ordinal)) {\n"
      << "                    [System.Management.Automation.CompletionResult]::new(\n"
      << "                        $choice, $choice, 'ParameterValue', $choice)\n"
      << "                }\n"
      << "            }\n"
      << "        }\n"
      << "        'directory' {\n"
      << "            $paths | Where-Object { $_.ResultType -eq 'ProviderContainer' }\n"
      << "        }\n"
      << "        'results-file' {\n"
      << "            # Results files and folders; every file where none of those matches.\n"
      << "            $preferred = @($paths | Where-Object {\n"
      << "                $_.ResultType -eq 'ProviderContainer' -or\n"
      << "                $_.ListItemText -like " << Quoted(ResultsFilePattern()) << " })\n"
      << "            if ($preferred.Count -gt 0) { $preferred } else { $paths }\n"
      << "        }\n"
      << "        'file' {\n"
      << "            $paths\n"
      << "        }\n"
      << "    }\n"
      << "}\n";
  return out.str();
}
