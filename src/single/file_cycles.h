// The file-handling loops: create, open, close and remove one scratch file, CycleCount times.
// The single-thread tests and their parallel twins run these same loops on their own streams and
// names.
#pragma once

#include <fstream>

#include "single/operation_failures.h"

// Each iteration: open the output stream (creating or truncating the file), open the input stream
// on the same file while the output stream holds it, close both, remove the file. A null name (one
// the program refused) runs no cycle.
void RunStreamFileCycles(std::ofstream& out, std::ifstream& in, const char* name,
                         OperationFailures& failures);

// One descriptor iteration: open read-write, creating the file if missing, close, remove.
// The descriptor is left in `descriptor` (-1 when the open failed, or the name is null because the
// program refused it).
void DescriptorFileCycle(const char* name, int& descriptor, OperationFailures& failures);
