#include "single/block_io.h"

#include <cerrno>
#include <new>

void OpenInput(std::ifstream& in, const char* name, OperationFailures& failures) {
  if (name == nullptr) {
    in.setstate(std::ios::failbit);
    return;
  }
  in.open(name, std::ios::in | std::ios::binary);
  if (!in.is_open()) {
    failures.Note(Operation::Open, errno);
  }
}

void OpenOutput(std::ofstream& out, const char* name, OperationFailures& failures) {
  if (name == nullptr) {
    out.setstate(std::ios::failbit);
    return;
  }
  out.open(name, std::ios::out | std::ios::binary);
  if (!out.is_open()) {
    failures.Note(Operation::Open, errno);
  }
}

std::int64_t MeasureLength(std::ifstream& in, OperationFailures& failures) {
  in.seekg(0, std::ios::end);
  const auto length = static_cast<std::int64_t>(in.tellg());
  if (length < 0 && in.is_open()) {
    failures.Note(Operation::Seek, errno);
  }
  return length;
}

char* AllocateBlock(std::int64_t length, OperationFailures& failures) {
  if (length < 0) {
    return nullptr;
  }
  char* const block = new (std::nothrow) char[static_cast<std::size_t>(length)];
  if (block == nullptr) {
    failures.Note(Operation::Allocate, ENOMEM);
  }
  return block;
}

std::int64_t ReadBlock(std::ifstream& in, char* buffer, std::int64_t length,
                       OperationFailures& failures) {
  std::int64_t bytesRead = 0;
  if (buffer != nullptr) {
    in.read(buffer, length);
    bytesRead = in.gcount();
  }
  in.sync();
  if (buffer != nullptr && !in.good()) {
    failures.Note(Operation::Read, in.bad() ? errno : 0);
  }
  return bytesRead;
}

void WriteBlock(std::ofstream& out, const char* buffer, std::int64_t length,
                OperationFailures& failures) {
  if (buffer != nullptr) {
    out.write(buffer, length);
  } else {
    // The read half failed, so there is nothing to write: the figure measures an empty write.
    failures.Note(Operation::Copy, 0);
  }
  out.flush();
  if (out.is_open() && !out.good()) {
    failures.Note(Operation::Write, errno);
  }
}
