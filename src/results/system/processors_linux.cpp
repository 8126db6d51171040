#include <sched.h>

#include "results/system/processors.h"

unsigned ProcessorsAvailable() {
  cpu_set_t mask;
  CPU_ZERO(&mask);
  if (sched_getaffinity(0, sizeof mask, &mask) != 0) {
    return 0;
  }
  return static_cast<unsigned>(CPU_COUNT(&mask));
}
