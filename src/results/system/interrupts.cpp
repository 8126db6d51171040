#include "results/system/interrupts.h"

#include <atomic>

namespace {

// Counted from a signal handler (POSIX) or the console's handler thread (Windows).
std::atomic<int> interrupts{0};
static_assert(std::atomic<int>::is_always_lock_free, "counted from a signal handler");

}  // namespace

void CountInterrupt() {
  interrupts.fetch_add(1, std::memory_order_relaxed);
}

bool Interrupted() {
  return Interrupts() != 0;
}

int Interrupts() {
  return interrupts.load(std::memory_order_relaxed);
}
