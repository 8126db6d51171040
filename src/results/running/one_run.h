// One run of the benchmark in one directory: its context before it starts, following it with
// the progress line while it runs, keeping its console and context beside its results file, and
// the line that sums it up.
#pragma once

#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "results/record/run_record.h"
#include "results/running/progress_line.h"
#include "results/running/run_plan.h"
#include "results/system/process.h"

struct RunOutcome {
  bool ok = false;  // exited 0 and its results file was read whole
  bool interrupted = false;
  std::optional<RunRecord> record;  // the run as read, where there was a results file
};

class Runner {
 public:
  // `err` takes the line of each run and the progress line; `start` starts the benchmark. A run
  // past `timeoutSeconds` (none when 0) is stopped.
  Runner(std::string benchmark, int workers, nlohmann::ordered_json ompNumThreads,
         std::ostream& err, ChildStarter start, double timeoutSeconds = 0);

  // Run `run` of `runs` in `directory`; `laterSeconds` is what the runs after it will take
  // (negative when not known yet).
  RunOutcome RunOnce(Directory& directory, int run, int runs, double laterSeconds);

 private:
  // What the benchmark printed, and how its run went.
  struct Followed {
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

  nlohmann::ordered_json ContextBefore(const Directory& directory, long long start) const;
  Followed Follow(const Directory& directory, Progress progress, double laterSeconds);
  // What is still to do to a benchmark asked to end at `stoppedAt`: nothing while its group
  // ends, a kill after another interrupt or after the grace period.
  static void EnsureEnded(RunningChild& child, std::chrono::steady_clock::time_point stoppedAt,
                          int interruptsThen, bool& killed);
  void Keep(const std::filesystem::path& results, const Followed& followed,
            nlohmann::ordered_json& context, bool interrupted);

  std::string benchmark_;
  nlohmann::ordered_json ompNumThreads_;  // as the benchmark gets it
  nlohmann::ordered_json version_;
  int workers_;
  std::ostream& err_;
  ChildStarter start_;
  double timeoutSeconds_;
  bool terminal_;
  ProgressLine progress_;
};

// The results files in `directory` now, by name.
std::vector<std::string> ResultsNamesIn(const std::filesystem::path& directory);

// The results file of a run: the one the benchmark named on its closing line, else (a run cut
// short) the one that appeared in the directory while it ran; empty when there is none.
std::string ResultsNameOf(const std::string& transcript, const std::filesystem::path& directory,
                          const std::vector<std::string>& before);
