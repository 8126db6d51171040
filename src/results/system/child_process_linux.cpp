// Linux: the benchmark started with posix_spawn in a process group of its own, its pipes and the
// interrupts' wake-up pipe waited on with poll.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "results/system/child_process.h"
#include "results/system/interrupts.h"

extern char** environ;

namespace {

// Written by the signal handler so that a blocked poll wakes.
int wakeRead = -1;
int wakeWrite = -1;

void OnInterrupt(int) {
  CountInterrupt();
  const int saved = errno;
  if (wakeWrite >= 0) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = write(wakeWrite, &byte, 1);
  }
  errno = saved;
}

void CloseIfOpen(int& descriptor) {
  if (descriptor >= 0) {
    close(descriptor);
    descriptor = -1;
  }
}

}  // namespace

struct ChildProcess::State {
  pid_t pid = -1;
  int out = -1;
  int err = -1;
  bool waited = false;
  ChildExit exit;
};

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}

ChildProcess::~ChildProcess() {
  if (!state_->waited) {
    Stop();
    Wait();
  }
  CloseIfOpen(state_->out);
  CloseIfOpen(state_->err);
}

std::unique_ptr<ChildProcess> ChildProcess::Start(const std::string& program,
                                                  const std::string& directory,
                                                  std::string& error) {
  int out[2];
  int err[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    return nullptr;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    error = std::strerror(errno);
    close(out[0]);
    close(out[1]);
    return nullptr;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  // A parent that ignored SIGCHLD would leave nothing to wait for: the benchmark's exit is lost.
  signal(SIGCHLD, SIG_DFL);
  // The benchmark takes interrupts as a program does by default, whatever this one does, in a
  // process group of its own: what it starts is stopped with it, and the terminal's signals
  // come here only.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGHUP);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  std::string name = program;
  char* arguments[] = {name.data(), nullptr};
  pid_t pid = -1;
  const int failed = posix_spawn(&pid, program.c_str(), &actions, &attributes, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(out[1]);
  close(err[1]);
  if (failed != 0) {
    error = std::strerror(failed);
    close(out[0]);
    close(err[0]);
    return nullptr;
  }
  auto state = std::make_unique<State>();
  state->pid = pid;
  state->out = out[0];
  state->err = err[0];
  return std::unique_ptr<ChildProcess>(new ChildProcess(std::move(state)));
}

ChildEvent ChildProcess::Next(int tickMs) {
  State& state = *state_;
  for (;;) {
    if (state.out < 0 && state.err < 0) {
      return {ChildEvent::Ended, {}};
    }
    pollfd watched[3] = {{state.out, POLLIN, 0}, {state.err, POLLIN, 0}, {wakeRead, POLLIN, 0}};
    const int ready = poll(watched, 3, tickMs < 0 ? -1 : tickMs);
    if (ready < 0 && errno == EINTR) {
      if (Interrupted()) {
        return {ChildEvent::Tick, {}};
      }
      continue;
    }
    if (ready <= 0) {
      return {ChildEvent::Tick, {}};
    }
    if (watched[2].revents != 0) {
      char drained[64];
      [[maybe_unused]] const ssize_t ignored = read(wakeRead, drained, sizeof drained);
      return {ChildEvent::Tick, {}};
    }
    for (int i = 0; i < 2; ++i) {
      if (watched[i].revents == 0) {
        continue;
      }
      int& descriptor = i == 0 ? state.out : state.err;
      char buffer[1 << 16];
      const ssize_t count = read(descriptor, buffer, sizeof buffer);
      if (count < 0 && errno == EINTR) {
        break;
      }
      if (count <= 0) {
        CloseIfOpen(descriptor);
        break;
      }
      return {i == 0 ? ChildEvent::Output : ChildEvent::Errors,
              std::string(buffer, static_cast<std::size_t>(count))};
    }
  }
}

// The group outlives its first process while anything it started runs, and its number is not
// given to another process meanwhile.
void ChildProcess::Stop() {
  if (state_->pid > 0) {
    kill(-state_->pid, SIGTERM);
  }
}

void ChildProcess::Kill() {
  if (state_->pid > 0) {
    kill(-state_->pid, SIGKILL);
  }
}

bool ChildProcess::Lingering() {
  return state_->pid > 0 && kill(-state_->pid, 0) == 0;
}

ChildExit ChildProcess::Wait() {
  State& state = *state_;
  if (state.waited) {
    return state.exit;
  }
  int status = 0;
  pid_t result;
  do {
    result = waitpid(state.pid, &status, 0);
  } while (result < 0 && errno == EINTR);
  state.waited = true;
  if (result == state.pid && WIFEXITED(status)) {
    state.exit = {WEXITSTATUS(status), 0};
  } else if (result == state.pid && WIFSIGNALED(status)) {
    state.exit = {-1, WTERMSIG(status)};
  }
  return state.exit;
}

void CatchInterrupts() {
  int wake[2];
  if (wakeRead < 0 && pipe2(wake, O_CLOEXEC | O_NONBLOCK) == 0) {
    wakeRead = wake[0];
    wakeWrite = wake[1];
  }
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}
