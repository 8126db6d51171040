#include "results/commands/run_command.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

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
  const std::vector<std::size_t> order = Interleaved(directories.size(), options.repeat);
  std::vector<RunRecord> records;
  std::vector<std::string> labels;
  bool allOk = true;
  bool interrupted = false;
  // An interrupt between two runs starts no other.
  for (std::size_t k = 0; k < order.size() && !interrupted && seams.interrupts() == 0; ++k) {
    RunOutcome outcome =
        runs.RunOnce(directories[order[k]], static_cast<int>(k + 1), static_cast<int>(order.size()),
                     SecondsStillToCome(order, k, directories));
    interrupted = outcome.interrupted;
    allOk = allOk && outcome.ok;
    if (outcome.record && !outcome.interrupted) {
      records.push_back(std::move(*outcome.record));
      labels.push_back(options.labels.empty() ? EscapeControls(DefaultLabel(records.back()))
                                              : directories[order[k]].label);
    }
  }
  interrupted = interrupted || seams.interrupts() != 0;
  if (!options.keepScratch) {
    CleanScratch(directories, streams.err);
  }

  const std::vector<Column> columns = GroupRepeats(records, labels, !options.labels.empty());
  Comparison comparison = Compare(records, labels, columns, options.thresholdPercent);
  comparison.title = EscapeControls(options.title);
  const bool presented = Present(*writer, comparison, streams);
  return interrupted ? 130 : allOk && presented ? 0 : 1;
}
