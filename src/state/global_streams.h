// The process-wide file streams and the start directory. All exist before main runs, with no file
// attached and no exceptions enabled: a failed stream operation only sets the stream's flags.
#pragma once

#include <fstream>

// The results file channel.
extern std::ofstream ResultsLog;

// Streams of the single-thread tests.
extern std::ofstream cycleOut;
extern std::ifstream cycleIn;
extern std::ofstream byteOut;
extern std::ifstream byteIn;
extern std::ofstream blockOut;

// The working directory as it was when the process started, or nullptr when it could not be
// determined. Every results and scratch file name is relative to it.
extern const char* const startDirectory;
