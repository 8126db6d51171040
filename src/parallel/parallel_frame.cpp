#include "parallel/parallel_frame.h"

#include <iostream>

#include "report/report_line.h"

void ParallelPhaseHeader(const char* consoleHeader, const char* logHeader) {
#pragma omp single
  ReportParallelHeader(consoleHeader, logHeader);
}

void ReportWorkerSpeedHalf(int thread, double elapsed, double rate, const char* secondsText,
                           const char* measurement, const OperationFailures& failures) {
  // The console has always said "Access" here, the results file "Accesses".
  WriteSpeedLines(std::cout, ThreadTag{thread}, elapsed, rate, secondsText,
                  WorkerConsoleAccessesText);
  WriteFailureLine(ThreadTag{thread}, measurement, failures);
  WriteSpeedLines(ResultsLog, ThreadTag{thread}, elapsed, rate, secondsText, AccessesText);
}

void ReportWorkerCycles(int thread, double elapsed, double rate,
                        const OperationFailures& failures) {
  WriteCycleLines(std::cout, ThreadTag{thread}, elapsed, rate, ProcessText);
  WriteFailureLine(ThreadTag{thread}, FileHandlingText, failures);
  WriteCycleLines(ResultsLog, ThreadTag{thread}, elapsed, rate, ProcessText);
}

void ReportCycleSummary(double overallRate, double singleRate) {
  ForEachChannel([&](std::ostream& channel) {
    WriteLine(channel);
    WriteLine(channel);
    WriteLine(channel, OverallFilesText, overallRate, FilesText);
  });
  ReportLine(ImprovementText, overallRate / singleRate, TimesText);
  ReportLine();
}

namespace {

// One overall figure of a throughput phase: millions of accesses (note: no blank before "to"),
// megabytes, and the gain over the single-thread rate.
void ReportOverallHalf(int leadingEmptyLines, double overallRate, double singleRate,
                       const char* accessText, const char* speedText) {
  ForEachChannel([&](std::ostream& channel) {
    for (int line = 0; line < leadingEmptyLines; ++line) {
      WriteLine(channel);
    }
    WriteLine(channel, OverallAccessText, ToMillions(overallRate), accessText);
    WriteLine(channel, speedText, ToMegabytes(overallRate), MegabytesText);
  });
  ReportLine(ImprovementText, overallRate / singleRate, TimesText);
}

}  // namespace

void ReportSpeedSummary(int leadingEmptyLines, double overallWriteRate, double singleWriteRate,
                        double overallReadRate, double singleReadRate) {
  ReportOverallHalf(leadingEmptyLines, overallWriteRate, singleWriteRate, OverallWriteAccessesText,
                    OverallWritingText);
  ReportOverallHalf(0, overallReadRate, singleReadRate, OverallReadAccessesText,
                    OverallReadingText);
  ReportLine();
}
