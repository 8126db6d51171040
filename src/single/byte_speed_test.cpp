#include "single/byte_speed_test.h"

#include "platform/wall_clock.h"

#include "contract/constants.h"
#include "state/run_state.h"
#include "report/report_line.h"
#include "single/block_io.h"
#include "single/byte_passes.h"
#include "single/scratch_names.h"
#include "single/single_reports.h"

void ByteSpeedTest() {
  ReportHeader(LowSpeedHeader, LowSpeedHeader);

  OperationFailures writeFailures;
  const bool writable = NameUsable(ScratchFileName, writeFailures);
  RunState.byteWriteStart = WallSeconds();
  OpenOutput(byteOut, writable ? ScratchFileName : nullptr, writeFailures);
  WriteBytePasses(byteOut, writeFailures);
  RunState.byteWriteEnd = WallSeconds();
  RunState.byteWriteElapsed = RunState.byteWriteEnd - RunState.byteWriteStart;
  RunState.byteWriteRate = ByteAccessCount / RunState.byteWriteElapsed;

  ReportSpeedFigures(RunState.byteWriteElapsed, RunState.byteWriteRate, WriteSecondsText,
                     WritingText, false, writeFailures);

  // byteOut stays open: the file is read back while it holds it, and the block test closes it.
  OperationFailures readFailures;
  const bool readable = NameUsable(ScratchFileName, readFailures);
  RunState.byteReadStart = WallSeconds();
  OpenInput(byteIn, readable ? ScratchFileName : nullptr, readFailures);
  ReadBytePasses(byteIn, readFailures);
  RunState.byteReadEnd = WallSeconds();
  RunState.byteReadElapsed = RunState.byteReadEnd - RunState.byteReadStart;
  RunState.byteReadRate = ByteAccessCount / RunState.byteReadElapsed;

  ReportSpeedFigures(RunState.byteReadElapsed, RunState.byteReadRate, ReadSecondsText, ReadingText,
                     true, readFailures);

  byteIn.close();
}
