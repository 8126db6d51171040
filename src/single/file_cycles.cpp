#include "single/file_cycles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "app/constants.h"

void RunStreamFileCycles(std::ofstream& out, std::ifstream& in, const char* name) {
  for (int cycle = 0; cycle < CycleCount; ++cycle) {
    out.open(name, std::ios::out | std::ios::binary);
    in.open(name, std::ios::in | std::ios::binary);
    in.close();
    out.close();
    std::remove(name);
  }
}

void DescriptorFileCycle(const char* name, int& descriptor) {
  constexpr mode_t EveryPermission = 0777;
  descriptor = open(name, O_RDWR | O_CREAT, EveryPermission);
  // -1 is no descriptor: closing it would only ask the kernel for an error.
  if (descriptor != -1) {
    close(descriptor);
  }
  std::remove(name);
}
