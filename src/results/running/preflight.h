// The checks before the first run: the benchmark to run, and whether each directory can take a
// run (it exists, is a directory, can be written, and has room for the run's files).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "results/running/run_plan.h"

// The benchmark to run, absolute (it runs in other directories): `given` (a path, or a bare name
// on PATH), else the one beside this program, else the one on PATH; empty, with the reason on
// `err`, when there is none.
std::string FindBenchmark(const std::string& given, std::ostream& err);

// Why the benchmark cannot run in `directory`: it is missing, not a directory, or cannot be
// written; empty when it can, as far as can be told now.
std::string UnfitReason(const Directory& directory);

// The file systems without room for the runs in their directories: the scratch files stay until
// the end, so the footprints of every directory on one file system add up. One message per such
// file system, naming its directories ("a, b: need 146 MiB free together for 8 workers each,
// have 120 MiB"); none when all fit or the room cannot be told.
std::vector<std::string> RoomShortfalls(const std::vector<Directory>& directories, int workers);
