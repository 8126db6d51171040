#include "single/file_cycle_tests.h"

#include "contract/file_names.h"
#include "platform/wall_clock.h"

#include <cstdio>

#include "contract/constants.h"
#include "report/report_line.h"
#include "single/file_cycles.h"
#include "single/scratch_names.h"
#include "single/single_reports.h"
#include "state/run_state.h"

void FileCycleStreamTest() {
  ReportHeader(StreamCycleLayout.header);

  char name[NameBufferSize];
  OperationFailures failures;
  const bool usable = ClearedForCycles(ScratchFileName, failures);
  RunState.streamCycleStart = WallSeconds();
  std::snprintf(name, sizeof name, "%s", ScratchFileName);
  RunStreamFileCycles(cycleOut, cycleIn, usable ? name : nullptr, failures);
  RunState.streamCycleEnd = WallSeconds();
  RunState.streamCycleElapsed = RunState.streamCycleEnd - RunState.streamCycleStart;
  RunState.streamCycleRate = CycleFileCount / RunState.streamCycleElapsed;

  ReportSinglePart(StreamCycleLayout, 0, RunState.streamCycleElapsed, RunState.streamCycleRate,
                   failures);
}

void FileCycleDescriptorTest() {
  ReportHeader(DescriptorCycleLayout.header);

  char name[NameBufferSize];
  int descriptor = -1;
  OperationFailures failures;
  const bool usable = ClearedForCycles(ScratchFileName, failures);
  RunState.descriptorCycleStart = WallSeconds();
  std::snprintf(name, sizeof name, "%s", ScratchFileName);
  const char* const cycleName = usable ? name : nullptr;
  for (int cycle = 0; cycle < CycleCount; ++cycle) {
    DescriptorFileCycle(cycleName, descriptor, failures);
  }
  RunState.descriptorCycleEnd = WallSeconds();
  RunState.descriptorCycleElapsed = RunState.descriptorCycleEnd - RunState.descriptorCycleStart;
  RunState.descriptorCycleRate = CycleFileCount / RunState.descriptorCycleElapsed;

  ReportSinglePart(DescriptorCycleLayout, 0, RunState.descriptorCycleElapsed,
                   RunState.descriptorCycleRate, failures);
}
