#include "single/byte_speed_test.h"

#include <omp.h>

#include "app/constants.h"
#include "app/run_state.h"
#include "report/report_line.h"
#include "single/byte_passes.h"

void ByteSpeedTest() {
  ReportHeader("Low writing and reading speeds:", "Low writing and reading speeds:");

  RunState.byteWriteStart = omp_get_wtime();
  byteOut.open(ScratchFileName, std::ios::out | std::ios::binary);
  WriteBytePasses(byteOut);
  RunState.byteWriteEnd = omp_get_wtime();
  RunState.byteWriteElapsed = RunState.byteWriteEnd - RunState.byteWriteStart;
  RunState.byteWriteRate = ByteAccessCount / RunState.byteWriteElapsed;

  ReportSpeedFigures(RunState.byteWriteElapsed, RunState.byteWriteRate, " Secs. to Write.", false);

  // byteOut stays open: the file is read back while it holds it, and the block test closes it.
  RunState.byteReadStart = omp_get_wtime();
  byteIn.open(ScratchFileName, std::ios::in | std::ios::binary);
  ReadBytePasses(byteIn);
  RunState.byteReadEnd = omp_get_wtime();
  RunState.byteReadElapsed = RunState.byteReadEnd - RunState.byteReadStart;
  RunState.byteReadRate = ByteAccessCount / RunState.byteReadElapsed;

  ReportSpeedFigures(RunState.byteReadElapsed, RunState.byteReadRate, " Secs. to Read:", true);

  byteIn.close();
}
