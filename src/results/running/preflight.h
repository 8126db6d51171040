// The checks before the first run: the benchmark to run, and whether each directory can take a
// run (it exists, is a directory, can be written, and has room for the run's files).
#pragma once

#include <ostream>
#include <string>

#include "results/running/run_plan.h"

// The benchmark to run, absolute (it runs in other directories): `named` (a path, or a bare name
// on PATH), else the one beside this program, else the one on PATH; empty, with the reason on
// `err`, when there is none.
std::string FindBenchmark(const std::string& named, std::ostream& err);

// Why the benchmark cannot run in `directory` with `workers` workers; empty when it can, as far
// as can be told now.
std::string UnfitReason(const Directory& directory, int workers);
