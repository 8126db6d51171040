// The per-thread tables: each worker's entry on cache lines of its own, so that neighbouring
// workers never slow each other down.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#include "contract/constants.h"
#include "state/thread_slots.h"

namespace {

template <typename T>
std::uintptr_t AddressOf(const T& item) {
  return reinterpret_cast<std::uintptr_t>(&item);
}

TEST(ThreadSlots, GiveEveryWorkersEntryCacheLinesOfItsOwn) {
  for (int t : {0, 1, 2, ThreadCap - 1}) {
    EXPECT_EQ(AddressOf(threadByteIn[t]) % SlotAlignment, 0u);
    EXPECT_EQ(AddressOf(threadByteOut[t]) % SlotAlignment, 0u);
    EXPECT_EQ(AddressOf(threadByteReadRate[t]) % SlotAlignment, 0u);
  }
  EXPECT_GE(AddressOf(threadByteIn[1]) - AddressOf(threadByteIn[0]), sizeof(std::ifstream));
  EXPECT_EQ(AddressOf(threadByteWriteRate[1]) - AddressOf(threadByteWriteRate[0]), SlotAlignment);
}

}  // namespace
