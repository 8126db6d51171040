#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/binary_run.h"
#include "support/linux_facts.h"

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
  PrepareFiles(options);

  std::vector<char*> environment;
  for (const auto& variable : options.variables) {
    environment.push_back(const_cast<char*>(variable.c_str()));
  }
  environment.push_back(nullptr);
  std::vector<char*> arguments = {const_cast<char*>(options.program.c_str())};
  for (const auto& argument : options.arguments) {
    arguments.push_back(const_cast<char*>(argument.c_str()));
  }
  arguments.push_back(nullptr);

  int pipeEnds[2] = {-1, -1};
  if (options.console == ConsoleKind::ClosedPipe && pipe(pipeEnds) != 0) {
    return;
  }
  const pid_t child = fork();
  if (child == 0) {
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
        dup2(OpenOrDie(FullDevice, O_WRONLY), STDOUT_FILENO);
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
    if (options.fileSizeLimit >= 0) {
      signal(SIGXFSZ, SIG_DFL);
      const auto limit = static_cast<rlim_t>(options.fileSizeLimit);
      const rlimit fileSize{limit, limit};
      setrlimit(RLIMIT_FSIZE, &fileSize);
    }
    execve(options.program.c_str(), arguments.data(), environment.data());
    _exit(127);
  }
  child_ = child;
  if (pipeEnds[0] != -1) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
  }
}

BinaryRun RunningBinary::Wait() {
  BinaryRun run;
  int status = 0;
  if (child_ > 0 && waitpid(static_cast<pid_t>(child_), &status, 0) == child_ &&
      WIFEXITED(status)) {
    run.exitStatus = WEXITSTATUS(status);
  }
  child_ = -1;
  ReadOutputs(run);
  return run;
}

BinaryRun RunningBinary::Stop() {
  if (child_ > 0) {
    kill(static_cast<pid_t>(child_), SIGKILL);
  }
  return Wait();
}

void RunningBinary::Signal(int signal) const {
  if (child_ > 0) {
    kill(static_cast<pid_t>(child_), signal);
  }
}
