#include "results/commands/run_command.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "results/commands/until_decided.h"
#include "results/comparing/baseline.h"
#include "results/comparing/comparison_table.h"
#include "results/output/formats.h"
#include "results/reading/scratch_files.h"
#include "results/record/text_safety.h"
#include "results/running/one_run.h"
#include "results/running/preflight.h"
#include "results/running/run_plan.h"
#include "results/system/environment.h"
#include "results/system/interrupts.h"
#include "results/system/processors.h"

namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

// Every directory checked before anything runs; false, with each reason on `err`, when one is
// unfit or their file systems lack the room.
bool AllFit(const std::vector<Directory>& directories, int workers, std::ostream& err) {
  bool fit = true;
  for (const Directory& directory : directories) {
    const std::string reason = UnfitReason(directory);
    if (!reason.empty()) {
      err << directory.printed << ": " << reason << "\n";
      fit = false;
    }
  }
  if (fit) {
    for (const std::string& shortfall : RoomShortfalls(directories, workers)) {
      err << shortfall << "\n";
      fit = false;
    }
  }
  return fit;
}

void CleanScratch(const std::vector<Directory>& directories, std::ostream& err) {
  for (const Directory& directory : directories) {
    std::string error;
    const std::vector<ScratchFile> found = FindScratchFiles(directory.path.u8string(), error);
    for (const std::string& failure : RemoveScratchFiles(directory.path.u8string(), found)) {
      err << EscapeControls(failure) << "\n";
    }
  }
}

// Whether `baseline` can pick one of the columns the runs will form (see PicksLabel): a column is
// labelled by its directory's label, else by the last names of the directory's path ("ssd", or
// "drives/ssd" where two would read the same), and maybe a space and more.
bool BaselinePlanned(const std::vector<Directory>& directories, const std::string& baseline) {
  const std::string wanted = EscapeControls(baseline);
  for (const Directory& directory : directories) {
    std::vector<std::string> parts;
    for (const fs::path& part : directory.path.relative_path()) {
      parts.push_back(EscapeControls(part.u8string()));
    }
    std::vector<std::string> names;
    if (!directory.label.empty()) {
      names.push_back(directory.label);
    }
    std::string joined;
    for (std::size_t i = parts.size(); directory.label.empty() && i-- > 0;) {
      joined.insert(0, joined.empty() ? "" : "/");
      joined.insert(0, parts[i]);
      names.push_back(joined);
    }
    for (const std::string& name : names) {
      if (PicksLabel(wanted, name) || PicksLabel(name, wanted)) {
        return true;
      }
    }
  }
  return false;
}

// `repeat` rounds, interleaved, whatever they show.
SessionRuns RunRepeats(Benchmark& runs, std::vector<Directory>& directories,
                       const RunCommandOptions& options, const RunSeams& seams) {
  const std::vector<std::size_t> order = Interleaved(directories.size(), options.repeat);
  SessionRuns session;
  runs.MarkSession(NewSessionName(seams.clock->CalendarSeconds()), nullptr);
  // An interrupt between two runs starts no other.
  for (std::size_t k = 0; k < order.size() && !session.interrupted && seams.interrupts() == 0;
       ++k) {
    const int round = static_cast<int>(k / directories.size()) + 1;
    RunOutcome outcome =
        runs.RunOnce(directories[order[k]], static_cast<int>(k + 1), static_cast<int>(order.size()),
                     SecondsStillToCome(order, k, directories), round);
    session.interrupted = outcome.interrupted;
    session.allOk = session.allOk && outcome.ok;
    if (outcome.record && !outcome.interrupted) {
      session.records.push_back(std::move(*outcome.record));
      session.labels.push_back(options.labels.empty()
                                   ? EscapeControls(DefaultLabel(session.records.back()))
                                   : directories[order[k]].label);
    }
  }
  return session;
}

// The mode of that name; auto for any other (the command line takes only the names).
ProgressMode ProgressModeNamed(const std::string& name) {
  for (std::size_t i = 0; i < std::size(ProgressModeNames); ++i) {
    if (name == ProgressModeNames[i]) {
      return static_cast<ProgressMode>(i);
    }
  }
  return ProgressMode::Auto;
}

}  // namespace

int RunCommand(const RunCommandOptions& options, Streams streams, const RunSeams& seams) {
  const NamedFormat* writer = FormatNamed(options.format, streams.err);
  if (writer == nullptr) {
    return 2;
  }
  const std::size_t directoryCount = std::max<std::size_t>(options.directories.size(), 1);
  if (!options.labels.empty() && options.labels.size() != directoryCount) {
    streams.err << Program << options.labels.size() << " labels for " << directoryCount
                << (directoryCount == 1 ? " directory" : " directories") << "\n";
    return 2;
  }
  if (!options.untilDecided && (options.maxRounds != DefaultMaxRounds ||
                                options.budgetSeconds > 0 || !options.decide.empty())) {
    streams.err << Program << "--max-runs, --budget and --decide go with --until-decided\n";
    return 2;
  }
  if (options.untilDecided) {
    const std::string unknown = UnknownFigureKeys(options.decide);
    if (!unknown.empty()) {
      streams.err << Program << "--decide: " << unknown << "\n";
      return 2;
    }
    if (options.maxRounds < FewestMaxRounds || options.maxRounds > MostMaxRounds) {
      streams.err << Program << "--max-runs must be from " << FewestMaxRounds << " to "
                  << MostMaxRounds << "\n";
      return 2;
    }
    if (PlanDirectories(options.directories).size() < 2) {
      streams.err << Program << "--until-decided compares directories: name two or more\n";
      return 2;
    }
  }
  const std::string benchmark = FindBenchmark(options.benchmark, streams.err);
  if (benchmark.empty()) {
    return 2;
  }
  if (options.threads > 0) {
    SetEnvironment("OMP_NUM_THREADS", std::to_string(options.threads));
  }
  const unsigned processors = ProcessorsAvailable();
  const int workers =
      ExpectedWorkers(options.threads, std::getenv("OMP_NUM_THREADS"),
                      processors > 0 ? processors : std::thread::hardware_concurrency());
  std::vector<Directory> directories = PlanDirectories(options.directories, options.labels);
  if (!options.baseline.empty() && !BaselinePlanned(directories, options.baseline)) {
    streams.err << Program << "--baseline \"" << EscapeControls(options.baseline)
                << "\": no directory's column would have that label\n";
    return 2;
  }
  if (!AllFit(directories, workers, streams.err)) {
    streams.err << Program << "nothing was run\n";
    return 2;
  }

  CatchInterrupts();
  // Windows' C library keeps its own copy of the environment: what was set is known here.
  const char* given = std::getenv("OMP_NUM_THREADS");
  const Json ompNumThreads = options.threads > 0 ? Json(std::to_string(options.threads))
                             : given != nullptr  ? Json(EscapeControls(given))
                                                 : Json(nullptr);
  Benchmark runs(benchmark, workers, ompNumThreads, streams.err, seams, options.timeoutSeconds);
  runs.TellProgress(ProgressModeNamed(options.progress));
  SessionRuns session = options.untilDecided
                            ? RunUntilDecided(runs, directories, options, seams, streams.err)
                            : RunRepeats(runs, directories, options, seams);
  session.interrupted = session.interrupted || seams.interrupts() != 0;
  if (!options.keepScratch) {
    CleanScratch(directories, streams.err);
  }

  // A baseline whose runs all failed leaves the first column the baseline.
  std::vector<Column> columns =
      GroupRepeats(session.records, session.labels, !options.labels.empty());
  const bool picked = PutBaselineFirst(columns, options.baseline, streams.err);
  Comparison comparison =
      Compare(session.records, session.labels, columns, options.thresholdPercent);
  comparison.table.sequential.stopped = session.stop.word;
  comparison.table.sequential.stopLine = session.stop.line;
  comparison.title = EscapeControls(options.title);
  const bool presented = Present(*writer, comparison, streams);
  const int status = session.interrupted ? 130 : session.allOk && picked && presented ? 0 : 1;
  runs.Event("session_ended", {{"runs", session.records.size()}, {"exit_status", status}});
  return status;
}
