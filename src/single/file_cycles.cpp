#include "single/file_cycles.h"

#include <cerrno>
#include <cstdio>

#include "contract/constants.h"
#include "platform/platform.h"

// Only first causes are noted: a close or remove after a failed open fails as a consequence.

void RunStreamFileCycles(std::ofstream& out, std::ifstream& in, const char* name,
                         OperationFailures& failures) {
  if (name == nullptr) {
    return;
  }
  for (int cycle = 0; cycle < CycleCount; ++cycle) {
    out.open(name, std::ios::out | std::ios::binary);
    const bool created = out.is_open();
    if (!created) {
      failures.Note(Operation::Open, errno);
    }
    in.open(name, std::ios::in | std::ios::binary);
    const bool opened = in.is_open();
    if (!opened && created) {
      failures.Note(Operation::Open, errno);
    }
    in.close();
    if (in.fail() && opened) {
      failures.Note(Operation::Close, errno);
    }
    out.close();
    if (out.fail() && created) {
      failures.Note(Operation::Close, errno);
    }
    if (std::remove(name) != 0 && created) {
      failures.Note(Operation::Remove, errno);
    }
  }
}

void DescriptorFileCycle(const char* name, int& descriptor, OperationFailures& failures) {
  if (name == nullptr) {
    descriptor = -1;
    return;
  }
  descriptor = OpenSharedDescriptor(name);
  // -1 is no descriptor: closing it would only ask the kernel for an error.
  if (descriptor == -1) {
    failures.Note(Operation::Open, errno);
  } else if (CloseDescriptor(descriptor) != 0) {
    failures.Note(Operation::Close, errno);
  }
  if (std::remove(name) != 0 && descriptor != -1) {
    failures.Note(Operation::Remove, errno);
  }
}
