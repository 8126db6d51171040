#include "support/captured_run.h"

#include <iostream>
#include <sstream>

#include "state/global_streams.h"
#include "support/line_patterns.h"

CapturedChannels CaptureChannels(const std::function<void()>& work, const std::string& logPath) {
  std::ostringstream console;
  std::streambuf* saved = std::cout.rdbuf(console.rdbuf());
  ResultsLog.open(logPath, std::ios::out | std::ios::trunc);
  work();
  ResultsLog.close();
  std::cout.rdbuf(saved);
  // The console is a string stream here, with no text mode; the results file is in text mode.
  return {SplitLines(console.str()), SplitTextLines(ReadWholeFile(logPath))};
}
