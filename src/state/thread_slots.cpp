#include "state/thread_slots.h"

#include <omp.h>

#include <cstdint>

// The value tables start at zero before main. The stream tables are defined with the other
// process-wide streams, so that all of them are set up in one known order.
ValueTable threadStreamCycleStart, threadStreamCycleEnd, threadStreamCycleElapsed,
    threadStreamCycleRate;
ValueTable threadDescriptorCycleStart, threadDescriptorCycleEnd, threadDescriptorCycleElapsed,
    threadDescriptorCycleRate;
ValueTable threadByteWriteStart, threadByteWriteEnd, threadByteWriteElapsed, threadByteWriteRate;
ValueTable threadByteReadStart, threadByteReadEnd, threadByteReadElapsed, threadByteReadRate;
ValueTable threadBlockReadStart, threadBlockReadEnd, threadBlockReadElapsed, threadBlockReadRate;
ValueTable threadBlockWriteStart, threadBlockWriteEnd, threadBlockWriteElapsed,
    threadBlockWriteRate;

SlotTable<char*> threadBlockBuffer;

double SumOverWorkers(const ValueTable& rates) {
  double sum = 0.0;
  for (std::uint64_t slot = 0; slot < static_cast<std::uint64_t>(omp_get_max_threads()); ++slot) {
    sum += rates[static_cast<int>(slot)];
  }
  return sum;
}
