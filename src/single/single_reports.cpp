#include "single/single_reports.h"

#include "report/report_line.h"

void ReportCycleFigures(double elapsed, double rate, const OperationFailures& failures) {
  WriteCycleLines(std::cout, NoTag{}, elapsed, rate, ProcessText);
  WriteFailureLine(NoTag{}, FileHandlingText, failures);
  WriteLine(std::cout);
  // The results file has always had two blanks before the single-thread file rates, the console
  // one; stored results files are compared with that spacing.
  WriteCycleLines(ResultsLog, NoTag{}, elapsed, rate, LogProcessText);
  WriteLine(ResultsLog);
}

void ReportSpeedFigures(double elapsed, double rate, const char* secondsText,
                        const char* measurement, bool emptyLineAfter,
                        const OperationFailures& failures) {
  WriteSpeedLines(std::cout, NoTag{}, elapsed, rate, secondsText, AccessesText);
  WriteFailureLine(NoTag{}, measurement, failures);
  if (emptyLineAfter) {
    WriteLine(std::cout);
  }
  WriteSpeedLines(ResultsLog, NoTag{}, elapsed, rate, secondsText, AccessesText);
  if (emptyLineAfter) {
    WriteLine(ResultsLog);
  }
}
