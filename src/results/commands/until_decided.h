// `run --until-decided`: rounds of one run in each directory, looked at after every round with the
// sequential rule, until every figure of interest is decided, the rest is out of reach, the cap
// of rounds is reached or the budget would be overrun.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "results/commands/run_command.h"
#include "results/record/run_record.h"
#include "results/running/one_run.h"
#include "results/running/run_plan.h"

// The key of every figure of the comparison, in the table's order.
std::vector<std::string> FigureKeys();

// Empty when every key names a figure; else what is wrong, with the valid keys.
std::string UnknownFigureKeys(const std::vector<std::string>& keys);

// Why a session run until decided stopped: the word JSON gives, and the line under the table.
struct SessionStop {
  std::string word;  // "decided", "hopeless", "max-runs", "budget", "interrupted"
  std::string line;
};

// What the runs of one `run` gave: the runs read (each labelled), whether all went well, and for a
// session run until decided why it stopped.
struct SessionRuns {
  std::vector<RunRecord> records;
  std::vector<std::string> labels;
  bool allOk = true;
  bool interrupted = false;
  SessionStop stop;
};

// The session's name in its runs' contexts: the calendar time it started and a random number,
// so that two sessions never share it.
std::string NewSessionName(long long start);

// Rounds of one run in each directory, in order, as long as the rule allows; the lines of the
// runs, the note about a budget too small and nothing else on `err`.
SessionRuns RunUntilDecided(Benchmark& benchmark, std::vector<Directory>& directories,
                            const RunCommandOptions& options, const RunSeams& seams,
                            std::ostream& err);
