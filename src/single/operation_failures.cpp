#include "single/operation_failures.h"

#include <cstring>

#include "platform/platform.h"

namespace {

constexpr const char* OperationNames[OperationKinds] = {
    "use", "open", "close", "remove", "write", "read", "seek", "allocate", "copy"};

// What stood at a refused name, as the warning says it.
const char* DescribeKind(int kind) {
  switch (static_cast<NameKind>(kind)) {
    case NameKind::SymbolicLink:
      return "a symbolic link";
    case NameKind::Fifo:
      return "a FIFO";
    case NameKind::Socket:
      return "a socket";
    case NameKind::Device:
      return "a device node";
    case NameKind::LinkedFile:
      return "a file with other hard links";
    default:
      return "not a regular file";
  }
}

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
    const int error = failures.errors[kind];
    if (kind == static_cast<int>(Operation::Copy)) {
      text += "nothing to copy because the read failed";
      continue;
    }
    if (kind == static_cast<int>(Operation::Refuse)) {
      text += failures.refusedName + " not used: it is " + DescribeKind(error);
      continue;
    }
    text += OperationNames[kind];
    text += " failed";
    if (count > 1) {
      text += ' ' + std::to_string(count) + " times";
    }
    text += ": ";
    text += error != 0 ? std::strerror(error) : "the file ended early";
  }
  return text;
}
