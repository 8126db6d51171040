#include "single/single_reports.h"

#include "report/report_line.h"

void ReportCycleFigures(double elapsed, double rate, const OperationFailures& failures) {
  WriteCycleLines(std::cout, NoTag{}, elapsed, rate, "The system could process ");
  WriteFailureLine(NoTag{}, "file-handling", failures);
  WriteLine(std::cout);
  // The results file has always had two blanks before the single-thread file rates, the console
  // one; stored results files are compared with that spacing.
  WriteCycleLines(ResultsLog, NoTag{}, elapsed, rate, "The system could process  ");
  WriteLine(ResultsLog);
}

void ReportSpeedFigures(double elapsed, double rate, const char* secondsText,
                        const char* measurement, bool emptyLineAfter,
                        const OperationFailures& failures) {
  WriteSpeedLines(std::cout, NoTag{}, elapsed, rate, secondsText, " Millions Accesses/sec.");
  WriteFailureLine(NoTag{}, measurement, failures);
  if (emptyLineAfter) {
    WriteLine(std::cout);
  }
  WriteSpeedLines(ResultsLog, NoTag{}, elapsed, rate, secondsText, " Millions Accesses/sec.");
  if (emptyLineAfter) {
    WriteLine(ResultsLog);
  }
}
