// drives-tesk-results run before and around its runs where POSIX gives more to test: a file system
// too small for the scratch files, a directory an unprivileged user may not write, a processor
// mask, a parent that ignores SIGCHLD, and a directory reached through a link.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "e2e/run_harness.h"
#include "support/linux_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// Checks before the first run that need POSIX: a file system with too little room for the
// scratch files of the workers, and a directory an unprivileged user may not write.
TEST(RunRefusals, TooSmallAndUnwritableDirectories) {
  ScratchDirectory directory;
  fs::create_directory("small");
  fs::create_directory("shared");
  std::string reason;
  if (!MountSmallTmpfs(directory.path() + "/small", "size=8m", reason) ||
      !MountSmallTmpfs(directory.path() + "/shared", "size=60m", reason)) {
    GTEST_SKIP() << "no tmpfs: " << reason;
  }
  fs::create_directory("shared/a");
  fs::create_directory("shared/b");
  // Where nobody may look, but not write.
  fs::permissions(directory.path(), fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
  fs::create_directory("locked");
  fs::permissions("locked", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
  // Root writes anywhere: the command then runs as nobody.
  const bool root = geteuid() == 0;
  std::vector<std::string> locked = {"run", "locked"};
  if (root) {
    locked.insert(locked.begin(),
                  {"--reuid=65534", "--regid=65534", "--clear-groups", DRIVES_TESK_RESULTS});
  }
  RunOptions unprivileged = Companion(directory.path(), locked);
  unprivileged.program = root ? "/usr/bin/setpriv" : DRIVES_TESK_RESULTS;
  const struct {
    RunOptions options;
    std::string message;
  } cases[] = {
      {Companion(directory.path(), {"run", "small", "--threads", "4"}),
       "small: needs 41 MiB free for 4 workers, has 8 MiB"},
      // The scratch files of both stay to the end: their room is counted together.
      {Companion(directory.path(), {"run", "shared/a", "shared/b", "--threads", "4"}),
       "shared/a, shared/b: need 82 MiB free together for 4 workers each, have 60 MiB"},
      {unprivileged, "locked: Permission denied"},
  };
  for (const auto& test : cases) {
    const BinaryRun run = RunDrivesTeskBinary(test.options);
    if (run.errors.find("setpriv: ") != std::string::npos) {
      ADD_FAILURE() << "the command cannot be run as nobody here: " << run.errors;
      continue;
    }
    EXPECT_EQ(run.exitStatus, 2) << run.errors;
    EXPECT_NE(run.errors.find(test.message), std::string::npos) << run.errors;
  }
  EXPECT_TRUE(fs::is_empty("small"));
  EXPECT_TRUE(fs::is_empty("locked"));
  EXPECT_TRUE(fs::is_empty("shared/a") && fs::is_empty("shared/b"));
  Unmount(directory.path() + "/small");
  Unmount(directory.path() + "/shared");
}

// Bound to one processor (as in a container's cpuset), the benchmark starts one worker: a file
// system with room for one is taken, and the context says one.
TEST(RunRefusals, WorkersAreCountedInTheAffinityMask) {
  ScratchDirectory directory;
  fs::create_directory("small");
  std::string reason;
  if (!MountSmallTmpfs(directory.path() + "/small", "size=24m", reason)) {
    GTEST_SKIP() << "no tmpfs: " << reason;
  }
  RunOptions bound = Companion(directory.path(),
                               {"-c", "0", DRIVES_TESK_RESULTS, "run", "small", "--repeat", "1"});
  bound.program = "/usr/bin/taskset";
  const BinaryRun run = RunDrivesTeskBinary(bound);
  EXPECT_EQ(run.exitStatus, 0) << run.errors;
  const RunFiles files = FilesIn(directory.path() + "/small");
  ASSERT_EQ(files.contexts.size(), 1u) << run.errors;
  EXPECT_EQ(ReadJson(files.contexts[0])["workers"], 1);
  EXPECT_TRUE(FindScratchFilesIn(directory.path() + "/small").empty());
  Unmount(directory.path() + "/small");
}

// Started by a parent that ignores SIGCHLD (the disposition survives exec), the command still
// learns how the benchmark ended.
TEST(RunRefusals, AnIgnoredSigchldHidesNoExitStatus) {
  ScratchDirectory directory;
  RunOptions ignoring =
      Companion(directory.path(),
                {"-c", "trap '' CHLD; exec \"$0\" run --repeat 1 --benchmark \"$1\"",
                 DRIVES_TESK_RESULTS, STAND_IN_BENCHMARK},
                {"DRIVES_TESK_STAND_IN=3"});
  ignoring.program = "/bin/bash";  // dash keeps SIGCHLD for itself
  const BinaryRun run = RunDrivesTeskBinary(ignoring);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.errors.find(", exit status 3, no results file"), std::string::npos) << run.errors;
}

// "link/.." is where chdir takes it: the parent of the link's target.
TEST(RunRefusals, ADirectoryIsResolvedAsTheSystemResolvesIt) {
  ScratchDirectory directory;
  fs::create_directories("target/inner");
  fs::create_directory_symlink("target/inner", "link");
  const BinaryRun run = RunDrivesTeskBinary(Companion(
      directory.path(), {"run", "link/..", "--repeat", "1", "--benchmark", STAND_IN_BENCHMARK}));
  EXPECT_EQ(run.exitStatus, 1) << "the stand-in saves no results file: " << run.errors;
  EXPECT_NE(run.errors.find("run 1 of 1: link/..: "), std::string::npos) << run.errors;
  const RunFiles files = FilesIn("target");
  ASSERT_EQ(files.contexts.size(), 1u) << run.errors;
  EXPECT_TRUE(FilesIn(".").contexts.empty());
  EXPECT_EQ(fs::u8path(ReadJson(files.contexts[0])["directory"].get<std::string>()),
            fs::canonical("target"));
}

}  // namespace
