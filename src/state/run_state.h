// Values that the run sequence and the tests share. Zero at start, each written once by the test
// that owns it, never reset.
#pragma once

#include <cstdint>
#include <string>

#include "contract/constants.h"

struct RunValues {
  std::int64_t maxThreadsAtStart;
  std::int32_t threadCount;

  char dateText[DateTextSize];
  char resultsFileName[ResultsNameSize];
  // The closing line's path: a string, so a working directory of any length fits.
  std::string resultsFilePath;

  double streamCycleStart, streamCycleEnd, streamCycleElapsed, streamCycleRate;
  double descriptorCycleStart, descriptorCycleEnd, descriptorCycleElapsed, descriptorCycleRate;

  double byteWriteStart, byteWriteEnd, byteWriteElapsed, byteWriteRate;
  double byteReadStart, byteReadEnd, byteReadElapsed, byteReadRate;

  double blockReadStart, blockReadEnd, blockReadElapsed, blockReadRate;
  double blockWriteStart, blockWriteEnd, blockWriteElapsed, blockWriteRate;
  // The block test's copy of the scratch file; it lives until the process ends.
  char* blockBuffer;
  std::int64_t blockSize;

  double overallStreamCycleRate, overallDescriptorCycleRate;
  double overallByteWriteRate, overallByteReadRate;
  double overallBlockWriteRate, overallBlockReadRate;
};

extern RunValues RunState;
