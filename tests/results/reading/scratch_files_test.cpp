#include "results/reading/scratch_files.h"
#include "contract/constants.h"
#include "contract/file_names.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/line_patterns.h"
#include "support/platform_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// Scratch files among names that only look alike, a results file, a directory and a link at
// scratch names, and a file outside that the link points to: clean lists and removes exactly the
// scratch files.
TEST(ScratchCleaner, RemovesExactlyTheScratchFilesAndNothingThatLooksAlike) {
  ScratchDirectory directory;
  fs::create_directory("run");
  const std::set<std::string> scratch = {"data64-Windows.tmp",
                                         "data64-Windows",
                                         "data64-Windows-0.tmp",
                                         "data64-Windows-0",
                                         WorkerScratchName(WorkerFilePrefix, ThreadCap - 1),
                                         "data64-windows-3.tmp"};
  std::set<std::string> kept = {
      "data64-Windows-x", "data64-Windows-0.tmp.bak",
      WorkerScratchName(WorkerFilePrefix, ThreadCap), "data64-Windows-01",
      "results_drives_tesk_windows @ local date 2026.12.08 time 10.15.04.txt"};
  if (NamesAreCaseSensitive) {
    kept.insert("Data64-Windows.tmp");  // elsewhere the same file as data64-Windows.tmp
  }
  for (const auto& name : scratch) {
    WriteTextFile("run/" + name, "scratch");
  }
  for (const auto& name : kept) {
    WriteTextFile("run/" + name, "keep");
  }
  fs::create_directory("run/data64-Windows-1");
  WriteTextFile("outside.txt", "outside");
  std::error_code noLinks;
  fs::create_symlink("../outside.txt", "run/data64-Windows-2", noLinks);

  std::string error;
  const auto found = FindScratchFiles("run", error);
  EXPECT_EQ(error, "");
  std::set<std::string> names;
  for (const auto& file : found) {
    names.insert(file.name);
    EXPECT_EQ(file.size, 7u);
  }
  EXPECT_EQ(names, scratch);

  EXPECT_TRUE(RemoveScratchFiles("run", found).empty());
  std::set<std::string> left;
  for (const auto& entry : fs::directory_iterator("run")) {
    left.insert(entry.path().filename().string());
  }
  std::set<std::string> expected = kept;
  expected.insert("data64-Windows-1");
  if (!noLinks) {
    expected.insert("data64-Windows-2");
  }
  EXPECT_EQ(left, expected);
  EXPECT_EQ(ReadWholeFile("outside.txt"), "outside");
}

}  // namespace
