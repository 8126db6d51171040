#include "single/operation_failures.h"

#include <cstring>

#include "platform/platform.h"

namespace {

static_assert(sizeof OperationNames / sizeof OperationNames[0] == OperationKinds);

// What stood at a refused name, as the warning says it.
const char* DescribeKind(int kind) {
  switch (static_cast<NameKind>(kind)) {
    case NameKind::SymbolicLink:
      return SymbolicLinkText;
    case NameKind::Fifo:
      return FifoText;
    case NameKind::Socket:
      return SocketText;
    case NameKind::Device:
      return DeviceText;
    case NameKind::LinkedFile:
      return LinkedFileText;
    default:
      return NotRegularText;
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
      text += FailureSeparatorText;
    }
    const int error = failures.errors[kind];
    if (kind == static_cast<int>(Operation::Copy)) {
      text += NothingToCopyText;
      continue;
    }
    if (kind == static_cast<int>(Operation::Refuse)) {
      text += failures.refusedName + NotUsedText + DescribeKind(error);
      continue;
    }
    text += OperationNames[kind];
    text += FailedText;
    if (count > 1) {
      text += ' ' + std::to_string(count) + TimesCountText;
    }
    text += ReasonSeparatorText;
    text += error != 0 ? std::strerror(error) : EndedEarlyText;
  }
  return text;
}
