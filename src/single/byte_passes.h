// The byte-wise passes: single-byte accesses, each handed on by itself. Used by the single-thread
// byte test and by every worker of its parallel twin.
#pragma once

#include <fstream>

#include "single/operation_failures.h"

// On an opened output stream: FirstPassBytes puts of FillByte, each followed by a flush; then a
// seek to 0 and to SecondPassBytes; then SecondPassBytes more put-and-flush steps, which rewrite
// the file's second half in place. A write that failed is noted from the stream's sticky flags
// after the passes.
void WriteBytePasses(std::ofstream& out, OperationFailures& failures);

// On an input stream that was just opened: seek to 0; if a file is attached, get-and-sync until
// the end of the file, otherwise the console line "Unable to open file"; then clear the state,
// seek to 0 and to SecondPassBytes, and SecondPassBytes more get-and-sync steps.
void ReadBytePasses(std::ifstream& in, OperationFailures& failures);
