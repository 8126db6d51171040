// What every multi-thread phase shares: the header that one worker prints while the others wait,
// the per-worker report lines, and the summaries against the single-thread figures.
#pragma once

#include "single/operation_failures.h"

// Called by every worker of a team: one worker prints "Multi-Thread Enabled:" and the phase's
// header on both channels; all workers wait until it is out, so their clocks start together.
void ParallelPhaseHeader(const char* consoleHeader, const char* logHeader);

// A worker's three lines of one throughput half, on the console and then in the results file;
// `measurement` names the half in the console's failure warning. Call inside the ReportLock
// critical section.
void ReportWorkerSpeedHalf(int thread, double elapsed, double rate, const char* secondsText,
                           const char* measurement, const OperationFailures& failures);

// A worker's two file-handling lines on both channels. Call inside ReportLock.
void ReportWorkerCycles(int thread, double elapsed, double rate, const OperationFailures& failures);

// After a file-handling phase: the overall rate and its gain over the single-thread rate.
void ReportCycleSummary(double overallRate, double singleRate);

// After a throughput phase: overall write and read figures, each with its gain over the
// single-thread rate, after `leadingEmptyLines` empty lines on each channel.
void ReportSpeedSummary(int leadingEmptyLines, double overallWriteRate, double singleWriteRate,
                        double overallReadRate, double singleReadRate);
