// The per-thread tables of the multi-thread phases, indexed by OpenMP thread number. Entry t is
// written only by worker t, so the tables take no lock.
#pragma once

#include <fstream>

#include "contract/constants.h"

// A table of SlotCount entries in which every entry has cache lines of its own: a worker that
// works through its own stream or value never slows down its neighbours by sharing a line with
// them.
template <typename T>
struct SlotTable {
  struct alignas(SlotAlignment) Entry {
    T item;
  };
  Entry entries[SlotCount];

  T& operator[](int thread) { return entries[thread].item; }
  const T& operator[](int thread) const { return entries[thread].item; }
};

using ValueTable = SlotTable<double>;

extern ValueTable threadStreamCycleStart, threadStreamCycleEnd, threadStreamCycleElapsed,
    threadStreamCycleRate;
extern ValueTable threadDescriptorCycleStart, threadDescriptorCycleEnd,
    threadDescriptorCycleElapsed, threadDescriptorCycleRate;
extern ValueTable threadByteWriteStart, threadByteWriteEnd, threadByteWriteElapsed,
    threadByteWriteRate;
extern ValueTable threadByteReadStart, threadByteReadEnd, threadByteReadElapsed, threadByteReadRate;
extern ValueTable threadBlockReadStart, threadBlockReadEnd, threadBlockReadElapsed,
    threadBlockReadRate;
extern ValueTable threadBlockWriteStart, threadBlockWriteEnd, threadBlockWriteElapsed,
    threadBlockWriteRate;

extern SlotTable<std::ofstream> threadCycleOut;
extern SlotTable<std::ifstream> threadCycleIn;
extern SlotTable<std::ofstream> threadByteOut;
extern SlotTable<std::ifstream> threadByteIn;
extern SlotTable<std::ofstream> threadBlockOut;

// Each worker's copy of its scratch file in the block test. Kept here, not only in the worker, so
// that every buffer stays reachable until the process ends; none is ever freed.
extern SlotTable<char*> threadBlockBuffer;

// The sum of a rate table over the slots of the thread team (0 up to omp_get_max_threads() - 1);
// a slot whose worker never ran holds 0 and adds nothing.
double SumOverWorkers(const ValueTable& rates);
