// Stands in for drives-tesk where `drives-tesk-results run` must meet a benchmark that fails:
// prints a line on each channel, then exits with DRIVES_TESK_STAND_IN's number, or with "sleep"
// waits a minute for a signal, with a file "sleeping" to say so. It writes no results file.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <thread>

int main() {
  const char* mode = std::getenv("DRIVES_TESK_STAND_IN");
  std::cout << "stand-in benchmark" << std::endl;
  std::cerr << "stand-in complaint" << std::endl;
  if (mode != nullptr && std::strcmp(mode, "sleep") == 0) {
    // Tells the test that both lines are out and the wait has begun.
    std::ofstream("sleeping") << "";
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
  }
  return mode != nullptr ? std::atoi(mode) : 0;
}
