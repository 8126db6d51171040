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

class ChildProcess {
 public:
  // Starts `program` in `directory` with standard input at its end (the null device) and its
  // standard output and error on pipes; the environment is this program's. Empty on failure,
  // with `error` saying why.
  static std::unique_ptr<ChildProcess> Start(const std::string& program,
                                             const std::string& directory, std::string& error);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Blocks until there is output, both pipes are closed, an interrupt comes, or `tickMs`
  // milliseconds pass (never, when negative).
  ChildEvent Next(int tickMs);
  // Stops the benchmark (interrupts): POSIX sends SIGTERM, Windows ends the process.
  void Stop();
  // Waits for the benchmark to end.
  ChildExit Wait();

  struct State;

 private:
  explicit ChildProcess(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// From here on Ctrl-C and SIGTERM (Windows: Ctrl-C, Ctrl-Break, the console closing) do not end
// this program: they are noted, and wake ChildProcess::Next.
void CatchInterrupts();
bool Interrupted();

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
