#include "single/block_speed_test.h"

#include <omp.h>

#include "app/constants.h"
#include "app/run_state.h"
#include "report/report_line.h"
#include "single/block_io.h"

void BlockSpeedTest() {
  ReportHeader("High writing and reading speeds:", "High writing and reading speeds:");

  RunState.blockReadStart = omp_get_wtime();
  byteIn.open(ScratchFileName, std::ios::in | std::ios::binary);
  RunState.blockSize = MeasureLength(byteIn);
  byteIn.seekg(0);
  RunState.blockBuffer = AllocateBlock(RunState.blockSize);
  ReadBlock(byteIn, RunState.blockBuffer, RunState.blockSize);
  RunState.blockReadEnd = omp_get_wtime();
  RunState.blockReadElapsed = RunState.blockReadEnd - RunState.blockReadStart;
  RunState.blockReadRate = BlockByteCount / RunState.blockReadElapsed;

  ReportSpeedFigures(RunState.blockReadElapsed, RunState.blockReadRate, " Secs. to Read:", false);

  RunState.blockWriteStart = omp_get_wtime();
  blockOut.open(BlockCopyFileName, std::ios::out | std::ios::binary);
  WriteBlock(blockOut, RunState.blockBuffer, RunState.blockSize);
  RunState.blockWriteEnd = omp_get_wtime();
  RunState.blockWriteElapsed = RunState.blockWriteEnd - RunState.blockWriteStart;
  RunState.blockWriteRate = BlockByteCount / RunState.blockWriteElapsed;

  ReportSpeedFigures(RunState.blockWriteElapsed, RunState.blockWriteRate, " Secs. to Write.", true);

  // The single-thread phase ends with one more empty line on each channel.
  ReportLine();

  byteIn.close();
  blockOut.close();
  byteOut.close();
}
