// The benchmark as a child process: started in a directory with its output on pipes, followed,
// stopped with everything it started. One file per platform (child_process_linux.cpp,
// child_process_windows.cpp).
#pragma once

#include <functional>
#include <memory>
#include <string>

// How the benchmark ended: its exit status, or (POSIX) the signal that ended it.
struct ChildExit {
  int status = -1;  // -1 when it ended by a signal
  int signal = 0;   // 0 when it exited
};

// What waiting on the benchmark brings: bytes on its standard output or error, the end of both
// (it has ended, or closed them), or nothing within the tick (or an interrupt).
struct ChildEvent {
  enum Kind { Output, Errors, Ended, Tick } kind = Tick;
  std::string bytes;
};

// A running benchmark as a run follows it: the operating system's process, or in tests a stand-in
// that replays a stored console.
class RunningChild {
 public:
  virtual ~RunningChild() = default;
  // Blocks until there is output, both pipes are closed, an interrupt comes, or `tickMs`
  // milliseconds pass (never, when negative).
  virtual ChildEvent Next(int tickMs) = 0;
  // Asks the benchmark and everything it started to end: POSIX sends SIGTERM to its process
  // group, Windows ends its job.
  virtual void Stop() = 0;
  // Ends the benchmark and everything it started at once: SIGKILL to the group (Windows: as Stop).
  virtual void Kill() = 0;
  // Waits for the benchmark to end.
  virtual ChildExit Wait() = 0;
  // Whether something the benchmark started still runs after it has ended.
  virtual bool Lingering() { return false; }
};

// Starts `program` in `directory`; empty on failure, with `error` saying why.
using ChildStarter = std::function<std::unique_ptr<RunningChild>(
    const std::string& program, const std::string& directory, std::string& error)>;

class ChildProcess final : public RunningChild {
 public:
  // Starts `program` in `directory` with standard input at its end (the null device) and its
  // standard output and error on pipes, in a process group (Windows: a job) of its own; the
  // environment is this program's. Empty on failure, with `error` saying why.
  static std::unique_ptr<ChildProcess> Start(const std::string& program,
                                             const std::string& directory, std::string& error);
  ~ChildProcess() override;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  ChildEvent Next(int tickMs) override;
  void Stop() override;
  void Kill() override;
  ChildExit Wait() override;
  bool Lingering() override;

  struct State;

 private:
  explicit ChildProcess(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// ChildProcess::Start as a ChildStarter.
std::unique_ptr<RunningChild> StartChildProcess(const std::string& program,
                                                const std::string& directory, std::string& error);
