// The files `run` keeps beside each results file R ("... time T.txt"): the console transcript
// "... time T.console.txt", byte for byte as printed, and the run's context
// "... time T.context.json". `show` and `chart` read both when they are there.
#pragma once

#include <string>

#include "contract/file_names.h"
#include "results/reading/results_file.h"

// A results file, read through its transcript when `run` kept one (it carries the warnings the
// results file lacks), with the context beside it. The record keeps the results file's path and
// date. A context file that is not one of ours is left out.
ReadOutcome ReadRun(const std::string& path);

// The context file's fields that the comparison shows; unknown when it is no context file.
RunContext ReadContextFile(const std::string& path);
