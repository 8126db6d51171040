#include "platform/wall_clock.h"

#include <omp.h>

#include <chrono>

namespace {

using MonotonicClock = std::chrono::steady_clock;

const bool useRuntimeClock = TickIsFineEnough(omp_get_wtick());

double MonotonicSeconds() {
  return std::chrono::duration<double>(MonotonicClock::now().time_since_epoch()).count();
}

}  // namespace

bool TickIsFineEnough(double tick) {
  return tick > 0.0 && tick <= FinestUsableTick;
}

bool TimedWithRuntimeClock() {
  return useRuntimeClock;
}

double WallSeconds() {
  return useRuntimeClock ? omp_get_wtime() : MonotonicSeconds();
}

double WallTick() {
  return useRuntimeClock
             ? omp_get_wtick()
             : static_cast<double>(MonotonicClock::period::num) / MonotonicClock::period::den;
}
