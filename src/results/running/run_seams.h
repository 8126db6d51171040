// Where `run` meets the world: the benchmark started as a child, the clock it reads and waits
// by, and the interrupts counted so far. The program takes the system's; in-process tests of the
// run loop replace them, so that nothing sleeps to see the loop stop and no global is needed.
#pragma once

#include <functional>

#include "results/system/child_process.h"

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds on a clock that never goes back, from a fixed point of its own.
  virtual double Seconds() = 0;
  // Seconds since the epoch, as the calendar counts them (results files are named by them).
  virtual long long CalendarSeconds() = 0;
  // Waits `seconds` before going on.
  virtual void Pause(double seconds) = 0;
};

// The system's steady and calendar clocks, and a sleep.
Clock& SystemClock();

struct RunSeams {
  ChildStarter start;
  Clock* clock;
  std::function<int()> interrupts;  // how many interrupts have come
};

// The system's child processes, clock and interrupts.
RunSeams SystemSeams();
