// The completion scripts kept under completions/ are what the program writes today, so the
// packages carry them without running the program (the Windows one is cross-built); and the
// command that writes them stays out of --help.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "results/completions/completion_files.h"
#include "results/completions/completion_scripts.h"
#include "support/scratch_directory.h"

namespace {

TEST(CompletionScripts, TheCommittedScriptsAreWhatTheProgramWrites) {
  ScratchDirectory directory;
  ASSERT_EQ(CommittedScripts().size(), CompletionShells().size());
  for (const auto& [shell, file] : CommittedScripts()) {
    SCOPED_TRACE(shell);
    const BinaryRun run = RunProgram({"completions", shell});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    const std::string written = WithLineFeeds(run.console);
    if (std::getenv("DRIVES_TESK_UPDATE_GOLDEN") != nullptr) {
      WriteTextFile(CommittedScript(file), written);
    }
    EXPECT_EQ(written, ReadWholeFile(CommittedScript(file)))
        << "run with DRIVES_TESK_UPDATE_GOLDEN=1 to write completions/" << file << " anew";
  }
}

TEST(CompletionScripts, TheCompletionsCommandIsLeftOutOfTheHelp) {
  ScratchDirectory directory;
  const BinaryRun help = RunProgram({"--help"});
  ASSERT_EQ(help.exitStatus, 0);
  const std::vector<std::string> commands = CommandsInHelp(help.console);
  EXPECT_EQ(std::count(commands.begin(), commands.end(), "completions"), 0);
  EXPECT_EQ(help.console.find("completions"), std::string::npos);
  const BinaryRun own = RunProgram({"completions", "--help"});
  ASSERT_EQ(own.exitStatus, 0);
  EXPECT_NE(own.console.find("bash, zsh, fish or powershell"), std::string::npos);
  const BinaryRun unknown = RunProgram({"completions", "tcsh"});
  EXPECT_NE(unknown.exitStatus, 0);
  EXPECT_EQ(unknown.console, "");
  EXPECT_NE(unknown.errors.find("tcsh"), std::string::npos);
}

// PowerShell is not on the Linux machines that run these tests: its script is checked for the
// commands it completes, and for plain ASCII, since Windows PowerShell reads a script without a
// byte order mark in the ANSI code page.
TEST(CompletionScripts, ThePowerShellScriptNamesEveryCommand) {
  ScratchDirectory directory;
  const std::string script = ReadWholeFile(CommittedScript("drives-tesk-results.ps1"));
  for (const std::string& command : CommandsInHelp()) {
    EXPECT_NE(script.find("'" + command + "' = @{"), std::string::npos) << command;
    EXPECT_NE(script.find("@{ Name = '" + command + "'"), std::string::npos) << command;
  }
  EXPECT_NE(script.find("'completions' = @{"), std::string::npos);
  EXPECT_EQ(script.find("@{ Name = 'completions'"), std::string::npos);
  for (const char c : script) {
    ASSERT_TRUE(c == '\n' || (c >= ' ' && c <= '~')) << "byte " << static_cast<int>(c);
  }
}

}  // namespace
