// Stands in for drives-tesk where `drives-tesk-results run` must meet a benchmark that fails:
// prints a line on each channel, then exits with DRIVES_TESK_STAND_IN's number, or with "sleep"
// waits a minute for a signal. It writes no results file.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <thread>

int main() {
  const char* mode = std::getenv("DRIVES_TESK_STAND_IN");
  std::cout << "stand-in benchmark" << std::endl;
  std::cerr << "stand-in complaint" << std::endl;
  if (mode != nullptr && std::strcmp(mode, "sleep") == 0) {
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
  }
  return mode != nullptr ? std::atoi(mode) : 0;
}
