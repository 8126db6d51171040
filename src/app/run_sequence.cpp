#include "app/run_sequence.h"

#include <omp.h>

#include <cstdio>
#include <ctime>
#include <iostream>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "parallel/parallel_file_cycle_tests.h"
#include "parallel/parallel_speed_tests.h"
#include "platform/platform.h"
#include "report/report_line.h"
#include "single/block_speed_test.h"
#include "single/byte_speed_test.h"
#include "single/file_cycle_tests.h"
#include "state/run_state.h"

void SetThreadCount() {
  RunState.maxThreadsAtStart = omp_get_max_threads();
  RunState.threadCount = RunState.maxThreadsAtStart > ThreadCap
                             ? ThreadCap
                             : static_cast<std::int32_t>(RunState.maxThreadsAtStart);
  omp_set_num_threads(RunState.threadCount);
}

void OpenResultsFile() {
  const std::time_t now = std::time(nullptr);
  const std::tm* local = std::localtime(&now);
  FormatResultsName(local, RunState.dateText, sizeof RunState.dateText, RunState.resultsFileName,
                    sizeof RunState.resultsFileName);
  // Only a regular file of this directory is written; a link or a FIFO at the name is left alone,
  // and the closing line then says that the results could not be saved.
  if (ClassifyName(RunState.resultsFileName) == NameKind::Usable) {
    ResultsLog.open(RunState.resultsFileName, std::ios::out | std::ios::trunc);
  } else {
    ResultsLog.setstate(std::ios::failbit);
  }
}

void ReportBanner() {
  LineFigures figures;
  figures.threads = RunState.threadCount;
  figures.optional = RunState.maxThreadsAtStart > ThreadCap;
  ForEachChannel([&](std::ostream& channel, Channel which) {
    WriteLayoutLines(channel, which, LinesOf(BannerLines), NoTag{}, figures, NoWarnings{});
  });
}

std::string JoinResultsPath(const char* directory, const char* fileName) {
  // A backslash on every platform: the closing line has always been written so, and users and
  // scripts read it that way. Nothing is normalised.
  std::string path = directory != nullptr ? directory : UnknownDirectoryText;
  path += '\\';
  path += fileName;
  return path;
}

void CloseRun() {
  // Every line was flushed as it was written, so a stream still good here holds them all.
  const bool written = ResultsLog.is_open() && ResultsLog.good();
  ResultsLog.close();
  const bool saved = written && !ResultsLog.fail();
  RunState.resultsFilePath = JoinResultsPath(startDirectory, RunState.resultsFileName);
  LineFigures figures;
  figures.saved = saved;
  figures.path = RunState.resultsFilePath.c_str();
  WriteLayoutLines(std::cout, Channel::Console, LinesOf(ClosingLines), NoTag{}, figures,
                   NoWarnings{});
  // Nothing has been read from standard input yet, so this discards nothing a user typed early.
  std::fflush(stdin);
  std::cin.get();
}

// Every region has the team size set once at the start; main waits for the whole team at the
// end of each region before it prints the summary.
void RunParallelFileCyclePhases() {
#pragma omp parallel
  ParallelFileCycleStreamTest();
  ParallelFileCycleStreamSummary();

#pragma omp parallel
  ParallelFileCycleDescriptorTest();
  ParallelFileCycleDescriptorSummary();
}

void RunParallelPhases() {
  RunParallelFileCyclePhases();

#pragma omp parallel
  {
    WorkerFileName sourceName;
    ParallelByteSpeedTest(sourceName);
    ParallelBlockSpeedTest(sourceName);
  }
  ParallelBlockSpeedSummary();
}

int RunDrivesTesk() {
  PrepareProcess();
  SetThreadCount();
  OpenResultsFile();
  ReportBanner();

  FileCycleStreamTest();
  FileCycleDescriptorTest();
  ByteSpeedTest();
  BlockSpeedTest();

  RunParallelPhases();

  CloseRun();
  return 0;
}
