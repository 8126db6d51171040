#include "single/byte_speed_test.h"

#include "contract/file_names.h"
#include "platform/wall_clock.h"

#include "contract/constants.h"
#include "report/report_line.h"
#include "single/block_io.h"
#include "single/byte_passes.h"
#include "single/scratch_names.h"
#include "single/single_reports.h"
#include "state/run_state.h"

void ByteSpeedTest() {
  ReportHeader(ByteSpeedLayout.header);

  OperationFailures writeFailures;
  const bool writable = NameUsable(ScratchFileName, writeFailures);
  RunState.byteWriteStart = WallSeconds();
  OpenOutput(byteOut, writable ? ScratchFileName : nullptr, writeFailures);
  WriteBytePasses(byteOut, writeFailures);
  RunState.byteWriteEnd = WallSeconds();
  RunState.byteWriteElapsed = RunState.byteWriteEnd - RunState.byteWriteStart;
  RunState.byteWriteRate = ByteAccessCount / RunState.byteWriteElapsed;

  ReportSinglePart(ByteSpeedLayout, 0, RunState.byteWriteElapsed, RunState.byteWriteRate,
                   writeFailures);

  // byteOut stays open: the file is read back while it holds it, and the block test closes it.
  OperationFailures readFailures;
  const bool readable = NameUsable(ScratchFileName, readFailures);
  RunState.byteReadStart = WallSeconds();
  OpenInput(byteIn, readable ? ScratchFileName : nullptr, readFailures);
  ReadBytePasses(byteIn, readFailures);
  RunState.byteReadEnd = WallSeconds();
  RunState.byteReadElapsed = RunState.byteReadEnd - RunState.byteReadStart;
  RunState.byteReadRate = ByteAccessCount / RunState.byteReadElapsed;

  ReportSinglePart(ByteSpeedLayout, 1, RunState.byteReadElapsed, RunState.byteReadRate,
                   readFailures);

  byteIn.close();
}
