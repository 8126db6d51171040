// One run of the benchmark in one directory: its context before it starts, following it with
// the progress line while it runs, keeping its console and context beside its results file, and
// the line that sums it up.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "results/record/run_record.h"
#include "results/running/progress_line.h"
#include "results/running/run_plan.h"
#include "results/running/run_seams.h"

struct RunOutcome {
  bool ok = false;  // exited 0 and its results file was read whole
  bool interrupted = false;
  std::optional<RunRecord> record;  // the run as read, where there was a results file
};

// The benchmark as `run` starts it, again and again, in one directory or another.
class Benchmark {
 public:
  // `err` takes the line of each run and the progress line; `seams` start the benchmark, tell
  // the time and count the interrupts. A run past `timeoutSeconds` (none when 0) is stopped.
  Benchmark(std::string program, int workers, nlohmann::ordered_json ompNumThreads,
            std::ostream& err, RunSeams seams, double timeoutSeconds = 0);

  // Run `run` of `runs` in `directory`; `laterSeconds` is what the runs after it will take
  // (negative when not known yet). `round` (from 1; 0: not told) goes into the context, `head`
  // leads its lines instead of "run 3 of 10".
  RunOutcome RunOnce(Directory& directory, int run, int runs, double laterSeconds, int round = 0,
                     const std::string& head = "");

  // The session every later run belongs to, and the rule that stops it (null for fixed repeats),
  // as their contexts record them.
  void MarkSession(std::string session, nlohmann::ordered_json rule);

  // How each run is told while it runs (default: auto).
  void TellProgress(ProgressMode mode) { mode_ = mode; }
  // One line of --progress json: `event` with `fields`, and the version of these lines.
  void Event(const char* event, const nlohmann::ordered_json& fields) const;

 private:
  // How a run went, as this program saw it: what the benchmark printed, and how it ended.
  struct Observed {
    std::string transcript;
    std::string errors;  // standard error, up to its bound
    bool started = false;
    std::string failure;       // why it could not be started
    bool stopped = false;      // asked to end before it ended
    bool interrupted = false;  // ... for an interrupt
    std::string cutOff;        // ... for this reason: "timed out after 30 s", "too much output"
    ChildExit exit;
    double seconds = 0;
  };

  nlohmann::ordered_json ContextBefore(const Directory& directory, long long start,
                                       int round) const;
  Observed Follow(const Directory& directory, Progress progress, double laterSeconds);
  // What is still to do to a benchmark asked to end at `stoppedAt`: nothing while its group
  // ends, a kill after another interrupt or after the grace period.
  void EnsureEnded(RunningChild& child, double stoppedAt, int interruptsThen, bool& killed);
  void Keep(const std::filesystem::path& results, const Observed& observed,
            nlohmann::ordered_json& context, bool interrupted);
  bool Interrupted() const { return seams_.interrupts() != 0; }

  std::string program_;
  nlohmann::ordered_json ompNumThreads_;  // as the benchmark gets it
  nlohmann::ordered_json version_;
  nlohmann::ordered_json session_;  // null until marked
  nlohmann::ordered_json rule_;
  int workers_;
  std::ostream& err_;
  RunSeams seams_;
  double timeoutSeconds_;
  bool terminal_;
  ProgressLine progress_;
  ProgressMode mode_ = ProgressMode::Auto;
};

// The results file of a run: the one the benchmark named on its closing line, else (a run cut
// short) the one that appeared in the directory while it ran; empty when there is none.
std::string ResultsNameOf(const std::string& transcript, const std::filesystem::path& directory,
                          const std::vector<std::string>& before);
