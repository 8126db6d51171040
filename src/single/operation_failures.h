// Which file operations of one measurement failed, and why. The rates use fixed counts, so a
// measurement whose operations failed still prints a figure; the console then says that the
// figure is no drive speed. Failures are noted on the failure path only, or by looking at a
// stream's sticky error flags after a pass, so the timed loops pay nothing for it.
#pragma once

#include <cstdint>
#include <iostream>
#include <string>

#include "report/report_line.h"

// Copy is not a system call: the block test's write half had nothing to write because its read
// half failed. Refuse is a scratch name the program would not open (see scratch_names.h).
enum class Operation : int { Refuse, Open, Close, Remove, Write, Read, Seek, Allocate, Copy };
inline constexpr int OperationKinds = 9;

struct OperationFailures {
  std::int64_t counts[OperationKinds] = {};
  // The system's error code at the first failure; 0: none. For Refuse, the NameKind found.
  int errors[OperationKinds] = {};
  // The name the program refused to open, for the warning.
  std::string refusedName;

  // Notes one failure of `operation`; `error` is errno at that moment, or 0 when the operation
  // failed without a system error (a read that met the end of the file early).
  void Note(Operation operation, int error) {
    const int kind = static_cast<int>(operation);
    if (counts[kind]++ == 0) {
      errors[kind] = error;
    }
  }
  bool Any() const;
};

// "open failed 16384 times: No such file or directory; remove failed: ..." for the operations
// that failed, in a fixed order.
std::string DescribeFailures(const OperationFailures& failures);

// Console only, right after a measurement's console lines, when any of its file operations
// failed: which ones and why. A normal run never prints it, and the results file keeps its shape.
template <typename Tag>
void WriteFailureLine(Tag tag, const char* measurement, const OperationFailures& failures) {
  if (failures.Any()) {
    WriteLine(std::cout, tag, WarningText, measurement, NotADriveSpeedText,
              DescribeFailures(failures), ".");
  }
}
