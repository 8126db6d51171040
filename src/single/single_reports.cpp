#include "single/single_reports.h"

#include "report/report_line.h"

void ReportSinglePart(const SingleTestLayout& test, int part, double elapsed, double rate,
                      const OperationFailures& failures) {
  LineFigures figures;
  figures.seconds = elapsed;
  figures.rate = rate;
  const bool last = part + 1 == test.partCount;
  ForEachChannel([&](std::ostream& channel, Channel which) {
    WriteLayoutLines(
        channel, which, test.parts[part].lines, NoTag{}, figures,
        [&](NoTag tag, const char* measurement) { WriteFailureLine(tag, measurement, failures); });
    if (last) {
      WriteBlanks(channel, test.blanksAfter);
    }
  });
}
