// drives-tesk-results run where POSIX gives more to test: its progress line on a pseudo-terminal
// and Ctrl-C typed there, SIGTERM and a hang-up, a benchmark that will not stop.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "e2e/run_harness.h"
#include "support/linux_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// True when a process other than this one works in `directory`: a benchmark left running.
bool AnyoneWorksIn(const std::string& directory) {
  std::error_code error;
  const std::string self = std::to_string(getpid());
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name == self || name.find_first_not_of("0123456789") != std::string::npos) {
      continue;  // this program, and /proc/self
    }
    std::error_code ignored;
    const fs::path cwd = fs::read_symlink(entry.path() / "cwd", ignored);
    if (!ignored && fs::equivalent(cwd, directory, ignored) && !ignored) {
      return true;
    }
  }
  return false;
}

// Whether process `pid` runs: it exists and is not a zombie waiting to be reaped.
bool Runs(pid_t pid) {
  const std::string stat = ReadWholeFile("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t name = stat.rfind(')');
  return kill(pid, 0) == 0 && name != std::string::npos && stat.size() > name + 2 &&
         stat[name + 2] != 'Z';
}

// What a terminal shows, as lines: colours and the echoed ^C left out, each carriage return
// starting a line of its own.
std::string Plain(const std::string& screen) {
  std::string plain;
  for (std::size_t i = 0; i < screen.size(); ++i) {
    if (screen.compare(i, 2, "\x1b[") == 0) {
      i = screen.find('m', i);
      if (i == std::string::npos) {
        break;
      }
    } else if (screen.compare(i, 2, "^C") == 0) {
      ++i;
    } else {
      plain += screen[i] == '\r' ? '\n' : screen[i];
    }
  }
  return plain;
}

struct TerminalRun {
  int exitStatus = -1;
  std::string screen;  // everything the terminal received
};

// What the user does to the terminal once it shows the text waited for.
enum class Ending { CtrlC, HangUp };

// `run` on a 60-column pseudo-terminal with `variables`; once the terminal shows `until`, types
// Ctrl-C there, as a user would, or hangs up (closes the terminal, as a lost connection does).
// With `narrowTo`, the terminal is made that narrow once the progress line is first drawn.
TerminalRun RunOnTerminal(const std::string& directory, const std::vector<std::string>& variables,
                          const std::string& until, Ending ending = Ending::CtrlC,
                          unsigned short narrowTo = 0) {
  winsize size{};
  size.ws_col = 60;
  size.ws_row = 24;
  int terminal = -1;
  const pid_t child = forkpty(&terminal, nullptr, nullptr, &size);
  if (child == 0) {
    std::vector<char*> environment;
    for (const std::string& variable : variables) {
      environment.push_back(const_cast<char*>(variable.c_str()));
    }
    environment.push_back(nullptr);
    char* arguments[] = {const_cast<char*>(DRIVES_TESK_RESULTS),
                         const_cast<char*>("run"),
                         const_cast<char*>("--threads"),
                         const_cast<char*>("1"),
                         const_cast<char*>("--repeat"),
                         const_cast<char*>("2"),
                         nullptr};
    if (chdir(directory.c_str()) == 0) {
      execve(DRIVES_TESK_RESULTS, arguments, environment.data());
    }
    _exit(127);
  }
  TerminalRun run;
  bool typed = false;
  bool narrowed = narrowTo == 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
  while (terminal >= 0 && std::chrono::steady_clock::now() < deadline) {
    pollfd watched{terminal, POLLIN, 0};
    if (poll(&watched, 1, 200) <= 0) {
      continue;
    }
    char buffer[4096];
    const ssize_t count = read(terminal, buffer, sizeof buffer);
    if (count <= 0) {
      break;  // the other side is closed: the command has ended
    }
    run.screen.append(buffer, static_cast<std::size_t>(count));
    if (!narrowed && run.screen.find("run 1 of 2") != std::string::npos) {
      size.ws_col = narrowTo;
      ioctl(terminal, TIOCSWINSZ, &size);
      run.screen += "\n[narrowed]\n";
      narrowed = true;
    }
    if (!typed && run.screen.find(until) != std::string::npos) {
      typed = true;
      if (ending == Ending::HangUp) {
        close(terminal);
        terminal = -1;
      } else {
        [[maybe_unused]] const ssize_t written = write(terminal, "\x03", 1);
      }
    }
  }
  int status = 0;
  if (!typed) {
    kill(child, SIGKILL);
  }
  // A hung-up command ends on its own, within the grace it gives the benchmark.
  for (int waited = 0; waitpid(child, &status, WNOHANG) == 0; ++waited) {
    if (waited == 300) {
      kill(child, SIGKILL);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  if (terminal >= 0) {
    close(terminal);
  }
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The progress line, redrawn in place, never wider than the terminal, coloured unless NO_COLOR;
// Ctrl-C stops the benchmark, is marked in the context, and ends the command with 130.
TEST(RunOnTerminal, ShowsProgressAndStopsOnCtrlC) {
  const struct {
    std::vector<std::string> variables;
    bool colour;
  } cases[] = {{{"TERM=xterm"}, true}, {{"TERM=xterm", "NO_COLOR=1"}, false}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.colour ? "colour" : "NO_COLOR");
    ScratchDirectory directory;
    const std::string section = "single thread, Low writing and reading speeds";
    const TerminalRun run = RunOnTerminal(directory.path(), test.variables, section);
    EXPECT_EQ(run.exitStatus, 130) << run.screen;
    EXPECT_EQ(run.screen.find("\x1b[1;36m") != std::string::npos, test.colour);
    // Each drawing of the line starts with a carriage return; the terminal echoes the ^C.
    const std::string plain = Plain(run.screen);
    std::size_t drawings = 0;
    for (const std::string& drawn : SplitLines(plain)) {
      if (drawn.find(" s, ") == std::string::npos) {  // not the line a finished run leaves
        EXPECT_LE(drawn.size(), 59u) << drawn;
        drawings += drawn.rfind("run 1 of 2: ", 0) == 0 ? 1u : 0u;
      }
    }
    EXPECT_GE(drawings, 2u) << plain;
    EXPECT_NE(plain.find(section), std::string::npos);
    EXPECT_NE(plain.find("interrupted"), std::string::npos);
    EXPECT_EQ(plain.find("run 2 of 2"), std::string::npos) << "a run after the interrupt";
    const RunFiles files = FilesIn(directory.path());
    ASSERT_EQ(files.contexts.size(), 1u);
    EXPECT_EQ(ReadJson(files.contexts[0])["interrupted"], true);
    EXPECT_FALSE(AnyoneWorksIn(directory.path()));
    EXPECT_TRUE(FindScratchFilesIn(directory.path()).empty());
  }
}

// Closing the terminal stops the benchmark as an interrupt does: its files kept, its scratch
// files removed, 130, nothing left running. Before that the terminal is made narrower: every
// drawing after that fits the new width.
TEST(RunOnTerminal, AHangUpIsAnInterrupt) {
  ScratchDirectory directory;
  // As much of the section as 40 columns show.
  const TerminalRun run = RunOnTerminal(directory.path(), {"TERM=xterm"},
                                        "single thread, Low writin", Ending::HangUp, 40);
  EXPECT_EQ(run.exitStatus, 130) << run.screen;
  const std::string plain = Plain(run.screen);
  const std::size_t narrowed = plain.find("[narrowed]");
  ASSERT_NE(narrowed, std::string::npos) << plain;
  std::size_t drawings = 0;
  // The first drawing after the change may still be of the old width.
  const std::vector<std::string> after = SplitLines(plain.substr(narrowed));
  for (std::size_t i = 2; i < after.size(); ++i) {
    EXPECT_LE(after[i].size(), 39u) << after[i];
    drawings += after[i].rfind("run 1 of 2: ", 0) == 0 ? 1u : 0u;
  }
  EXPECT_GE(drawings, 1u) << plain;
  const RunFiles files = FilesIn(directory.path());
  ASSERT_EQ(files.contexts.size(), 1u);
  EXPECT_EQ(ReadJson(files.contexts[0])["interrupted"], true);
  ASSERT_EQ(files.transcripts.size(), 1u);
  EXPECT_NE(ReadWholeFile(files.transcripts[0]).find("Low writing"), std::string::npos);
  EXPECT_FALSE(AnyoneWorksIn(directory.path()));
  EXPECT_TRUE(FindScratchFilesIn(directory.path()).empty());
}

// Waits for `path` to appear; false when it has not within `seconds` (a bound far beyond what
// any loaded machine needs, so that a broken program fails the test instead of hanging it).
bool AppearsWithin(const std::string& path, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!fs::exists(path)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// Waits for process `pid` to end; false when it still runs after `seconds`.
bool EndsWithin(pid_t pid, double seconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (Runs(pid)) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

double SecondsSince(std::chrono::steady_clock::time_point then) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - then).count();
}

// A benchmark that ignores SIGTERM and started a program that ignores it too: a second
// interrupt ends both at once; without one, they are killed 10 s after the first. The test waits
// for the stand-in to have been asked to stop (it notes the SIGTERM in a file) before it goes on,
// so a loaded machine cannot merge the two interrupts into one.
TEST(RunOnTerminal, AStubbornBenchmarkIsKilledWithAllItStarted) {
  for (const int interrupts : {2, 1}) {
    SCOPED_TRACE(std::to_string(interrupts) + " SIGTERM");
    ScratchDirectory directory;
    RunningBinary running(Companion(directory.path(), {"run", "--benchmark", STAND_IN_BENCHMARK},
                                    {"DRIVES_TESK_STAND_IN=stubborn", "PATH=/usr/bin:/bin"}));
    ASSERT_TRUE(AppearsWithin("sleeping", 120));
    ASSERT_TRUE(fs::exists("grandchild"));
    const pid_t grandchild = std::stoi(ReadWholeFile("grandchild"));
    const auto first = std::chrono::steady_clock::now();
    running.Signal(SIGTERM);
    ASSERT_TRUE(AppearsWithin("asked-to-stop", 120)) << "the first SIGTERM reaches the group";
    EXPECT_TRUE(Runs(grandchild)) << "the grandchild ignores the first SIGTERM";
    const auto second = std::chrono::steady_clock::now();
    if (interrupts == 2) {
      running.Signal(SIGTERM);
    }
    const BinaryRun run = running.Wait();
    EXPECT_EQ(run.exitStatus, 130) << run.errors;
    EXPECT_NE(run.errors.find("ended by signal 9, interrupted"), std::string::npos) << run.errors;
    if (interrupts == 2) {
      // At once: long before the kill that the first interrupt would bring after 10 s.
      EXPECT_LT(SecondsSince(second), 8.0);
    } else {
      // Not a moment before 10 s after the stop, which came after the signal; the upper bound
      // only tells a kill from the stand-in's own end a minute later.
      EXPECT_GE(SecondsSince(first), 10.0);
      EXPECT_LT(SecondsSince(first), 45.0);
    }
    // SIGKILL is sent to the whole group; the system ends its members a moment later.
    EXPECT_TRUE(EndsWithin(grandchild, 30)) << "the grandchild is gone";
    EXPECT_FALSE(AnyoneWorksIn(directory.path()));
  }
}

// The first stop goes to everything the benchmark started, not to it alone: a wrapper script
// whose program stops at SIGTERM ends the run at once, and the script sees its program end by
// that signal (the kill 10 s later would leave it no time to say so).
TEST(RunOnTerminal, AWrapperScriptsProgramStopsAtTheFirstSigterm) {
  ScratchDirectory directory;
  // The script takes SIGTERM itself only after its program has ended, and then notes how.
  WriteTextFile("wrapper.sh", std::string("#!/bin/sh\ntrap 'true' TERM\n\"") + STAND_IN_BENCHMARK +
                                  "\"\necho $? > program-status\n");
  fs::permissions("wrapper.sh", fs::perms::owner_all);
  RunningBinary running(Companion(directory.path(),
                                  {"run", "--repeat", "1", "--benchmark", "./wrapper.sh"},
                                  {"DRIVES_TESK_STAND_IN=sleep", "PATH=/usr/bin:/bin"}));
  ASSERT_TRUE(AppearsWithin("sleeping", 120));
  running.Signal(SIGTERM);
  const BinaryRun run = running.Wait();
  EXPECT_EQ(run.exitStatus, 130) << run.errors;
  EXPECT_EQ(ReadWholeFile("program-status"), "143\n") << "ended by SIGTERM, not by the kill";
  EXPECT_FALSE(AnyoneWorksIn(directory.path()));
}

TEST(RunOnTerminal, SigtermStopsTheBenchmarkAndEndsWith130) {
  ScratchDirectory base;
  // A name that is not UTF-8 and holds an escape: shown escaped, kept valid in the context.
  const std::string name = "measured \xff\x1b";
  fs::create_directory(name);
  const std::string directory = base.path() + "/" + name;
  RunningBinary running(Companion(base.path(), {"run", name, "--benchmark", STAND_IN_BENCHMARK},
                                  {"DRIVES_TESK_STAND_IN=sleep"}));
  ASSERT_TRUE(AppearsWithin(directory + "/sleeping", 120));
  running.Signal(SIGTERM);
  const BinaryRun run = running.Wait();
  EXPECT_EQ(run.exitStatus, 130) << run.errors;
  EXPECT_NE(run.errors.find("run 1 of 5: measured \\xff\\x1b: "), std::string::npos) << run.errors;
  EXPECT_NE(run.errors.find("ended by signal 15, interrupted"), std::string::npos) << run.errors;
  EXPECT_FALSE(AnyoneWorksIn(directory));
  const RunFiles files = FilesIn(directory);
  ASSERT_EQ(files.contexts.size(), 1u);
  const nlohmann::ordered_json context = ReadJson(files.contexts[0]);
  EXPECT_EQ(context["interrupted"], true);
  EXPECT_EQ(context["signal"], 15);
  EXPECT_NE(context["directory"].get<std::string>().find("measured \xef\xbf\xbd\x1b"),
            std::string::npos);
  EXPECT_EQ(ReadWholeFile(files.transcripts[0]), "stand-in benchmark\n");
}

}  // namespace
