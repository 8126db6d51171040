#include "parallel/parallel_speed_tests.h"

#include <omp.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "contract/file_names.h"
#include "parallel/parallel_frame.h"
#include "platform/wall_clock.h"
#include "single/block_io.h"
#include "single/byte_passes.h"
#include "single/scratch_names.h"
#include "state/run_state.h"
#include "state/thread_slots.h"

void ParallelByteSpeedTest(WorkerFileName& sourceName) {
  ParallelPhaseHeader(ParallelByteSpeed);

  OperationFailures writeFailures;
  OperationFailures readFailures;
  // The worker's name is checked before each span that opens it; the span formats it itself.
  const std::string checkedName =
      WorkerScratchName(WorkerFilePrefix, omp_get_thread_num(), WorkerFileSuffix);
  const bool writable = NameUsable(checkedName, writeFailures);
  const double writeStart = WallSeconds();
  const int t = omp_get_thread_num();
  threadByteWriteStart[t] = writeStart;
  std::snprintf(sourceName, sizeof sourceName, "%s%d%s", WorkerFilePrefix, t, WorkerFileSuffix);
  OpenOutput(threadByteOut[t], writable ? sourceName : nullptr, writeFailures);
  WriteBytePasses(threadByteOut[t], writeFailures);
  threadByteWriteEnd[t] = WallSeconds();
  threadByteWriteElapsed[t] = threadByteWriteEnd[t] - threadByteWriteStart[t];
  threadByteWriteRate[t] = ByteAccessCount / threadByteWriteElapsed[t];

  // threadByteOut[t] stays open for the rest of the run; the file is read back while it holds it.
  const bool readable = NameUsable(checkedName, readFailures);
  threadByteReadStart[t] = WallSeconds();
  OpenInput(threadByteIn[t], readable ? sourceName : nullptr, readFailures);
  ReadBytePasses(threadByteIn[t], readFailures);
  threadByteReadEnd[t] = WallSeconds();
  threadByteReadElapsed[t] = threadByteReadEnd[t] - threadByteReadStart[t];
  threadByteReadRate[t] = ByteAccessCount / threadByteReadElapsed[t];

#pragma omp critical(ReportLock)
  {
    ReportWorkerPart(ParallelByteSpeed, 0, t, threadByteWriteElapsed[t], threadByteWriteRate[t],
                     writeFailures);
    ReportWorkerPart(ParallelByteSpeed, 1, t, threadByteReadElapsed[t], threadByteReadRate[t],
                     readFailures);
  }
  // The block test opens the same stream again on the same file.
  threadByteIn[t].close();

  // Every worker has stored both rates before one of them sums them.
#pragma omp barrier
#pragma omp single
  {
    RunState.overallByteWriteRate = SumOverWorkers(threadByteWriteRate);
    RunState.overallByteReadRate = SumOverWorkers(threadByteReadRate);
    ReportPhaseSummary(ParallelByteSpeed, {RunState.overallByteWriteRate, RunState.byteWriteRate},
                       {RunState.overallByteReadRate, RunState.byteReadRate});
  }
#pragma omp barrier
}

void ParallelBlockSpeedTest(const WorkerFileName& sourceName) {
  ParallelPhaseHeader(ParallelBlockSpeed);

  OperationFailures readFailures;
  OperationFailures writeFailures;
  char copyName[NameBufferSize];
  const bool readable = NameUsable(sourceName, readFailures);
  const double readStart = WallSeconds();
  const int t = omp_get_thread_num();
  threadBlockReadStart[t] = readStart;
  std::ifstream& in = threadByteIn[t];
  OpenInput(in, readable ? sourceName : nullptr, readFailures);
  const std::int64_t length = MeasureLength(in, readFailures);
  threadBlockBuffer[t] = AllocateBlock(length, readFailures);
  in.seekg(0);
  const std::int64_t bytesRead = ReadBlock(in, threadBlockBuffer[t], length, readFailures);
  threadBlockReadEnd[t] = WallSeconds();
  threadBlockReadElapsed[t] = threadBlockReadEnd[t] - threadBlockReadStart[t];
  threadBlockReadRate[t] = BlockByteCount / threadBlockReadElapsed[t];

  const bool writable = NameUsable(WorkerScratchName(WorkerFilePrefix, t), writeFailures);
  threadBlockWriteStart[t] = WallSeconds();
  std::snprintf(copyName, sizeof copyName, "%s%d", WorkerFilePrefix, t);
  OpenOutput(threadBlockOut[t], writable ? copyName : nullptr, writeFailures);
  WriteBlock(threadBlockOut[t], threadBlockBuffer[t], bytesRead, writeFailures);
  threadBlockWriteEnd[t] = WallSeconds();
  threadBlockWriteElapsed[t] = threadBlockWriteEnd[t] - threadBlockWriteStart[t];
  threadBlockWriteRate[t] = BlockByteCount / threadBlockWriteElapsed[t];

  // The write figures come first, although the write half runs second.
#pragma omp critical(ReportLock)
  {
    ReportWorkerPart(ParallelBlockSpeed, 0, t, threadBlockWriteElapsed[t], threadBlockWriteRate[t],
                     writeFailures);
    ReportWorkerPart(ParallelBlockSpeed, 1, t, threadBlockReadElapsed[t], threadBlockReadRate[t],
                     readFailures);
  }
}

void ParallelBlockSpeedSummary() {
  RunState.overallBlockWriteRate = SumOverWorkers(threadBlockWriteRate);
  RunState.overallBlockReadRate = SumOverWorkers(threadBlockReadRate);
  ReportPhaseSummary(ParallelBlockSpeed, {RunState.overallBlockWriteRate, RunState.blockWriteRate},
                     {RunState.overallBlockReadRate, RunState.blockReadRate});
}
