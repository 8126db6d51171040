// What the completion tests share: the scripts kept under completions/, the program's own
// --help, and the files a shell is asked to complete.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/binary_run.h"
#include "support/line_patterns.h"
#include "support/platform_facts.h"

// Each shell's script as the packages carry it, by the name `completions` takes.
inline const std::vector<std::pair<std::string, std::string>>& CommittedScripts() {
  static const std::vector<std::pair<std::string, std::string>> scripts = {
      {"bash", "drives-tesk-results.bash"},
      {"zsh", "_drives-tesk-results"},
      {"fish", "drives-tesk-results.fish"},
      {"powershell", "drives-tesk-results.ps1"},
  };
  return scripts;
}

inline std::string CommittedScript(const std::string& file) {
  return (std::filesystem::u8path(DRIVES_TESK_SOURCE) / "completions" / file).u8string();
}

// The program run with `arguments` in the working directory.
inline BinaryRun RunProgram(std::vector<std::string> arguments) {
  return RunDrivesTeskBinary(
      Companion(std::filesystem::current_path().u8string(), std::move(arguments)));
}

// The text as written in text mode on either platform: CR LF on Windows taken back to LF.
inline std::string WithLineFeeds(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// The commands `help` (what `drives-tesk-results --help` printed) lists, in its order.
inline std::vector<std::string> CommandsInHelp(const std::string& help) {
  std::vector<std::string> commands;
  bool listed = false;
  for (const std::string& line : SplitLines(WithLineFeeds(help))) {
    if (line == "Subcommands:") {
      listed = true;
    } else if (line.empty()) {
      listed = false;  // the list ends at its blank line; the examples follow
    } else if (listed && line.rfind("  ", 0) == 0) {
      const std::size_t start = line.find_first_not_of(' ');
      commands.push_back(line.substr(start, line.find(' ', start) - start));
    }
  }
  EXPECT_FALSE(commands.empty()) << help;
  return commands;
}

// The commands that the program's own --help lists.
inline std::vector<std::string> CommandsInHelp() {
  const BinaryRun help = RunProgram({"--help"});
  EXPECT_EQ(help.exitStatus, 0) << help.errors;
  return CommandsInHelp(help.console);
}

// The folder FilesToComplete makes: results files of two runs (names with blanks, as the benchmark
// gives them), one more in its folder ssd, and a file that is no results file. The shells run in
// it, so that their own input and output files are not offered.
inline constexpr const char* CompletedFolder = "typed-in";

inline void MakeFilesToComplete() {
  namespace fs = std::filesystem;
  fs::create_directories(fs::path(CompletedFolder) / "ssd");
  for (const char* name :
       {"results_drives_tesk_windows @ local date 2026.12.09 time 07.32.35.txt",
        "results_drives_tesk_windows @ local date 2026.12.09 time 07.33.01.txt",
        "ssd/results_drives_tesk_windows @ local date 2026.12.09 time 07.34.52.txt", "notes.txt"}) {
    WriteTextFile((fs::path(CompletedFolder) / name).string(), "");
  }
}
