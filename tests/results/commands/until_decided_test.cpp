// `run --until-decided` in-process: a stand-in benchmark whose rates the test chooses for each
// directory and round, and a clock that moves only when a run takes its time or the loop pauses,
// so that every stop of the session (decided, hopeless, the cap, the budget, an interrupt) is
// reached without waiting. Then `show` of the session's files, and the command line's refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "contract/file_names.h"
#include "contract/report_texts.h"
#include "results/commands/commands.h"
#include "results/commands/run_command.h"
#include "results/commands/until_decided.h"
#include "results/running/budget.h"
#include "results/stored_runs.h"
#include "support/line_patterns.h"
#include "support/platform_facts.h"
#include "support/scratch_directory.h"

namespace {

namespace fs = std::filesystem;

// Seconds move only when a run takes its time or the loop pauses; the calendar moves with them.
class FakeClock final : public Clock {
 public:
  double Seconds() override { return now; }
  long long CalendarSeconds() override { return 1796000000 + static_cast<long long>(now); }
  void Pause(double seconds) override { now += seconds; }
  double now = 0;
};

// One run as the stand-in makes it: every rate of the stored 1-worker run times `factor`.
struct PlannedRun {
  double factor = 1;
  double seconds = 10;
  int status = 0;
  bool interrupt = false;  // an interrupt comes while it runs
};
using Plan = std::function<PlannedRun(std::size_t directory, int round)>;

// The stored report with every rate line's number times `factor`, naming `name` on its closing
// line.
std::string Scaled(const std::string& report, double factor, const std::string& name) {
  std::string scaled;
  for (std::string line : SplitLines(report)) {
    for (const char* unit : {" Files/sec.", " Millions Accesses/sec.", " MB/sec."}) {
      const std::size_t at = line.find(unit);
      if (at == std::string::npos) {
        continue;
      }
      const std::size_t start = line.rfind(' ', at - 1) + 1;
      char number[64];
      std::snprintf(number, sizeof number, "%g",
                    std::stod(line.substr(start, at - start)) * factor);
      line = line.substr(0, start) + number + line.substr(at);
    }
    if (line.rfind(SavedText, 0) == 0) {
      line = line.substr(0, line.rfind('\\') + 1) + name;
    }
    scaled += line + "\n";
  }
  return scaled;
}

class PlannedChild final : public RunningChild {
 public:
  PlannedChild(PlannedRun run, std::string console, FakeClock& clock, int& interrupts)
      : run_(run), console_(std::move(console)), clock_(clock), interrupts_(interrupts) {}
  ChildEvent Next(int) override {
    if (step_++ == 0) {
      clock_.now += run_.seconds;
      interrupts_ += run_.interrupt ? 1 : 0;
      return {ChildEvent::Output, console_};
    }
    return {ChildEvent::Ended, ""};
  }
  void Stop() override {}
  void Kill() override {}
  ChildExit Wait() override { return {run_.status, 0}; }

 private:
  PlannedRun run_;
  std::string console_;
  FakeClock& clock_;
  int& interrupts_;
  int step_ = 0;
};

// A session in two folders of a scratch directory, the stand-in following `plan`.
struct Session {
  ScratchDirectory scratch;
  FakeClock clock;
  int interrupts = 0;
  std::map<std::string, int> started;  // runs per directory
  std::vector<std::string> folders;
  RunCommandOptions options;
  std::string out, err;
  int status = -1;

  explicit Session(std::vector<std::string> names = {"ssd", "ram-disk"}) {
    for (const std::string& name : names) {
      fs::create_directory(name);
      folders.push_back(fs::canonical(name).u8string());
    }
    options.directories = folders;
    options.threads = 1;
    options.benchmark = StoredRun("linux-1-worker");  // any regular file: the stand-in starts
    options.untilDecided = true;
  }

  void Run(const Plan& plan) {
    const std::string results = ReadWholeFile(StoredRun("linux-1-worker"));
    const std::string console = ReadWholeFile(StoredRun("linux-1-worker", "console"));
    RunSeams seams;
    seams.clock = &clock;
    seams.interrupts = [this] { return interrupts; };
    seams.start = [&, this](const std::string&, const std::string& directory, std::string&) {
      const std::size_t d = static_cast<std::size_t>(
          std::find(folders.begin(), folders.end(), directory) - folders.begin());
      const int round = ++started[directory];
      const PlannedRun run = plan(d, round);
      const long long when = clock.CalendarSeconds();
      std::tm local{};
      local.tm_year = 126;
      local.tm_mon = 11;
      local.tm_mday = 9;
      local.tm_hour = static_cast<int>(when / 3600 % 24);
      local.tm_min = static_cast<int>(when / 60 % 60);
      local.tm_sec = static_cast<int>(when % 60);
      const std::string name = ResultsNameFor(local);
      WriteTextFile(directory + "/" + name, Scaled(results, run.factor, name));
      return std::unique_ptr<RunningChild>(std::make_unique<PlannedChild>(
          run, Scaled(console, run.factor, name), clock, interrupts));
    };
    std::ostringstream outStream, errStream;
    status = RunCommand(options, {outStream, errStream}, seams);
    out = outStream.str();
    err = errStream.str();
  }

  // The line under the table that starts so; empty when there is none.
  std::string Line(const std::string& start) const {
    for (const std::string& line : SplitLines(out)) {
      if (line.rfind(start, 0) == 0) {
        return line;
      }
    }
    return "";
  }
  // Every results file, the first folder's first, each oldest first: as `a/results*.txt
  // b/results*.txt` names them.
  std::vector<std::string> ResultsFiles() const {
    std::vector<std::string> files;
    for (const std::string& folder : folders) {
      std::vector<std::string> found;
      for (const auto& entry : fs::directory_iterator(folder)) {
        if (IsResultsName(entry.path().filename().u8string())) {
          found.push_back(entry.path().u8string());
        }
      }
      std::sort(found.begin(), found.end());
      files.insert(files.end(), found.begin(), found.end());
    }
    return files;
  }
};

// The second directory 20% faster in every round; the rounds differ a little from each other.
PlannedRun Faster(std::size_t directory, int round) {
  return {(1 + 0.01 * (round % 3)) * (directory == 0 ? 1 : 1.2), 10, 0, false};
}

// The second directory's runs swing 35% up and 25% down in turn: no round count settles them.
PlannedRun Swinging(std::size_t directory, int round) {
  return {directory == 0 ? 1 : round % 2 == 1 ? 1.35 : 0.75, 10, 0, false};
}

TEST(UntilDecided, StopsWhenEveryFigureOfInterestIsDecided) {
  Session session;
  session.Run(Faster);
  EXPECT_EQ(session.status, 0) << session.err;
  // A 99% look needs 8 pairs (2^-8 < 0.5%): no verdict before round 8, then all at once.
  EXPECT_EQ(session.started[session.folders[0]], 8);
  EXPECT_EQ(session.started[session.folders[1]], 8) << "equal runs a side";
  EXPECT_EQ(session.Line("stopped"),
            "stopped: every figure of interest decided after 8 rounds (16 runs, 2 min 40 s)")
      << session.out;
  const std::string counts = session.Line("ram-disk (8 runs): ");
  EXPECT_NE(counts.find("; 8 rounds paired"), std::string::npos) << counts;
  EXPECT_NE(session.Line("a..b 95% interval of the change, valid however the run stopped"), "")
      << session.out;
  EXPECT_NE(session.out.find("paired rounds, each look at 99.0%;"), std::string::npos);
  EXPECT_NE(session.Line("Lower, single thread (files/s)").find("(+20.0% +20.0..+20.0)"),
            std::string::npos)
      << session.out;
  // The lines of the runs say the round, the cap and the figures decided so far.
  EXPECT_EQ(session.err.rfind("round 1 of at most 30, 0 of ", 0), 0u) << session.err;
  EXPECT_NE(session.err.find("round 8 of at most 30, 0 of "), std::string::npos);
}

TEST(UntilDecided, StopsWhenTheRestIsOutOfReachAndAtTheCap) {
  Session hopeless;
  hopeless.Run(Swinging);
  EXPECT_EQ(hopeless.status, 0) << hopeless.err;
  EXPECT_EQ(hopeless.started[hopeless.folders[1]], 8);
  const std::string stop = hopeless.Line("stopped");
  EXPECT_EQ(stop.rfind("stopped after 8 rounds (16 runs, ", 0), 0u) << hopeless.out;
  EXPECT_NE(stop.find("): the rest cannot be decided within 30 rounds: Lower, single thread; "),
            std::string::npos)
      << stop;

  // At the cap the rest is out of reach by definition: the stop is the cap's.
  Session capped({"a", "b"});
  capped.options.maxRounds = 8;
  capped.Run(Swinging);
  const std::string cap = capped.Line("stopped");
  EXPECT_EQ(cap.rfind("stopped at --max-runs 8 after 8 rounds (16 runs, 2 min 40 s); undecided: "
                      "Lower, single thread; ",
                      0),
            0u)
      << capped.out;
  EXPECT_EQ(capped.started[capped.folders[1]], 8);
}

// Each later directory against the first: one decided is not enough while another is not.
TEST(UntilDecided, DecidedNeedsEveryLaterDirectory) {
  Session session({"first", "faster", "swinging"});
  session.Run([](std::size_t directory, int round) {
    return directory == 2 ? Swinging(1, round) : Faster(directory, round);
  });
  EXPECT_EQ(session.status, 0) << session.err;
  EXPECT_EQ(session.started[session.folders[2]], 8);
  EXPECT_EQ(session.Line("stopped").rfind("stopped after 8 rounds (24 runs, 4 min 00 s): the rest "
                                          "cannot be decided within 30 rounds: ",
                                          0),
            0u)
      << session.out;
  EXPECT_NE(session.Line("faster (8 runs): ").find(" 0 undecided; 8 rounds paired"),
            std::string::npos)
      << session.out;
  EXPECT_NE(session.Line("swinging (8 runs): ").find("; 8 rounds paired"), std::string::npos);
}

TEST(UntilDecided, StartsNoRoundThatWouldOverrunTheBudget) {
  Session session;
  session.options.budgetSeconds = 65;
  session.Run(Faster);
  // Rounds of 20 s and a little: the fourth would end past 65 s.
  EXPECT_EQ(session.started[session.folders[0]], 3);
  EXPECT_EQ(session.Line("stopped").rfind("stopped at the budget of 1 min 5 s after 3 rounds (6 "
                                          "runs, ",
                                          0),
            0u)
      << session.out;
  EXPECT_NE(session.Line("stopped").find("; undecided: Lower, single thread; "), std::string::npos);
  // Said once, after the first round.
  const std::string note =
      "drives-tesk-results: the budget of 1 min 5 s holds about 3 rounds at "
      "the first round's pace; no verdict is possible before round 8\n";
  const std::size_t at = session.err.find(note);
  ASSERT_NE(at, std::string::npos) << session.err;
  EXPECT_EQ(session.err.find(note, at + 1), std::string::npos);
  EXPECT_LT(session.err.find("round 1 of"), at);
  EXPECT_GT(session.err.find("round 2 of"), at);

  Session roomy;
  roomy.options.budgetSeconds = 3600;
  roomy.Run(Faster);
  EXPECT_EQ(roomy.err.find("budget"), std::string::npos) << roomy.err;
  EXPECT_EQ(roomy.Line("stopped").rfind("stopped: every figure", 0), 0u);
}

TEST(UntilDecided, AnInterruptedRoundIsNoLook) {
  Session session;
  session.Run([](std::size_t directory, int round) {
    PlannedRun run = Faster(directory, round);
    run.interrupt = directory == 1 && round == 3;
    return run;
  });
  EXPECT_EQ(session.status, 130);
  EXPECT_EQ(session.started[session.folders[0]], 3);
  EXPECT_EQ(session.started[session.folders[1]], 3);
  EXPECT_EQ(session.Line("interrupted"), "interrupted after 2 rounds (6 runs, 1 min 00 s)")
      << session.out;
  EXPECT_NE(session.Line("ram-disk (2 runs): ").find("; 2 rounds paired"), std::string::npos)
      << session.out;
}

TEST(UntilDecided, AFailedRunDropsItsRoundsPair) {
  Session session;
  session.Run([](std::size_t directory, int round) {
    PlannedRun run = Faster(directory, round);
    run.status = directory == 1 && round == 2 ? 3 : 0;
    return run;
  });
  EXPECT_EQ(session.status, 1) << "a run failed";
  // Eight pairs take nine rounds.
  EXPECT_EQ(session.Line("stopped").rfind("stopped: every figure of interest decided after 9 "
                                          "rounds (18 runs, ",
                                          0),
            0u)
      << session.out;
  EXPECT_NE(session.Line("ram-disk (9 runs): ").find("; 8 rounds paired"), std::string::npos)
      << session.out;
}

TEST(UntilDecided, ShowOfTheSessionsFilesPrintsWhatRunPrinted) {
  Session session;
  session.Run(Swinging);
  ASSERT_EQ(session.status, 0) << session.err;
  const std::vector<std::string> files = session.ResultsFiles();
  ASSERT_EQ(files.size(), 16u);
  const Outcome shown = Show(files);
  ASSERT_EQ(shown.status, 0) << shown.err;
  // The table and every line under it but the stop line, which only `run` knows.
  std::string printed;
  for (const std::string& line : SplitLines(session.out)) {
    if (line.rfind("stopped", 0) != 0) {
      printed += line + "\n";
    }
  }
  EXPECT_EQ(shown.out, printed);

  const auto json = nlohmann::json::parse(Show(files, "json").out);
  EXPECT_EQ(json["sequential"], nlohmann::json::parse(R"({"rule": "signed-rank", "cap": 30,
      "tail": 0.005, "rounds": 8, "stopped": null})"));
  const auto runJson = [&] {
    Session again;
    again.options.format = "json";
    again.Run(Swinging);
    return nlohmann::json::parse(again.out)["sequential"];
  }();
  EXPECT_EQ(runJson["stopped"], "hopeless");
  EXPECT_EQ(runJson["rounds"], 8);

  // The CSV keeps its columns; its interval and verdict cells are the session's.
  const std::vector<std::string> csv = SplitLines(Show(files, "csv").out);
  EXPECT_EQ(csv.at(0), SplitLines(Show({}, "csv").out).at(0));
}

// Runs of another session, or shuffled rounds: the pairs are found by session and round, and a
// column that cannot be paired is judged unpaired at the per-look level.
TEST(UntilDecided, ShowPairsBySessionAndRound) {
  Session session;
  session.Run(Faster);
  ASSERT_EQ(session.status, 0) << session.err;
  std::vector<std::string> files = session.ResultsFiles();
  const std::string table = Show(files).out;
  std::reverse(files.begin() + 8, files.end());
  EXPECT_EQ(Show(files).out, table) << "rounds, not file order, make the pairs";

  // The second folder's runs marked as another session's.
  for (std::size_t i = 8; i < files.size(); ++i) {
    const std::string context = BesideResults(files[i], ContextSuffix);
    auto json = nlohmann::ordered_json::parse(ReadWholeFile(context));
    json["session"] = "another";
    WriteTextFile(context, json.dump(2));
  }
  const std::string unpaired = Show(files).out;
  EXPECT_NE(unpaired.find("valid however the run stopped (every figure is better when higher): "
                          "unpaired runs, each look at 99.2%;"),
            std::string::npos)
      << unpaired;
  EXPECT_NE(unpaired.find("; unpaired\n"), std::string::npos) << unpaired;
}

TEST(UntilDecided, BudgetsAreReadStrictly) {
  const struct {
    const char* text;
    double seconds;
  } cases[] = {{"90s", 90},    {"30m", 1800}, {"1h30m", 5400}, {"600", 600},   {"2h", 7200},
               {"1h5s", 3605}, {"", -1},      {"h", -1},       {"1h30", -1},   {"30m1h", -1},
               {"1.5h", -1},   {"-5", -1},    {"0", -1},       {"0s", -1},     {"1hh", -1},
               {"5x", -1},     {" 90s", -1},  {"90 s", -1},    {"169h1s", -1}, {"99999999999", -1}};
  for (const auto& test : cases) {
    EXPECT_EQ(ParseBudget(test.text), test.seconds) << '"' << test.text << '"';
  }
  EXPECT_EQ(BudgetText(1800), "30 min");
  EXPECT_EQ(BudgetText(5400), "1 h 30 min");
  EXPECT_EQ(BudgetText(90), "1 min 30 s");
}

TEST(UntilDecided, TheCommandLineRefusesWhatCannotWork) {
  ScratchDirectory directory;
  const struct {
    const char* arguments;
    const char* says;
  } cases[] = {
      {"--until-decided --repeat 3", "--repeat excludes --until-decided"},
      {"--until-decided --budget 1h30", "--budget: a duration such as 90s"},
      {"--until-decided --decide single.stream_cycles,nope", "no figure nope; the figures are "},
      {"--until-decided --max-runs 7", "--max-runs"},
      {"--until-decided --max-runs 101", "--max-runs"},
      {"--max-runs 10", "--max-runs, --budget and --decide go with --until-decided"},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.arguments);
    std::vector<std::string> arguments = {"run", ".", ".."};
    std::istringstream words(test.arguments);
    for (std::string word; words >> word;) {
      arguments.push_back(word);
    }
    const BinaryRun run = RunDrivesTeskBinary(Companion(directory.path(), arguments));
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errors.find(test.says), std::string::npos) << run.errors;
    EXPECT_EQ(run.console, "");
  }
  EXPECT_EQ(UnknownFigureKeys({"single.stream_cycles", "multi.byte_read.efficiency"}), "");
}

}  // namespace
