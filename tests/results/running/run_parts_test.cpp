// The parts of `run` that need no run: the status line, the sections, the workers, the start
// time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "results/comparing/comparison_table.h"
#include "results/output/formats.h"
#include "results/reading/beside_files.h"
#include "results/reading/results_file.h"
#include "results/record/text_safety.h"
#include "results/running/context_file.h"
#include "results/running/progress_line.h"
#include "results/running/run_plan.h"
#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/platform_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

TEST(RunParts, StatusLineFitsTheTerminal) {
  const Progress progress{2,
                          6,
                          "/media/someone/a rather long folder name/\xc3\xa9t\xc3\xa9",
                          "multi-thread, Low writing and reading speeds",
                          75.4,
                          130,
                          ""};
  EXPECT_EQ(StatusLine(progress, 200),
            "run 2 of 6: /media/someone/a rather long folder name/\xc3\xa9t\xc3\xa9: "
            "multi-thread, Low writing and reading speeds, 1 min 15 s, about 2 min 10 s left");
  Progress wide = progress;
  wide.directory = "/\xe6\x97\xa5\xe6\x9c\xac/\xe3\x83\x87\xe3\x82\xa3\xe3\x82\xb9\xe3\x82\xaf";
  for (const Progress& shown : {progress, wide}) {
    for (const int columns : {0, 1, 20, 60, 75, 100}) {
      const std::string line = StatusLine(shown, columns);
      EXPECT_LE(DisplayCells(line), static_cast<std::size_t>(std::max(columns - 1, 0))) << line;
      EXPECT_EQ(ValidUtf8(line), line);
    }
  }
  EXPECT_NE(StatusLine(progress, 100).find("\xe2\x80\xa6"), std::string::npos)
      << "the directory shortened at its start";
  Progress first = progress;
  first.left = -1;
  EXPECT_EQ(StatusLine(first, 200).find("left"), std::string::npos) << "no estimate yet";
}

TEST(RunParts, SectionsFollowTheReportsHeaders) {
  std::string phase, section, seen;
  for (const std::string& line :
       SplitLines(ReadWholeFile(StoredRun("linux-1-worker", "console")))) {
    const std::string before = section;
    FollowReport(line, phase, section);
    if (section != before) {
      seen += section + "|";
    }
  }
  EXPECT_EQ(seen,
            "single thread, Power of Handling Files -- Lower|single thread, Power of Handling "
            "Files -- Hihger|single thread, Low writing and reading speeds|single thread, High "
            "writing and reading speeds|multi-thread, Power of Handling Files -- Lower|"
            "multi-thread, Power of Handling Files -- Higher|multi-thread, Low writing and "
            "reading speeds|multi-thread, High writing and reading speeds|");
}

TEST(RunParts, WorkersAsTheBenchmarkWillStartThem) {
  const struct {
    int threads;
    const char* omp;
    unsigned hardware;
    int workers;
  } cases[] = {{3, "9", 2, 3},       {0, "9", 2, 9},           {0, "4,2", 2, 4},   {0, "x", 2, 2},
               {0, nullptr, 16, 16}, {0, "500", 2, ThreadCap}, {0, nullptr, 0, 1}, {0, "0", 1, 1}};
  for (const auto& test : cases) {
    EXPECT_EQ(ExpectedWorkers(test.threads, test.omp, test.hardware), test.workers)
        << test.threads << " " << (test.omp ? test.omp : "unset");
  }
}

// The start time carries the offset of the local zone, half hours included.
TEST(RunParts, StartTimeCarriesTheZonesOffset) {
  const char* saved = std::getenv("TZ");
  const std::string restore = saved != nullptr ? saved : "";
  const struct {
    const char* zone;
    const char* time;
  } cases[] = {{"UTC0", "2026-12-08T22:04:05+00:00"}, {"IST-5:30", "2026-12-09T03:34:05+05:30"}};
  for (const auto& test : cases) {
    SetTimeZone(test.zone);
    EXPECT_EQ(IsoTime(1796767445), test.time) << test.zone;
  }
  SetTimeZone(restore.c_str());
}

}  // namespace
