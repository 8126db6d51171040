#include "e2e/binary_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "support/line_patterns.h"

namespace {

int OpenOrDie(const std::string& path, int flags) {
  const int descriptor = open(path.c_str(), flags, 0600);
  if (descriptor == -1) {
    _exit(126);
  }
  return descriptor;
}

}  // namespace

RunningBinary::RunningBinary(const RunOptions& options) {
  const std::string base = options.directory + ".";
  outPath_ = base + "stdout";
  errPath_ = base + "stderr";
  inPath_ = base + "stdin";
  {
    const int descriptor = OpenOrDie(inPath_, O_WRONLY | O_CREAT | O_TRUNC);
    if (!options.input.empty()) {
      [[maybe_unused]] const auto written =
          write(descriptor, options.input.data(), options.input.size());
    }
    close(descriptor);
  }

  std::vector<char*> environment;
  for (const auto& variable : options.variables) {
    environment.push_back(const_cast<char*>(variable.c_str()));
  }
  environment.push_back(nullptr);
  char* arguments[] = {const_cast<char*>(DRIVES_TESK_BINARY), nullptr};

  int pipeEnds[2] = {-1, -1};
  if (options.console == ConsoleKind::ClosedPipe && pipe(pipeEnds) != 0) {
    return;
  }
  child_ = fork();
  if (child_ == 0) {
    dup2(OpenOrDie(errPath_, O_WRONLY | O_CREAT | O_TRUNC), STDERR_FILENO);
    switch (options.console) {
      case ConsoleKind::File:
        dup2(OpenOrDie(outPath_, O_WRONLY | O_CREAT | O_TRUNC), STDOUT_FILENO);
        break;
      case ConsoleKind::ClosedPipe:
        close(pipeEnds[0]);
        dup2(pipeEnds[1], STDOUT_FILENO);
        break;
      case ConsoleKind::Full:
        dup2(OpenOrDie("/dev/full", O_WRONLY), STDOUT_FILENO);
        break;
    }
    if (options.closedInput) {
      close(STDIN_FILENO);
    } else {
      dup2(OpenOrDie(inPath_, O_RDONLY), STDIN_FILENO);
    }
    if (chdir(options.directory.c_str()) != 0 ||
        (options.removeDirectory && rmdir(options.directory.c_str()) != 0)) {
      _exit(126);
    }
    execve(DRIVES_TESK_BINARY, arguments, environment.data());
    _exit(127);
  }
  if (pipeEnds[0] != -1) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
  }
}

RunningBinary::~RunningBinary() {
  if (child_ > 0) {
    Stop();
  }
  std::error_code ignored;
  for (const auto* path : {&outPath_, &errPath_, &inPath_}) {
    std::filesystem::remove(*path, ignored);
  }
}

std::string RunningBinary::ConsoleSoFar() const {
  return ReadWholeFile(outPath_);
}

bool RunningBinary::WaitForConsole(const std::string& text, double seconds) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (ConsoleSoFar().find(text) != std::string::npos) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

BinaryRun RunningBinary::Wait() {
  BinaryRun run;
  int status = 0;
  if (child_ > 0 && waitpid(child_, &status, 0) == child_ && WIFEXITED(status)) {
    run.exitStatus = WEXITSTATUS(status);
  }
  child_ = -1;
  run.console = ReadWholeFile(outPath_);
  run.errors = ReadWholeFile(errPath_);
  return run;
}

BinaryRun RunningBinary::Stop() {
  if (child_ > 0) {
    kill(child_, SIGKILL);
  }
  return Wait();
}

void RunningBinary::Signal(int signal) const {
  if (child_ > 0) {
    kill(child_, signal);
  }
}

BinaryRun RunDrivesTeskBinary(const RunOptions& options) {
  return RunningBinary(options).Wait();
}

std::vector<std::string> ResultsFilesIn(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("results_drives_tesk_windows @ ", 0) == 0) {
      names.push_back(name);
    }
  }
  return names;
}
