#include "single/block_io.h"

#include <new>

std::int64_t MeasureLength(std::ifstream& in) {
  in.seekg(0, std::ios::end);
  return static_cast<std::int64_t>(in.tellg());
}

char* AllocateBlock(std::int64_t length) {
  if (length < 0) {
    return nullptr;
  }
  return new (std::nothrow) char[static_cast<std::size_t>(length)];
}

void ReadBlock(std::ifstream& in, char* buffer, std::int64_t length) {
  if (buffer != nullptr) {
    in.read(buffer, length);
  }
  in.sync();
}

void WriteBlock(std::ofstream& out, const char* buffer, std::int64_t length) {
  if (buffer != nullptr) {
    out.write(buffer, length);
  }
  out.flush();
}
