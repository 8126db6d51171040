// The names both programs share: the results file's name made from a time and read back, the
// closing line that names it, the files `run` keeps beside it, and the scratch names.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "contract/report_texts.h"

namespace {

TEST(FileNames, AResultsNameIsReadBackAsTheTimeItWasMadeFrom) {
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 9;
  local.tm_hour = 7;
  local.tm_min = 5;
  local.tm_sec = 3;
  const std::string name = ResultsNameFor(local);
  EXPECT_TRUE(IsResultsName(name));
  std::string date, time;
  ASSERT_TRUE(DateFromResultsName(name, date, time)) << name;
  EXPECT_EQ(date, "2026-12-09");
  EXPECT_EQ(time, "07:05:03");
  // A name of another shape keeps its prefix but tells no time.
  EXPECT_FALSE(DateFromResultsName(name.substr(0, name.size() - 5) + "x.txt", date, time));
  EXPECT_FALSE(DateFromResultsName(name + ".bak", date, time));
}

TEST(FileNames, WhatRunKeepsBesideAResultsFileIsNoResultsFileOfItsOwn) {
  const std::string results = "dir/" + std::string(ResultsNamePrefix) + "x.txt";
  const std::string transcript = BesideResults(results, TranscriptSuffix);
  const std::string context = BesideResults(results, ContextSuffix);
  EXPECT_EQ(transcript, "dir/" + std::string(ResultsNamePrefix) + "x" + TranscriptSuffix);
  EXPECT_EQ(context, "dir/" + std::string(ResultsNamePrefix) + "x" + ContextSuffix);
  for (const std::string& companion : {transcript, context}) {
    const std::string name = companion.substr(4);
    EXPECT_TRUE(HasResultsPrefix(name));
    EXPECT_TRUE(IsRunCompanionName(name));
    EXPECT_FALSE(IsResultsName(name));
  }
  EXPECT_TRUE(IsResultsName(results.substr(4)));
}

TEST(FileNames, TheClosingLineNamesTheFileAfterItsLastBackslash) {
  std::string name;
  ASSERT_TRUE(ResultsNameOnClosingLine(std::string(SavedText) + "/a/b\\results x.txt", name));
  EXPECT_EQ(name, "results x.txt");
  ASSERT_TRUE(ResultsNameOnClosingLine(std::string(NotSavedText) + "/a\\r.txt", name));
  EXPECT_EQ(name, "r.txt");
  EXPECT_FALSE(ResultsNameOnClosingLine("Press Enter to Exit.", name));
}

// Every scratch file a run of the most workers leaves is among the names `clean` takes, each once.
TEST(FileNames, TheScratchNamesHoldEveryFileARunLeaves) {
  const std::vector<std::string> names = ScratchNames();
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
  EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
  std::vector<std::string> left{ScratchFileName, BlockCopyFileName};
  for (int worker = 0; worker < ThreadCap; ++worker) {
    left.push_back(WorkerScratchName(WorkerFilePrefix, worker, WorkerFileSuffix));
    left.push_back(WorkerScratchName(WorkerFilePrefix, worker));
  }
  EXPECT_EQ(left.size(), ScratchFileCount(ThreadCap));
  for (const std::string& name : left) {
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), name)) << name;
  }
}

}  // namespace
