#include "single/block_speed_test.h"

#include "contract/file_names.h"
#include "platform/wall_clock.h"

#include "contract/constants.h"
#include "report/report_line.h"
#include "single/block_io.h"
#include "single/scratch_names.h"
#include "single/single_reports.h"
#include "state/run_state.h"

void BlockSpeedTest() {
  ReportHeader(BlockSpeedLayout.header);

  OperationFailures readFailures;
  const bool readable = NameUsable(ScratchFileName, readFailures);
  RunState.blockReadStart = WallSeconds();
  OpenInput(byteIn, readable ? ScratchFileName : nullptr, readFailures);
  RunState.blockSize = MeasureLength(byteIn, readFailures);
  byteIn.seekg(0);
  RunState.blockBuffer = AllocateBlock(RunState.blockSize, readFailures);
  const std::int64_t bytesRead =
      ReadBlock(byteIn, RunState.blockBuffer, RunState.blockSize, readFailures);
  RunState.blockReadEnd = WallSeconds();
  RunState.blockReadElapsed = RunState.blockReadEnd - RunState.blockReadStart;
  RunState.blockReadRate = BlockByteCount / RunState.blockReadElapsed;

  ReportSinglePart(BlockSpeedLayout, 0, RunState.blockReadElapsed, RunState.blockReadRate,
                   readFailures);

  OperationFailures writeFailures;
  const bool writable = NameUsable(BlockCopyFileName, writeFailures);
  RunState.blockWriteStart = WallSeconds();
  OpenOutput(blockOut, writable ? BlockCopyFileName : nullptr, writeFailures);
  // Only what was read is written: a read that fell short (a directory in the file's place can
  // claim a length of gigabytes) must not copy uninitialised memory into the copy file.
  WriteBlock(blockOut, RunState.blockBuffer, bytesRead, writeFailures);
  RunState.blockWriteEnd = WallSeconds();
  RunState.blockWriteElapsed = RunState.blockWriteEnd - RunState.blockWriteStart;
  RunState.blockWriteRate = BlockByteCount / RunState.blockWriteElapsed;

  ReportSinglePart(BlockSpeedLayout, 1, RunState.blockWriteElapsed, RunState.blockWriteRate,
                   writeFailures);

  byteIn.close();
  blockOut.close();
  byteOut.close();
}
