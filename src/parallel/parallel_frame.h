// What every multi-thread phase shares: the header that one worker prints while the others wait,
// the per-worker report lines, and the summaries against the single-thread figures.
#pragma once

#include "contract/report_layout.h"
#include "single/operation_failures.h"

// Called by every worker of a team: one worker prints "Multi-Thread Enabled:" and the phase's
// header on both channels; all workers wait until it is out, so their clocks start together.
void ParallelPhaseHeader(const ParallelPhaseLayout& phase);

// A worker's lines of part `part` of its block (a file-handling measurement or a throughput
// half), on the console and then in the results file. Call inside the ReportLock critical
// section.
void ReportWorkerPart(const ParallelPhaseLayout& phase, int part, int thread, double elapsed,
                      double rate, const OperationFailures& failures);

// An overall rate of a phase and the single-thread rate it is compared with.
struct SummaryRates {
  double overall = 0;
  double single = 0;
};

// After a phase: its empty lines, then each part's overall figures with their gain over the
// single-thread rate, and the phase's closing empty line.
void ReportPhaseSummary(const ParallelPhaseLayout& phase, SummaryRates first,
                        SummaryRates second = {});
