// What `drives-tesk-results run` needs from the operating system, one file per platform: the
// benchmark started in a directory with its output on pipes, interrupts caught, the program's
// own place, and the terminal the progress line is drawn on.
#pragma once

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
using ChildStarter = std::unique_ptr<RunningChild> (*)(const std::string& program,
                                                       const std::string& directory,
                                                       std::string& error);

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

// From here on Ctrl-C, SIGTERM and a hang-up (Windows: Ctrl-C, Ctrl-Break, the console closing,
// logoff and shutdown) do not end this program: they are counted, and wake ChildProcess::Next.
void CatchInterrupts();
bool Interrupted();
// How many interrupts have come.
int Interrupts();

// The processors this process may run on (its affinity mask), as OpenMP counts them; 0 when the
// system does not say.
unsigned ProcessorsAvailable();

// What tells file systems apart: directories with the same text share one. Empty when unknown.
std::string FileSystemOf(const std::string& directory);

// Sets a variable of this program's environment, which the benchmark inherits.
void SetEnvironment(const std::string& name, const std::string& value);

// The directory this program's executable stands in; empty when unknown.
std::string ProgramDirectory();
// The benchmark's file name here: "drives-tesk", or "drives-tesk.exe" on Windows.
std::string BenchmarkFileName();
// The first executable of that name in the PATH directories; empty when none.
std::string FindOnPath(const std::string& name);

// Whether standard error is a terminal, its width in columns (80 when it does not say), and
// whether it may be coloured (never on Windows consoles, never with NO_COLOR or TERM=dumb).
bool ErrorsOnTerminal();
int TerminalColumns();
bool TerminalTakesColour();

// Local time of `when` (seconds since the epoch) as broken-down fields, and its offset from UTC
// in minutes.
struct LocalTime {
  int year, month, day, hour, minute, second, offsetMinutes;
};
LocalTime ToLocalTime(long long when);
