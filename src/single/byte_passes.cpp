#include "single/byte_passes.h"

#include <cerrno>
#include <iostream>

#include "contract/constants.h"
#include "report/report_line.h"

namespace {

// The error of a stream that failed: a system error when it is bad, else it met the end early.
int StreamError(const std::ios& stream) {
  return stream.bad() ? errno : 0;
}

}  // namespace

void WriteBytePasses(std::ofstream& out, OperationFailures& failures) {
  for (std::int64_t access = 0; access < FirstPassBytes; ++access) {
    out.put(FillByte);
    out.flush();
  }
  out.seekp(0);
  out.seekp(SecondPassBytes);
  for (std::int64_t access = 0; access < SecondPassBytes; ++access) {
    out.put(FillByte);
    out.flush();
  }
  // A failed flush leaves the stream bad, and every later put and flush does nothing, so errno
  // still tells why the first one failed.
  if (out.is_open() && !out.good()) {
    failures.Note(Operation::Write, errno);
  }
}

void ReadBytePasses(std::ifstream& in, OperationFailures& failures) {
  bool firstPassFailed = false;
  in.seekg(0);
  if (in.is_open()) {
    // The first pass reads up to the end of the file. It also stops when the stream fails
    // without reaching the end (a read error, or a directory in the file's place): a get on a
    // failed stream never sets the end-of-file flag, so waiting for that flag alone never ends.
    while (!in.eof() && !in.fail()) {
      in.get();
      in.sync();
    }
    firstPassFailed = !in.eof();
    if (firstPassFailed) {
      failures.Note(Operation::Read, errno);
    }
  } else {
    WriteLine(std::cout, UnableToOpenLine);
  }
  in.clear();
  in.seekg(0);
  in.seekg(SecondPassBytes);
  for (std::int64_t access = 0; access < SecondPassBytes; ++access) {
    in.get();
    in.sync();
  }
  if (in.is_open() && !in.good() && !firstPassFailed) {
    failures.Note(Operation::Read, StreamError(in));
  }
}
