#include "single/byte_passes.h"

#include <iostream>

#include "app/constants.h"
#include "report/report_line.h"

void WriteBytePasses(std::ofstream& out) {
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
}

void ReadBytePasses(std::ifstream& in) {
  in.seekg(0);
  if (in.is_open()) {
    // The first pass reads up to the end of the file. It also stops when the stream fails
    // without reaching the end (a read error, or a directory in the file's place): a get on a
    // failed stream never sets the end-of-file flag, so waiting for that flag alone never ends.
    while (!in.eof() && !in.fail()) {
      in.get();
      in.sync();
    }
  } else {
    WriteLine(std::cout, "Unable to open file");
  }
  in.clear();
  in.seekg(0);
  in.seekg(SecondPassBytes);
  for (std::int64_t access = 0; access < SecondPassBytes; ++access) {
    in.get();
    in.sync();
  }
}
