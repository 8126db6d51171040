// The byte-wise and block tests with every worker busy at once. Both run in one parallel region:
// each worker's block test reads the file that its byte-wise test wrote, through the name the
// byte-wise test left in the worker's own buffer.
#pragma once

#include "contract/constants.h"

// The worker's scratch-file name, private to the worker for the whole region.
using WorkerFileName = char[NameBufferSize];

// Every worker writes and reads its own scratch file byte by byte and reports; then one worker
// prints the overall figures while the others wait.
void ParallelByteSpeedTest(WorkerFileName& sourceName);

// Every worker copies its scratch file in one read and one write call and reports.
void ParallelBlockSpeedTest(const WorkerFileName& sourceName);

// The block test's overall figures, printed by main after the region has ended.
void ParallelBlockSpeedSummary();
