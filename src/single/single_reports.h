// The report lines of the single-thread measurements, on the console and then in the results
// file, with the console's failure warning where a measurement's operations failed.
#pragma once

#include "single/operation_failures.h"

// A file-handling test's time and rate lines and an empty line on each channel.
void ReportCycleFigures(double elapsed, double rate, const OperationFailures& failures);

// A throughput half's three lines on each channel, each group followed by an empty line when
// `emptyLineAfter` is set. `measurement` names the half in the warning ("writing", "reading").
void ReportSpeedFigures(double elapsed, double rate, const char* secondsText,
                        const char* measurement, bool emptyLineAfter,
                        const OperationFailures& failures);
