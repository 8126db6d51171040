// The completion scripts in the shells themselves: bash's function called as bash calls it, fish's
// `complete -C`, and zsh's completion typed on a pseudo-terminal. A shell that is not installed
// skips its test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "results/completions/completion_files.h"
#include "results/completions/completion_scripts.h"
#include "results/output/formats.h"
#include "support/scratch_directory.h"

namespace {

// A line of the POSIX shell, as a user types it: these tests are about shells.
int RunShell(const std::string& line) {
  return std::system(line.c_str());
}

bool Installed(const std::string& shell) {
  return RunShell("command -v " + shell + " >/dev/null 2>&1") == 0;
}

std::vector<std::string> Sorted(std::vector<std::string> words) {
  std::sort(words.begin(), words.end());
  return words;
}

std::vector<std::string> Split(const std::string& line, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = line.find(separator); at != std::string::npos;
       at = line.find(separator, start)) {
    parts.push_back(line.substr(start, at - start));
    start = at + 1;
  }
  if (start < line.size()) {
    parts.push_back(line.substr(start));
  }
  return parts;
}

// What a terminal shows of `text`: its control sequences (ESC [ ... letter) left out.
std::string Shown(const std::string& text) {
  static const std::regex sequence("\x1b\\[[0-9;?]*[A-Za-z]");
  return std::regex_replace(text, sequence, "");
}

const std::string Run1 = "results_drives_tesk_windows @ local date 2026.12.09 time 07.32.35.txt";
const std::string Run2 = "results_drives_tesk_windows @ local date 2026.12.09 time 07.33.01.txt";

// Each case: the words typed, the last one being completed, and what bash offers, sorted.
TEST(ShellCompletion, BashOffersCommandsOptionsAndValues) {
  if (!Installed("bash")) {
    GTEST_SKIP() << "bash is not installed";
  }
  ScratchDirectory directory;
  MakeFilesToComplete();
  const std::vector<std::string> commands = CommandsInHelp();
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"''", commands},
      {"show --f", {"--format"}},
      {"show --format ''", FormatNames()},
      {"run --format = j", {"json"}},  // --format=j, split at the '=' as bash splits it
      {"chart -",
       {"--baseline", "--each", "--help", "--label", "--output", "--threshold", "-h", "-o"}},
      {"show ''", {Run1, Run2, "ssd"}},
      {"show ssd/", {"ssd/results_drives_tesk_windows @ local date 2026.12.09 time 07.34.52.txt"}},
      {"show 'results_drives_tesk_windows\\ @\\ local\\ date\\ 2026.12.09\\ time\\ 07.3'",
       {Run1, Run2}},
      {"show no", {"notes.txt"}},  // no results file matches: every file
      {"chart --output ''", {Run1, Run2, "notes.txt", "ssd"}},
      {"clean ''", {"ssd"}},
      {"run --label ''", {}},
      {"completions ''", CompletionShellNames()},
  };
  std::string script = "source '" + CommittedScript("drives-tesk-results.bash") + "'\ncd " +
                       CompletedFolder +
                       "\n"
                       "offers() {\n"
                       "  COMP_WORDS=(drives-tesk-results \"$@\")\n"
                       "  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))\n"
                       "  _drives_tesk_results\n"
                       "  for word in \"${COMPREPLY[@]}\"; do printf '%s|' \"$word\"; done\n"
                       "  printf '\\n'\n"
                       "}\n";
  for (const auto& [typed, offered] : cases) {
    script += "offers " + typed + "\n";
  }
  WriteTextFile("complete.bash", script);
  ASSERT_EQ(RunShell("bash --norc --noprofile complete.bash >out.txt 2>err.txt"), 0)
      << ReadWholeFile("err.txt");
  const std::vector<std::string> lines = SplitLines(ReadWholeFile("out.txt"));
  ASSERT_EQ(lines.size(), cases.size()) << ReadWholeFile("out.txt") << ReadWholeFile("err.txt");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(Sorted(Split(lines[i], '|')), Sorted(cases[i].second)) << cases[i].first;
  }
  EXPECT_EQ(ReadWholeFile("err.txt"), "");
}

// `complete -C` prints a candidate a line, its description after a tab.
TEST(ShellCompletion, FishOffersCommandsOptionsAndValues) {
  if (!Installed("fish")) {
    GTEST_SKIP() << "fish is not installed";
  }
  ScratchDirectory directory;
  MakeFilesToComplete();
  const std::vector<std::string> typed = {
      "show --f", "", "show --format ", "completions ", "show ", "clean ",
  };
  std::string script =
      "source '" + CommittedScript("drives-tesk-results.fish") + "'\ncd " + CompletedFolder + "\n";
  for (const std::string& words : typed) {
    script += "complete -C 'drives-tesk-results " + words + "'\necho '----'\n";
  }
  WriteTextFile("complete.fish", script);
  ASSERT_EQ(RunShell("fish --no-config complete.fish >out.txt 2>err.txt"), 0)
      << ReadWholeFile("err.txt");
  std::vector<std::vector<std::string>> offered(1);
  for (const std::string& line : SplitLines(ReadWholeFile("out.txt"))) {
    if (line == "----") {
      offered.emplace_back();
    } else {
      offered.back().push_back(line.substr(0, line.find('\t')));
    }
  }
  ASSERT_EQ(offered.size(), typed.size() + 1) << ReadWholeFile("out.txt");
  EXPECT_EQ(offered[0], std::vector<std::string>{"--format"});
  EXPECT_NE(ReadWholeFile("out.txt").find("--format\tOutput: "), std::string::npos)
      << "the option's description";
  EXPECT_EQ(Sorted(offered[1]), Sorted(CommandsInHelp()));
  EXPECT_EQ(Sorted(offered[2]), Sorted(FormatNames()));
  EXPECT_EQ(Sorted(offered[3]), Sorted(CompletionShellNames()));
  // Results files first, then the folder, then every other file.
  EXPECT_EQ(offered[4], (std::vector<std::string>{Run1, Run2, "ssd/", "notes.txt"}));
  EXPECT_EQ(offered[5], std::vector<std::string>{"ssd/"});
  EXPECT_EQ(ReadWholeFile("err.txt"), "");
}

// zsh parses the script; and where zsh has its pseudo-terminal module, the completion is typed as
// a user types it (TAB), in an interactive zsh that loads the script through $fpath. Each line
// typed is followed by a marker command, and the output is read up to the marker.
TEST(ShellCompletion, ZshParsesAndCompletesTheScript) {
  if (!Installed("zsh")) {
    GTEST_SKIP() << "zsh is not installed";
  }
  ScratchDirectory directory;
  ASSERT_EQ(RunShell("zsh -n '" + CommittedScript("_drives-tesk-results") + "' 2>err.txt"), 0)
      << ReadWholeFile("err.txt");
  if (RunShell("zsh -fc 'zmodload zsh/zpty' 2>/dev/null") != 0) {
    GTEST_SKIP() << "zsh parses the script; its zpty module is missing to complete with it";
  }
  MakeFilesToComplete();
  const std::vector<std::string> typed = {"show --f", "", "show --format ", "show ", "show no"};
  const std::string folder = CommittedScript("");
  std::string script =
      "zmodload zsh/zpty\n"
      "export TERM=xterm\n"
      "zpty z zsh -f -i\n"
      "zpty -w z \"PS1='READY''> '; fpath=('" +
      folder +
      "' $fpath); autoload -U compinit; "
      "compinit -u -D; zstyle ':completion:*' list-prompt ''; LISTMAX=1000; cd " +
      CompletedFolder +
      "\"\n"
      "zpty -r z out '*READY> *'\n"
      "typed() {\n"
      "  zpty -wn z \"drives-tesk-results $1\"$'\\t'\n"
      "  zpty -wn z $'\\C-u'\n"
      "  zpty -w z \"echo END-OF''-COMPLETION\"\n"
      "  zpty -r z out '*END-OF-COMPLETION*READY> *'\n"
      "  print -r -- \"$out\"\n"
      "  print -r -- ----\n"
      "}\n";
  for (const std::string& words : typed) {
    script += "typed '" + words + "'\n";
  }
  script += "zpty -d z\n";
  WriteTextFile("complete.zsh", script);
  ASSERT_EQ(RunShell("zsh -f complete.zsh >out.txt 2>err.txt"), 0) << ReadWholeFile("err.txt");
  std::vector<std::string> shown(1);
  for (const std::string& line : SplitLines(ReadWholeFile("out.txt"))) {
    if (line == "----") {
      shown.emplace_back();
    } else {
      shown.back() += Shown(line) + "\n";
    }
  }
  ASSERT_EQ(shown.size(), typed.size() + 1) << ReadWholeFile("out.txt");
  EXPECT_NE(shown[0].find("drives-tesk-results show --format="), std::string::npos) << shown[0];
  for (const std::string& command : CommandsInHelp()) {
    EXPECT_TRUE(std::regex_search(shown[1], std::regex(command + " +-- "))) << command << shown[1];
  }
  for (const std::string& format : FormatNames()) {
    EXPECT_NE(shown[2].find(format), std::string::npos) << format << shown[2];
  }
  // zsh lists results files and folders, and other files only where those match nothing.
  EXPECT_NE(shown[3].find("results_drives_tesk_windows\\ @\\ local\\ date\\ 2026.12.09\\ time\\ "
                          "07.33.01.txt"),
            std::string::npos)
      << shown[3];
  EXPECT_NE(shown[3].find("ssd/"), std::string::npos) << shown[3];
  EXPECT_EQ(shown[3].find("notes.txt"), std::string::npos) << shown[3];
  EXPECT_NE(shown[4].find("drives-tesk-results show notes.txt"), std::string::npos) << shown[4];
}

}  // namespace
