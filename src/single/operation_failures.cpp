#include "single/operation_failures.h"

#include <cstring>

namespace {

constexpr const char* OperationNames[OperationKinds] = {"open", "close", "remove",  "write",
                                                        "read", "seek",  "allocate"};

}  // namespace

bool OperationFailures::Any() const {
  for (const std::int64_t count : counts) {
    if (count != 0) {
      return true;
    }
  }
  return false;
}

std::string DescribeFailures(const OperationFailures& failures) {
  std::string text;
  for (int kind = 0; kind < OperationKinds; ++kind) {
    const std::int64_t count = failures.counts[kind];
    if (count == 0) {
      continue;
    }
    if (!text.empty()) {
      text += "; ";
    }
    text += OperationNames[kind];
    text += " failed";
    if (count > 1) {
      text += ' ' + std::to_string(count) + " times";
    }
    text += ": ";
    const int error = failures.errors[kind];
    text += error != 0 ? std::strerror(error) : "the file ended early";
  }
  return text;
}
