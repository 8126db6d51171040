#include "parallel/parallel_file_cycle_tests.h"

#include <omp.h>

#include <cstdio>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "parallel/parallel_frame.h"
#include "platform/wall_clock.h"
#include "single/file_cycles.h"
#include "single/scratch_names.h"
#include "state/run_state.h"
#include "state/thread_slots.h"

void ParallelFileCycleStreamTest() {
  // The results-file headers of the parallel file phases end with a full stop; the console's do
  // not.
  ParallelPhaseHeader(ParallelStreamCycles);

  char name[NameBufferSize];
  OperationFailures failures;
  const bool usable = ClearedForCycles(
      WorkerScratchName(WorkerFilePrefix, omp_get_thread_num(), WorkerFileSuffix), failures);
  const double start = WallSeconds();
  const int t = omp_get_thread_num();
  threadStreamCycleStart[t] = start;
  std::snprintf(name, sizeof name, "%s%d%s", WorkerFilePrefix, t, WorkerFileSuffix);
  RunStreamFileCycles(threadCycleOut[t], threadCycleIn[t], usable ? name : nullptr, failures);
  threadStreamCycleEnd[t] = WallSeconds();
  threadStreamCycleElapsed[t] = threadStreamCycleEnd[t] - threadStreamCycleStart[t];
  threadStreamCycleRate[t] = CycleFileCount / threadStreamCycleElapsed[t];

#pragma omp critical(ReportLock)
  ReportWorkerPart(ParallelStreamCycles, 0, t, threadStreamCycleElapsed[t],
                   threadStreamCycleRate[t], failures);
}

void ParallelFileCycleDescriptorTest() {
  ParallelPhaseHeader(ParallelDescriptorCycles);

  char name[NameBufferSize];
  int threadDescriptors[SlotCount];
  OperationFailures failures;
  const bool usable = ClearedForCycles(
      WorkerScratchName(WorkerDescriptorFilePrefix, omp_get_thread_num(), WorkerFileSuffix),
      failures);
  const double start = WallSeconds();
  const int t = omp_get_thread_num();
  threadDescriptorCycleStart[t] = start;
  // Unlike the stream phase, this phase formats its name in every iteration, inside the timed
  // span.
  for (int cycle = 0; cycle < CycleCount; ++cycle) {
    std::snprintf(name, sizeof name, "%s%d%s", WorkerDescriptorFilePrefix, t, WorkerFileSuffix);
    DescriptorFileCycle(usable ? name : nullptr, threadDescriptors[t], failures);
  }
  threadDescriptorCycleEnd[t] = WallSeconds();
  threadDescriptorCycleElapsed[t] = threadDescriptorCycleEnd[t] - threadDescriptorCycleStart[t];
  threadDescriptorCycleRate[t] = CycleFileCount / threadDescriptorCycleElapsed[t];

#pragma omp critical(ReportLock)
  ReportWorkerPart(ParallelDescriptorCycles, 0, t, threadDescriptorCycleElapsed[t],
                   threadDescriptorCycleRate[t], failures);
}

void ParallelFileCycleStreamSummary() {
  RunState.overallStreamCycleRate = SumOverWorkers(threadStreamCycleRate);
  ReportPhaseSummary(ParallelStreamCycles,
                     {RunState.overallStreamCycleRate, RunState.streamCycleRate});
}

void ParallelFileCycleDescriptorSummary() {
  RunState.overallDescriptorCycleRate = SumOverWorkers(threadDescriptorCycleRate);
  ReportPhaseSummary(ParallelDescriptorCycles,
                     {RunState.overallDescriptorCycleRate, RunState.descriptorCycleRate});
}
