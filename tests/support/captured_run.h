// Runs a piece of the benchmark in-process with both channels captured: std::cout into a string,
// ResultsLog into a file of the current directory that is read back afterwards.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct CapturedChannels {
  std::vector<std::string> console;
  std::vector<std::string> log;
};

// The results file goes to `logPath`; pass an absolute path when the work runs in a directory
// where no file can be created.
CapturedChannels CaptureChannels(const std::function<void()>& work,
                                 const std::string& logPath = "captured-results.txt");
