#include "parallel/parallel_frame.h"

#include <iostream>

#include "report/report_line.h"

void ParallelPhaseHeader(const ParallelPhaseLayout& phase) {
#pragma omp single
  ReportParallelHeader(phase.header);
}

void ReportWorkerPart(const ParallelPhaseLayout& phase, int part, int thread, double elapsed,
                      double rate, const OperationFailures& failures) {
  LineFigures figures;
  figures.seconds = elapsed;
  figures.rate = rate;
  ForEachChannel([&](std::ostream& channel, Channel which) {
    WriteLayoutLines(channel, which, phase.worker[part].lines, ThreadTag{thread}, figures,
                     [&](ThreadTag tag, const char* measurement) {
                       WriteFailureLine(tag, measurement, failures);
                     });
  });
}

void ReportPhaseSummary(const ParallelPhaseLayout& phase, SummaryRates first, SummaryRates second) {
  const SummaryRates rates[MaxParts] = {first, second};
  ForEachChannel([&](std::ostream& channel, Channel which) {
    WriteBlanks(channel, phase.blanksBeforeSummary);
    for (int part = 0; part < phase.partCount && part < MaxParts; ++part) {
      LineFigures figures;
      figures.rate = rates[part].overall;
      figures.improvement = rates[part].overall / rates[part].single;
      WriteLayoutLines(channel, which, phase.summary[part].lines, NoTag{}, figures, NoWarnings{});
    }
    WriteBlanks(channel, PhaseEndBlanks);
  });
}
