#include "results/running/run_seams.h"

#include <chrono>
#include <thread>

#include "results/system/interrupts.h"

namespace {

class SteadyClock final : public Clock {
 public:
  double Seconds() override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  long long CalendarSeconds() override {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
  }
  void Pause(double seconds) override {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  }
};

}  // namespace

Clock& SystemClock() {
  static SteadyClock clock;
  return clock;
}

RunSeams SystemSeams() {
  return {StartChildProcess, &SystemClock(), Interrupts};
}
