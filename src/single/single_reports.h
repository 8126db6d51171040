// The report lines of the single-thread measurements, on the console and then in the results
// file, with the console's failure warning where a measurement's operations failed.
#pragma once

#include "contract/report_layout.h"
#include "single/operation_failures.h"

// The lines of part `part` of a single-thread test on each channel; after its last part, the
// test's empty lines.
void ReportSinglePart(const SingleTestLayout& test, int part, double elapsed, double rate,
                      const OperationFailures& failures);
