// Whole runs in conditions that fight back: odd and long directory names with scratch names
// already taken, a directory where nothing can be created, a full file system, and a console that
// goes away. Every run must end with status 0 and a complete, honest report.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "e2e/report_checks.h"
#include "support/binary_run.h"
#include "support/line_patterns.h"
#include "support/linux_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string OnlyResultsFile(const std::string& directory) {
  const auto results = ResultsFilesIn(directory);
  return results.size() == 1 ? results[0] : "";
}

Lines ResultsLines(const std::string& directory) {
  return SplitTextLines(ReadWholeFile(directory + "/" + OnlyResultsFile(directory)));
}

// A directory path of more than 2,500 characters whose last name holds blanks, non-ASCII letters
// and printf directives, with two workers, typed input, and scratch names already taken: junk in
// a scratch file, a read-only scratch file, a directory where worker 1's copy file belongs.
TEST(SlowHostileRun, OddLongDirectoryAndTakenScratchNames) {
  const std::string base = MakeTemporaryDirectory();
  std::string directory = base;
  for (int level = 0; level < 10; ++level) {
    directory += "/" + std::string(250, static_cast<char>('a' + level));
  }
  directory += "/dir with blanks \xc3\xa9\xc3\xb1\xe2\x82\xac %s %n %x";
  fs::create_directories(directory);
  WriteTextFile(directory + "/" + ScratchFileName, "junk from another program");
  const std::string readOnly = directory + "/data64-Windows-0.tmp";
  WriteTextFile(readOnly, "read-only junk");
  chmod(readOnly.c_str(), 0444);
  const std::string copyDirectory = directory + "/data64-Windows-1";
  fs::create_directory(copyDirectory);
  WriteTextFile(copyDirectory + "/inside.txt", "not to be touched");
  WriteTextFile(directory + "/keep-me.txt", "not to be touched either");

  const BinaryRun run =
      RunDrivesTeskBinary({directory, {"OMP_NUM_THREADS=2"}, "typed before the prompt\n"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.errors, "");

  const std::string results = OnlyResultsFile(directory);
  ASSERT_FALSE(results.empty());
  Lines console = SplitTextLines(run.console);
  // As root the read-only file is simply rewritten; only worker 1's copy cannot be created.
  EXPECT_EQ(TakeFailureNotes(console),
            (Lines{"Thread:1 Warning: the writing figures above are not a drive speed: open "
                   "failed: Is a directory."}));
  ExpectWholeReport(console, Channel::Console, 2, false, SavedLine(directory, results));
  ExpectWholeReport(ResultsLines(directory), Channel::Log, 2, false);

  EXPECT_EQ(ReadWholeFile(copyDirectory + "/inside.txt"), "not to be touched");
  EXPECT_EQ(ReadWholeFile(directory + "/keep-me.txt"), "not to be touched either");
  for (const char* name : {ScratchFileName, "data64-Windows-0.tmp", "data64-Windows-1.tmp"}) {
    EXPECT_EQ(FileSize(directory + "/" + name), FirstPassBytes) << name;
    EXPECT_TRUE(EveryByteIs(directory + "/" + name, FillByte)) << name;
  }
  fs::remove_all(base);
}

// The working directory is removed before the program starts in it: no file can be created and
// the directory cannot be named. OMP_NUM_THREADS is unset, so the runtime's default decides.
TEST(HostileRun, RemovedWorkingDirectory) {
  const std::string base = MakeTemporaryDirectory();
  RunOptions options{base + "/removed", {}, ""};
  options.removeDirectory = true;
  fs::create_directory(options.directory);
  const BinaryRun run = RunDrivesTeskBinary(options);
  fs::remove_all(base);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.errors, "");

  Lines console = SplitTextLines(run.console);
  const Lines notes = TakeFailureNotes(console);
  EXPECT_FALSE(notes.empty());
  std::vector<double> workers;
  ASSERT_GT(console.size(), 8u);
  ASSERT_TRUE(MatchLine(console[7], "Thread(s): {n}", &workers)) << console[7];
  EXPECT_GE(workers[0], 1);
  EXPECT_LE(workers[0], ThreadCap);
  // The name carries the run's date; the directory is unknown.
  const std::string pathLine = console.end()[-4];
  EXPECT_EQ(pathLine.rfind(NotSavedLine("(working directory unknown)", "results_drives_tesk_"), 0),
            0u)
      << pathLine;
  ExpectWholeReport(console, Channel::Console, static_cast<int>(workers[0]), false, pathLine);
}

// A file system far too small for the scratch files: the writes fail with "No space left on
// device", the run goes on to the end, and the closing line does not claim the results were saved.
TEST(HostileRun, FullFileSystem) {
  const std::string directory = MakeTemporaryDirectory();
  std::string reason;
  if (!MountSmallTmpfs(directory, "size=3m", reason)) {
    GTEST_SKIP() << "cannot mount a small tmpfs here: " << reason;
  }
  const BinaryRun run = RunDrivesTeskBinary({directory, {"OMP_NUM_THREADS=3"}, ""});
  const std::string results = OnlyResultsFile(directory);
  const Lines log = ResultsLines(directory);
  Unmount(directory);
  fs::remove_all(directory);

  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.errors, "");
  ASSERT_FALSE(results.empty());
  Lines console = SplitTextLines(run.console);
  const Lines notes = TakeFailureNotes(console);
  ASSERT_FALSE(notes.empty());
  EXPECT_NE(run.console.find("write failed: No space left on device"), std::string::npos);
  ExpectWholeReport(console, Channel::Console, 3, false, NotSavedLine(directory, results));
  // The results file holds what fitted: the banner at least, and never a warning.
  ASSERT_GT(log.size(), 4u);
  EXPECT_EQ(log[2], "Thread(s): 3");
  Lines logCopy = log;
  EXPECT_TRUE(TakeFailureNotes(logCopy).empty());
}

// The console goes away: first a pipe nobody reads (and a hang-up signal on top), then a device
// where every write fails, with standard input closed. The results file is still complete.
TEST(SlowHostileRun, ConsoleThatGoesAway) {
  for (const ConsoleKind kind : {ConsoleKind::ClosedPipe, ConsoleKind::Full}) {
    const std::string directory = MakeTemporaryDirectory();
    RunOptions options{directory, {"OMP_NUM_THREADS=1"}, ""};
    options.console = kind;
    options.closedInput = kind == ConsoleKind::Full;
    BinaryRun run;
    {
      RunningBinary running(options);
      if (kind == ConsoleKind::ClosedPipe) {
        // The program ignores hang-ups from before it opens its results file on.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (ResultsFilesIn(directory).empty() && std::chrono::steady_clock::now() < deadline) {
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        running.Signal(SIGHUP);
      }
      run = running.Wait();
    }
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.errors, "");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) {
      names.insert(entry.path().filename().string());
    }
    const std::string results = OnlyResultsFile(directory);
    ASSERT_FALSE(results.empty());
    EXPECT_EQ(names, (std::set<std::string>{results, ScratchFileName, BlockCopyFileName,
                                            "data64-Windows-0.tmp", "data64-Windows-0"}));
    ExpectWholeReport(ResultsLines(directory), Channel::Log, 1, false);
    fs::remove_all(directory);
  }
}

}  // namespace

namespace {

// The file-handling rates the console printed, single-thread, per worker and overall.
std::vector<double> FileRates(const Lines& console) {
  std::vector<double> rates;
  for (const std::string& line : console) {
    const std::size_t end = line.rfind(" Files/sec.");
    if (end != std::string::npos) {
      rates.push_back(std::stod(line.substr(line.rfind(' ', end - 1) + 1)));
    }
  }
  return rates;
}

// Scratch names taken by what the program must never write through or into: symbolic links to
// files outside the directory and dangling ones (writing would overwrite or create what they point
// to), a second name of a file outside, a FIFO (an open for writing would wait forever) and a
// device node. The file-handling tests remove theirs by name and measure a full loop; the byte-wise
// and block tests then use those names as usual. The block tests refuse theirs and say so. Every
// file outside stays exactly as it was.
TEST(HostileRun, ScratchNamesThatAreNotPlainFiles) {
  const std::string base = MakeTemporaryDirectory();
  const std::string directory = base + "/run";
  const std::string outside = base + "/outside";
  fs::create_directories(directory);
  fs::create_directories(outside);
  const std::string document = "a document of the user's\n";
  const std::string profile = "export PATH=$HOME/bin:$PATH\n";
  WriteTextFile(outside + "/document.txt", document);
  WriteTextFile(outside + "/profile", profile);
  auto at = [&directory](const std::string& name) { return directory + "/" + name; };
  fs::create_symlink(outside + "/document.txt", at(ScratchFileName));
  fs::create_hard_link(outside + "/profile", at("data64-windows-0.tmp"));
  ASSERT_EQ(mkfifo(at("data64-Windows-0.tmp").c_str(), 0644), 0);
  fs::create_symlink(outside + "/absent", at(BlockCopyFileName));
  ASSERT_EQ(mknod(at("data64-Windows-0").c_str(), S_IFCHR | 0644, makedev(1, 3)), 0);

  BinaryRun run;
  {
    RunningBinary running({directory, {"OMP_NUM_THREADS=1"}, ""});
    EXPECT_TRUE(running.WaitForConsole("Press Enter to Exit.", 300)) << "the run hangs";
    run = running.Wait();
  }
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.errors, "");
  Lines console = SplitTextLines(run.console);
  const std::string warning = "Warning: the writing figures above are not a drive speed: ";
  EXPECT_EQ(TakeFailureNotes(console),
            (Lines{warning + "data64-Windows not used: it is a symbolic link.",
                   "Thread:0 " + warning + "data64-Windows-0 not used: it is a device node."}));
  const std::vector<double> rates = FileRates(console);
  EXPECT_EQ(rates.size(), 6u);
  for (const double rate : rates) {
    EXPECT_LT(rate, 1e7) << "a file-handling loop that ran no cycle";
  }
  const std::string results = OnlyResultsFile(directory);
  ASSERT_FALSE(results.empty());
  ExpectWholeReport(console, Channel::Console, 1, false, SavedLine(directory, results));
  ExpectWholeReport(ResultsLines(directory), Channel::Log, 1, false);

  EXPECT_EQ(ReadWholeFile(outside + "/document.txt"), document);
  EXPECT_EQ(ReadWholeFile(outside + "/profile"), profile);
  EXPECT_EQ(fs::hard_link_count(outside + "/profile"), 1u);
  EXPECT_FALSE(fs::exists(fs::symlink_status(outside + "/absent")));
  EXPECT_FALSE(fs::exists(fs::symlink_status(at("data64-windows-0.tmp"))));
  for (const char* name : {ScratchFileName, "data64-Windows-0.tmp"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(at(name)))) << name;
    EXPECT_EQ(FileSize(at(name)), FirstPassBytes) << name;
  }
  // The reader flags exactly the two copies the console warned about.
  const RunRecord read = ExpectReadBack(run.console, true, 1);
  for (const Measure measure : AllMeasures) {
    EXPECT_EQ(read.single[Index(measure)].warned, measure == Measure::BlockWrite);
    EXPECT_EQ(read.workers.at(0)[Index(measure)].warned, measure == Measure::BlockWrite);
  }
  EXPECT_TRUE(fs::is_symlink(at(BlockCopyFileName)));
  EXPECT_TRUE(fs::is_character_file(at("data64-Windows-0")));
  fs::remove_all(base);
}

// On a read-only file system a leftover link cannot be removed: the file-handling tests leave it
// alone and say that their figures are no drive speed, as every other test does there.
TEST(HostileRun, LeftoverLinkOnAReadOnlyFileSystem) {
  const std::string directory = MakeTemporaryDirectory();
  std::string reason;
  if (!MountSmallTmpfs(directory, "size=1m", reason)) {
    GTEST_SKIP() << "cannot mount a small tmpfs here: " << reason;
  }
  const std::string link = directory + "/" + ScratchFileName;
  fs::create_symlink("/etc/hostname", link);
  ASSERT_TRUE(RemountReadOnly(directory, "size=1m"));
  const BinaryRun run = RunDrivesTeskBinary({directory, {"OMP_NUM_THREADS=1"}, ""});
  const bool linkKept = fs::is_symlink(link);
  Unmount(directory);
  fs::remove_all(directory);

  EXPECT_EQ(run.exitStatus, 0);
  Lines console = SplitTextLines(run.console);
  const Lines notes = TakeFailureNotes(console);
  const std::string refused = "Warning: the file-handling figures above are not a drive speed: " +
                              std::string(ScratchFileName) + " not used: it is a symbolic link.";
  ASSERT_GE(notes.size(), 2u);
  EXPECT_EQ(notes[0], refused);
  EXPECT_EQ(notes[1], refused);
  EXPECT_TRUE(linkKept);
}

// Under a file-size limit of 1 MiB the first write past it would end the process (SIGXFSZ at its
// default action). The write fails instead, the figures say so, and the report is complete.
TEST(HostileRun, FileSizeLimitBelowTheScratchFiles) {
  const std::string directory = MakeTemporaryDirectory();
  RunOptions options{directory, {"OMP_NUM_THREADS=1"}, ""};
  options.fileSizeLimit = 1 << 20;
  const BinaryRun run = RunDrivesTeskBinary(options);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.errors, "");
  Lines console = SplitTextLines(run.console);
  const Lines notes = TakeFailureNotes(console);
  ASSERT_FALSE(notes.empty());
  EXPECT_EQ(notes[0],
            "Warning: the writing figures above are not a drive speed: write failed: File too "
            "large.");
  const std::string results = OnlyResultsFile(directory);
  ASSERT_FALSE(results.empty());
  ExpectWholeReport(console, Channel::Console, 1, false, SavedLine(directory, results));
  ExpectWholeReport(ResultsLines(directory), Channel::Log, 1, false);
  EXPECT_EQ(FileSize(directory + "/" + ScratchFileName), 1 << 20);
  fs::remove_all(directory);
}

}  // namespace
