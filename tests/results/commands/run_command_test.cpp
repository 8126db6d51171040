// `run` in-process, with a stand-in for the benchmark's process that replays a stored console:
// the naming of a run's files, its context and its line, and the comparison it prints. The real
// benchmark is run end to end in tests/e2e/run_command_test.cpp.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "contract/file_names.h"
#include "results/commands/commands.h"
#include "results/commands/run_command.h"
#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/scratch_directory.h"

namespace {

std::vector<std::string> FilesIn(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().u8string());
  }
  return names;
}

// What the stand-in prints, leaves and exits with.
struct Replay {
  std::string console;
  std::string resultsName;  // written into the directory at the start; empty: none
  std::string results;
  int status = 0;
};
class ReplayedChild : public RunningChild {
 public:
  explicit ReplayedChild(const Replay& replay) : replay_(replay) {}
  ChildEvent Next(int) override {
    // The console in two pieces, the second starting inside a line.
    const std::size_t half = replay_.console.size() / 2;
    switch (step_++) {
      case 0:
        return {ChildEvent::Output, replay_.console.substr(0, half)};
      case 1:
        return {ChildEvent::Output, replay_.console.substr(half)};
      default:
        return {ChildEvent::Ended, ""};
    }
  }
  void Stop() override {}
  void Kill() override {}
  ChildExit Wait() override { return {replay_.status, 0}; }

 private:
  const Replay& replay_;
  int step_ = 0;
};

// The system's clock and no interrupts, with the stand-in started instead of the benchmark.
RunSeams Replaying(const Replay& replay) {
  RunSeams seams = SystemSeams();
  seams.start = [&replay](const std::string&, const std::string& directory, std::string&) {
    if (!replay.resultsName.empty()) {
      WriteTextFile(directory + "/" + replay.resultsName, replay.results);
    }
    return std::unique_ptr<RunningChild>(std::make_unique<ReplayedChild>(replay));
  };
  seams.interrupts = [] { return 0; };
  return seams;
}

// The stored one-worker run, replayed whole.
Replay WholeRunReplayed() {
  const std::string stored = StoredRun("linux-1-worker");
  return {ReadWholeFile(StoredRun("linux-1-worker", "console")),
          std::filesystem::u8path(stored).filename().u8string(), ReadWholeFile(stored), 0};
}

// One run in `directory`; the benchmark named is any regular file, as the stand-in starts instead.
RunCommandOptions OneRunIn(const std::string& directory) {
  RunCommandOptions options;
  options.directories = {directory};
  options.repeat = 1;
  options.benchmark = StoredRun("linux-1-worker");
  return options;
}

TEST(RunCommandInProcess, NamesKeepsAndSumsUpEachRun) {
  const std::string stored = StoredRun("linux-1-worker");
  const std::string console = ReadWholeFile(StoredRun("linux-1-worker", "console"));
  const std::string name = std::filesystem::u8path(stored).filename().u8string();
  const struct {
    const char* what;
    Replay replay;
    std::string says;     // what the run's line says after its duration
    bool namedByResults;  // the kept files are named after the results file
    int status;
  } cases[] = {
      {"a whole run", {console, name, ReadWholeFile(stored), 0}, ", " + name, true, 0},
      {"a run cut short",
       {console.substr(0, console.size() / 3), name,
        ReadWholeFile(stored).substr(0, ReadWholeFile(stored).size() / 3), 0},
       ", " + name + " (cut short)",
       true,
       1},
      {"a failing benchmark", {"", "", "", 3}, ", exit status 3, no results file", false, 1},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    ScratchDirectory directory;
    RunCommandOptions options;
    options.directories = {directory.path()};
    options.repeat = 1;
    options.threads = 1;
    options.benchmark = stored;  // any regular file: the stand-in starts instead
    std::ostringstream out, err;
    EXPECT_EQ(RunCommand(options, {out, err}, Replaying(test.replay)), test.status) << err.str();

    const std::vector<std::string> lines = SplitTextLines(err.str());
    ASSERT_EQ(lines.size(), 1u) << err.str();
    const std::string lead = "run 1 of 1: " + directory.path() + ": ";
    EXPECT_EQ(lines[0].rfind(lead, 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(" s" + test.says), std::string::npos) << lines[0];

    std::vector<std::string> transcripts;
    for (const std::string& file : FilesIn(directory.path())) {
      if (file.find(TranscriptSuffix) != std::string::npos) {
        transcripts.push_back(file);
      }
    }
    ASSERT_EQ(transcripts.size(), 1u);
    EXPECT_EQ(transcripts[0] == BesideResults(name, TranscriptSuffix), test.namedByResults);
    EXPECT_TRUE(IsResultsName(BesideResults(transcripts[0], "")));
    EXPECT_EQ(ReadWholeFile(directory.path() + "/" + transcripts[0]), test.replay.console);
    const std::string stem =
        transcripts[0].substr(0, transcripts[0].size() - std::string(TranscriptSuffix).size());
    const auto context =
        nlohmann::ordered_json::parse(ReadWholeFile(directory.path() + "/" + stem + ContextSuffix));
    EXPECT_EQ(context.begin().key(), "format_version");
    EXPECT_EQ(context["format_version"], 1);
    EXPECT_EQ(context["exit_status"], test.replay.status);
    EXPECT_EQ(context["interrupted"], false);
    EXPECT_EQ(context["workers"], 1);
    EXPECT_EQ(context["omp_num_threads"], "1");

    // What it prints is what `show` prints of the run it read.
    if (test.namedByResults) {
      std::ostringstream shown, ignored;
      ShowCommand({directory.path() + "/" + name}, {}, "text", false, {shown, ignored});
      EXPECT_EQ(out.str(), shown.str());
    } else {
      EXPECT_EQ(out.str(), "");
    }
  }
}

// --label names each directory's column; a count that does not match the directories is refused
// before anything runs.
TEST(RunCommandInProcess, LabelsNameTheColumnsOncePerDirectory) {
  const std::string stored = StoredRun("linux-1-worker");
  const std::string name = std::filesystem::u8path(stored).filename().u8string();
  const Replay replay = WholeRunReplayed();
  ScratchDirectory directory;
  RunCommandOptions options = OneRunIn(directory.path());
  options.labels = {"fast disk", "slow disk"};
  std::ostringstream out, err;
  EXPECT_EQ(RunCommand(options, {out, err}, Replaying(replay)), 2);
  EXPECT_EQ(err.str(), "drives-tesk-results: 2 labels for 1 directory\n");
  EXPECT_TRUE(FilesIn(directory.path()).empty()) << "nothing ran";

  // A baseline no column can have is refused before anything runs too.
  options.labels = {"fast disk"};
  options.baseline = "slow disk";
  std::ostringstream refused, why;
  EXPECT_EQ(RunCommand(options, {refused, why}, Replaying(replay)), 2);
  EXPECT_EQ(why.str(),
            "drives-tesk-results: --baseline \"slow disk\": no directory's column would have that "
            "label\n");
  EXPECT_TRUE(FilesIn(directory.path()).empty()) << "nothing ran";

  options.baseline = "fast";
  std::ostringstream named, ignored;
  EXPECT_EQ(RunCommand(options, {named, ignored}, Replaying(replay)), 0) << ignored.str();
  EXPECT_EQ(SplitTextLines(named.str()).at(0).find("figure"), 0u);
  EXPECT_NE(SplitTextLines(named.str()).at(0).find("  fast disk"), std::string::npos)
      << named.str();

  // The page, under the title given.
  options.format = "html";
  options.title = "Fast & slow";
  std::ostringstream page, quiet;
  EXPECT_EQ(RunCommand(options, {page, quiet}, Replaying(replay)), 0) << quiet.str();
  EXPECT_NE(page.str().find("<h1><bdi>Fast &amp; slow</bdi></h1>"), std::string::npos);
  EXPECT_NE(page.str().find("<bdi>fast disk</bdi></h3>"), std::string::npos);
}

// --progress json: instead of the line per run, JSON Lines a script can follow, each with its
// version: the run starts, the report's parts begin, the run ends, the session ends.
TEST(RunCommandInProcess, ProgressAsJsonLines) {
  const std::string stored = StoredRun("linux-1-worker");
  const std::string name = std::filesystem::u8path(stored).filename().u8string();
  const Replay replay = WholeRunReplayed();
  ScratchDirectory directory;
  RunCommandOptions options = OneRunIn(directory.path());
  options.progress = "json";
  options.labels = {"here"};  // the same column's name in both runs below
  std::ostringstream out, err;
  ASSERT_EQ(RunCommand(options, {out, err}, Replaying(replay)), 0) << err.str();
  std::vector<std::string> events;
  std::vector<std::string> sections;
  for (const std::string& line : SplitLines(err.str())) {
    const auto event = nlohmann::json::parse(line, nullptr, false);
    ASSERT_TRUE(event.is_object()) << line;
    EXPECT_EQ(event["format_version"], 1) << line;
    events.push_back(event["event"]);
    if (event["event"] == "section") {
      sections.push_back(event["section"]);
    } else if (event["event"] == "run_started") {
      EXPECT_EQ(event["of"], 1);
      EXPECT_EQ(event["directory"], directory.path());
    } else if (event["event"] == "run_ended") {
      EXPECT_EQ(event["results_file"], name);
      EXPECT_EQ(event["exit_status"], 0);
    } else if (event["event"] == "session_ended") {
      EXPECT_EQ(event["exit_status"], 0);
      EXPECT_EQ(event["runs"], 1);
    }
  }
  ASSERT_GE(events.size(), 4u) << err.str();
  EXPECT_EQ(events.front(), "run_started");
  EXPECT_EQ(events[events.size() - 2], "run_ended");
  EXPECT_EQ(events.back(), "session_ended");
  // Every part of the report once, the single-thread parts first.
  EXPECT_GE(sections.size(), 8u) << err.str();
  EXPECT_EQ(std::set<std::string>(sections.begin(), sections.end()).size(), sections.size());
  EXPECT_NE(sections.front().find("single thread"), std::string::npos) << sections.front();

  options.progress = "none";
  std::ostringstream quiet, nothing;
  ScratchDirectory again;
  options.directories = {again.path()};
  ASSERT_EQ(RunCommand(options, {quiet, nothing}, Replaying(replay)), 0);
  EXPECT_EQ(nothing.str(), "");
  EXPECT_EQ(quiet.str(), out.str()) << "the comparison is the same";
}

}  // namespace
