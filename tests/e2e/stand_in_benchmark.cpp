// Stands in for drives-tesk where `drives-tesk-results run` must meet a benchmark that fails:
// prints a line on each channel, then by DRIVES_TESK_STAND_IN
// - a number: exits with it;
// - "sleep": waits a minute for a signal, with a file "sleeping" to say so;
// - "stubborn": the same, ignoring SIGTERM, with a grandchild that ignores it too and holds the
//   output pipes (POSIX shell);
// - "flood": prints without end.
// It writes no results file.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

int main() {
  const char* mode = std::getenv("DRIVES_TESK_STAND_IN");
  const std::string behaviour = mode != nullptr ? mode : "0";
  std::cout << "stand-in benchmark" << std::endl;
  std::cerr << "stand-in complaint" << std::endl;
  if (behaviour == "flood") {
    const std::string line(1023, 'x');
    for (;;) {
      std::cout << line << '\n';
    }
  }
  if (behaviour == "stubborn") {
    std::signal(SIGTERM, SIG_IGN);
    // Ignored signals stay ignored across exec: the grandchild keeps ignoring SIGTERM.
    if (std::system("sleep 60 & echo $! > grandchild") != 0) {
      return 4;
    }
  }
  if (behaviour == "sleep" || behaviour == "stubborn") {
    // Tells the test that both lines are out and the wait has begun.
    std::ofstream("sleeping") << "";
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
  }
  return std::atoi(behaviour.c_str());
}
