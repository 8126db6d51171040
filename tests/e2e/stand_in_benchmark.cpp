// Stands in for drives-tesk where `drives-tesk-results run` must meet a benchmark that fails:
// prints a line on each channel, then by DRIVES_TESK_STAND_IN
// - a number: exits with it;
// - "sleep": waits a minute for a signal, with a file "sleeping" to say so;
// - "stubborn": the same, ignoring SIGTERM (noting the first in a file "asked-to-stop"), with a
//   grandchild that ignores it too and holds the output pipes (POSIX shell);
// - "flood": prints without end.
// It writes no results file.
#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>

namespace {

// Says that a SIGTERM came (with what a signal handler may call), and goes on as if nothing had.
// The stubborn stand-in runs on POSIX only.
extern "C" void NoteTermination(int) {
#ifndef _WIN32
  const int note = open("asked-to-stop", O_CREAT | O_WRONLY, 0644);
  if (note >= 0) {
    close(note);
  }
#endif
}

}  // namespace

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
    std::signal(SIGTERM, NoteTermination);
  }
  if (behaviour == "sleep" || behaviour == "stubborn") {
    // Tells the test that both lines are out and the wait has begun.
    std::ofstream("sleeping") << "";
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
  }
  return std::atoi(behaviour.c_str());
}
