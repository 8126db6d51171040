#include "results/commands/run_command.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <thread>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "contract/report_texts.h"
#include "results/comparing/comparison_table.h"
#include "results/output/formats.h"
#include "results/reading/beside_files.h"
#include "results/reading/scratch_files.h"
#include "results/record/text_safety.h"
#include "results/running/progress_line.h"
#include "results/running/run_context.h"
#include "results/system/process.h"
#include "results/system/system_context.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* Program = "drives-tesk-results: ";
constexpr unsigned long long MiB = 1024ULL * 1024ULL;
// The results file, the transcript and the context of a run, with room to spare.
constexpr unsigned long long ResultsFilesBytes = MiB;
// What the benchmark writes to standard error is kept in the context up to this size.
constexpr std::size_t MaxErrorBytes = std::size_t{64} * 1024;
constexpr int ProgressTickMs = 250;

using Json = nlohmann::ordered_json;

struct Directory {
  std::string shown;              // as given, safe to print
  fs::path path;                  // absolute
  std::vector<double> durations;  // seconds of its finished runs
  long long lastStart = 0;
};

// The benchmark to run, absolute (it runs in other directories); empty, with the reason on
// `err`, when there is none.
std::string FindBenchmark(const std::string& named, std::ostream& err) {
  std::error_code error;
  if (!named.empty()) {
    fs::path path = fs::u8path(named);
    if (!fs::exists(path, error) && path.filename() == path) {
      const std::string found = FindOnPath(named);
      path = found.empty() ? path : fs::u8path(found);
    }
    if (!fs::is_regular_file(path, error)) {
      err << Program << EscapeControls(named) << ": no such program\n";
      return {};
    }
    return fs::absolute(path, error).u8string();
  }
  const std::string own = ProgramDirectory();
  if (!own.empty()) {
    const fs::path beside = fs::u8path(own) / BenchmarkFileName();
    if (fs::is_regular_file(beside, error)) {
      return beside.u8string();
    }
  }
  const std::string onPath = FindOnPath(BenchmarkFileName());
  if (!onPath.empty()) {
    return fs::absolute(fs::u8path(onPath), error).u8string();
  }
  err << Program << "no " << BenchmarkFileName() << " beside this program or on PATH; name it with"
      << " --benchmark PATH\n";
  return {};
}

std::string Mebibytes(unsigned long long bytes, bool up) {
  return std::to_string(up ? (bytes + MiB - 1) / MiB : bytes / MiB) + " MiB";
}

// Why the benchmark cannot run in `directory`; empty when it can, as far as can be told now.
std::string UnfitReason(const Directory& directory, int workers) {
  std::error_code error;
  const fs::file_status status = fs::status(directory.path, error);
  if (error && error != std::errc::no_such_file_or_directory) {
    return error.message();
  }
  if (!fs::exists(status)) {
    return "does not exist";
  }
  if (!fs::is_directory(status)) {
    return "is not a directory";
  }
  std::random_device seed;
  const fs::path probe =
      directory.path / (".drives-tesk-results-probe-" + std::to_string(seed() % 1000000000U));
  errno = 0;
  {
    std::ofstream out(probe, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!out.is_open()) {
      const int reason = errno;
      return reason != 0 ? std::strerror(reason) : "cannot be written";
    }
  }
  fs::remove(probe, error);
  const fs::space_info space = fs::space(directory.path, error);
  if (error) {
    return "";  // the space cannot be told: the run says it if it runs out
  }
  // The scratch files left by an earlier run are written over, not added.
  unsigned long long available = space.available;
  std::string ignored;
  for (const ScratchFile& file : FindScratchFiles(directory.path.u8string(), ignored)) {
    available += file.size;
  }
  const unsigned long long needed = FootprintBytes(workers);
  if (available < needed) {
    return "needs " + Mebibytes(needed, true) + " free for " + std::to_string(workers) +
           (workers == 1 ? " worker" : " workers") + ", has " + Mebibytes(available, false);
  }
  return "";
}

// The results files in `directory` now, by name.
std::vector<std::string> ResultsNamesIn(const fs::path& directory) {
  std::vector<std::string> names;
  std::error_code error;
  fs::directory_iterator entries(directory, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    const std::string name = entries->path().filename().u8string();
    if (IsResultsName(name)) {
      names.push_back(name);
    }
  }
  return names;
}

// The results file of a run: the one the benchmark named on its closing line, else (a run cut
// short) the one that appeared in the directory while it ran; empty when there is none.
std::string ResultsNameOf(const std::string& transcript, const fs::path& directory,
                          const std::vector<std::string>& before) {
  const std::size_t at = transcript.rfind(SavedText);
  if (at == std::string::npos) {
    std::vector<std::string> appeared;
    for (const std::string& name : ResultsNamesIn(directory)) {
      if (std::find(before.begin(), before.end(), name) == before.end()) {
        appeared.push_back(name);
      }
    }
    return appeared.size() == 1 ? appeared.front() : std::string();
  }
  std::size_t end = transcript.find('\n', at);
  std::string line = transcript.substr(at, end == std::string::npos ? end : end - at);
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  std::string name;
  ResultsNameOnClosingLine(line, name);
  std::error_code error;
  const bool fits = IsResultsName(name) && name.find('/') == std::string::npos &&
                    fs::is_regular_file(directory / fs::u8path(name), error);
  return fits ? name : std::string();
}

// The results file's name the benchmark would give a run started at `when`.
std::string NameAt(long long when) {
  const LocalTime local = ToLocalTime(when);
  std::tm fields{};
  fields.tm_year = local.year - 1900;
  fields.tm_mon = local.month - 1;
  fields.tm_mday = local.day;
  fields.tm_hour = local.hour;
  fields.tm_min = local.minute;
  fields.tm_sec = local.second;
  return ResultsNameFor(fields);
}

bool WriteFile(const fs::path& path, const std::string& bytes, std::ostream& err) {
  std::ofstream out(path, std::ios::out | std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  if (!out) {
    err << Program << EscapeControls(path.u8string()) << ": cannot be written\n";
  }
  return static_cast<bool>(out);
}

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (const double value : values) {
    sum += value;
  }
  return values.empty() ? -1 : sum / static_cast<double>(values.size());
}

long long Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// A's first run, B's first run, ..., A's second run, ...: drift and warming fall on every
// directory alike.
std::vector<std::size_t> Interleaved(std::size_t directories, int repeat) {
  std::vector<std::size_t> order;
  for (int round = 0; round < repeat; ++round) {
    for (std::size_t d = 0; d < directories; ++d) {
      order.push_back(d);
    }
  }
  return order;
}

struct Outcome {
  bool ok = false;
  bool interrupted = false;
  std::optional<RunRecord> record;
};

class Runner {
 public:
  Runner(std::string benchmark, int workers, Json ompNumThreads, Streams streams)
      : benchmark_(std::move(benchmark)),
        ompNumThreads_(std::move(ompNumThreads)),
        version_(BenchmarkVersion(benchmark_)),
        workers_(workers),
        streams_(streams),
        terminal_(ErrorsOnTerminal()),
        progress_(streams.err, TerminalColumns(), TerminalTakesColour()) {}

  Outcome RunOnce(Directory& directory, int run, int runs, double laterSeconds) {
    // The results file is named to the second: two runs of one directory start seconds apart.
    while (Now() <= directory.lastStart) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const long long start = Now();
    directory.lastStart = start;
    Json context = EmptyContext();
    AddSystemContext(directory.path.u8string(), context);
    context["benchmark"] = benchmark_;
    context["benchmark_version"] = version_;
    context["start_time"] = IsoTime(start);
    context["workers"] = workers_;
    context["omp_num_threads"] = ompNumThreads_;

    Progress progress{run, runs, directory.shown, "starting", 0, -1};
    const double typical = Mean(directory.durations);
    std::string transcript;
    std::string errors;
    std::string phase;
    std::string pending;  // the part of the last line not ended yet
    bool stopped = false;
    const std::vector<std::string> before = ResultsNamesIn(directory.path);
    const auto began = std::chrono::steady_clock::now();
    std::string failure;
    std::unique_ptr<ChildProcess> child =
        ChildProcess::Start(benchmark_, directory.path.u8string(), failure);
    while (child) {
      if (Interrupted() && !stopped) {
        child->Stop();
        stopped = true;
      }
      const ChildEvent event = child->Next(terminal_ ? ProgressTickMs : -1);
      if (event.kind == ChildEvent::Ended) {
        break;
      }
      if (event.kind == ChildEvent::Output) {
        transcript += event.bytes;
        pending += event.bytes;
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
          FollowReport(pending.substr(0, end), phase, progress.section);
          pending.erase(0, end + 1);
        }
      } else if (event.kind == ChildEvent::Errors && errors.size() < MaxErrorBytes) {
        errors += event.bytes.substr(0, MaxErrorBytes - errors.size());
      }
      if (terminal_) {
        progress.elapsed = Seconds(began);
        progress.left = typical < 0 || laterSeconds < 0
                            ? -1
                            : std::max(typical - progress.elapsed, 0.0) + laterSeconds;
        progress_.Draw(progress);
      }
    }
    const ChildExit exit = child ? child->Wait() : ChildExit{};
    const double seconds = Seconds(began);
    progress_.Erase();

    Outcome outcome;
    outcome.interrupted = stopped || Interrupted();
    context["wall_seconds"] = std::round(seconds * 1000.0) / 1000.0;
    if (child) {
      context["exit_status"] = exit.signal == 0 ? Json(exit.status) : Json(nullptr);
      context["signal"] = exit.signal != 0 ? Json(exit.signal) : Json(nullptr);
    }
    context["interrupted"] = outcome.interrupted;
    context["stderr"] = errors.empty() ? Json(nullptr) : Json(ValidUtf8(errors));

    const std::string resultsName = ResultsNameOf(transcript, directory.path, before);
    const std::string named = resultsName.empty() ? NameAt(start) : resultsName;
    const fs::path results = directory.path / fs::u8path(named);
    WriteFile(BesideResults(results.u8string(), TranscriptSuffix), transcript, streams_.err);
    // Paths and mount fields are the system's bytes, not always UTF-8: replaced, never thrown on.
    WriteFile(BesideResults(results.u8string(), ContextSuffix),
              context.dump(2, ' ', false, Json::error_handler_t::replace) + "\n", streams_.err);

    std::string says = Duration(seconds);
    if (!child) {
      says += ", " + BenchmarkFileName() + " could not be started: " + failure;
    } else if (exit.signal != 0) {
      says += ", ended by signal " + std::to_string(exit.signal);
    } else if (exit.status != 0) {
      says += ", exit status " + std::to_string(exit.status);
    }
    if (outcome.interrupted) {
      says += ", interrupted";
    }
    bool read = false;
    if (resultsName.empty()) {
      says += ", no results file";
    } else {
      says += ", " + EscapeControls(resultsName);
      ReadOutcome got = ReadRun(results.u8string());
      if (got.error) {
        says += " (" + EscapeControls(got.error->message) + ")";
      } else {
        read = got.record->complete;
        if (!read) {
          says += " (cut short)";
        }
        got.record->path = EscapeControls(got.record->path);
        outcome.record = std::move(got.record);
      }
    }
    streams_.err << "run " << run << " of " << runs << ": " << directory.shown << ": " << says
                 << "\n"
                 << std::flush;
    outcome.ok = child && exit.signal == 0 && exit.status == 0 && read && !outcome.interrupted;
    if (!outcome.interrupted) {
      directory.durations.push_back(seconds);
    }
    return outcome;
  }

 private:
  static double Seconds(std::chrono::steady_clock::time_point began) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  }

  std::string benchmark_;
  Json ompNumThreads_;  // as the benchmark gets it
  Json version_;
  int workers_;
  Streams streams_;
  bool terminal_;
  ProgressLine progress_;
};

}  // namespace

int ExpectedWorkers(int threads, const char* ompNumThreads, unsigned hardwareThreads) {
  long workers = threads;
  if (workers <= 0 && ompNumThreads != nullptr) {
    char* end = nullptr;
    workers = std::strtol(ompNumThreads, &end, 10);
    if (end == ompNumThreads) {
      workers = 0;
    }
  }
  if (workers <= 0) {
    workers = hardwareThreads > 0 ? static_cast<long>(hardwareThreads) : 1;
  }
  return static_cast<int>(std::min<long>(workers, ThreadCap));
}

unsigned long long FootprintBytes(int workers) {
  const unsigned long long files = 2 + 2 * static_cast<unsigned long long>(workers);
  return files * static_cast<unsigned long long>(FirstPassBytes) + ResultsFilesBytes;
}

std::string IsoTime(long long when) {
  const LocalTime local = ToLocalTime(when);
  const int offset = local.offsetMinutes < 0 ? -local.offsetMinutes : local.offsetMinutes;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", local.year,
                local.month, local.day, local.hour, local.minute, local.second,
                local.offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return text;
}

int RunCommand(const RunCommandOptions& options, Streams streams) {
  const NamedFormat* writer = FindFormat(options.format);
  if (writer == nullptr) {
    streams.err << Program << "no output format " << EscapeControls(options.format) << "\n";
    return 2;
  }
  const std::string benchmark = FindBenchmark(options.benchmark, streams.err);
  if (benchmark.empty()) {
    return 2;
  }
  if (options.threads > 0) {
    SetEnvironment("OMP_NUM_THREADS", std::to_string(options.threads));
  }
  const int workers = ExpectedWorkers(options.threads, std::getenv("OMP_NUM_THREADS"),
                                      std::thread::hardware_concurrency());
  std::vector<Directory> directories;
  for (const std::string& given :
       options.directories.empty() ? std::vector<std::string>{"."} : options.directories) {
    std::error_code error;
    const fs::path absolute = fs::absolute(fs::u8path(given), error).lexically_normal();
    const fs::path path = error ? fs::u8path(given) : absolute;
    // A directory named twice is measured once per round: its runs must start seconds apart.
    const bool named = std::any_of(directories.begin(), directories.end(), [&](const Directory& d) {
      std::error_code ignored;
      return d.path == path || fs::equivalent(d.path, path, ignored);
    });
    if (!named) {
      directories.push_back({EscapeControls(given), path, {}, 0});
    }
  }
  bool fit = true;
  for (const Directory& directory : directories) {
    const std::string reason = UnfitReason(directory, workers);
    if (!reason.empty()) {
      streams.err << directory.shown << ": " << reason << "\n";
      fit = false;
    }
  }
  if (!fit) {
    streams.err << Program << "nothing was run\n";
    return 2;
  }

  CatchInterrupts();
  // Windows' C library keeps its own copy of the environment: what was set is known here.
  const char* given = std::getenv("OMP_NUM_THREADS");
  const Json ompNumThreads = options.threads > 0 ? Json(std::to_string(options.threads))
                             : given != nullptr  ? Json(EscapeControls(given))
                                                 : Json(nullptr);
  Runner runner(benchmark, workers, ompNumThreads, streams);
  const std::vector<std::size_t> order = Interleaved(directories.size(), options.repeat);
  std::vector<RunRecord> runs;
  bool allOk = true;
  bool interrupted = false;
  for (std::size_t k = 0; k < order.size() && !interrupted; ++k) {
    // What the runs still to come will take, where every directory has been timed once.
    double later = 0;
    for (std::size_t j = k + 1; j < order.size() && later >= 0; ++j) {
      const double typical = Mean(directories[order[j]].durations);
      later = typical < 0 ? -1 : later + typical;
    }
    Outcome outcome = runner.RunOnce(directories[order[k]], static_cast<int>(k + 1),
                                     static_cast<int>(order.size()), later);
    interrupted = outcome.interrupted;
    allOk = allOk && outcome.ok;
    if (outcome.record && !outcome.interrupted) {
      runs.push_back(std::move(*outcome.record));
    }
  }

  if (!options.keepScratch) {
    for (const Directory& directory : directories) {
      std::string error;
      const std::vector<ScratchFile> found = FindScratchFiles(directory.path.u8string(), error);
      for (const std::string& failure : RemoveScratchFiles(directory.path.u8string(), found)) {
        streams.err << EscapeControls(failure) << "\n";
      }
    }
  }
  std::vector<std::string> labels;
  labels.reserve(runs.size());
  for (const RunRecord& run : runs) {
    labels.push_back(EscapeControls(DefaultLabel(run)));
  }
  streams.out << writer->write(Compare(runs, labels, GroupRepeats(runs, labels, false)))
              << std::flush;
  if (!streams.out) {
    streams.err << Program << "the output could not be written\n";
    allOk = false;
  }
  return interrupted ? 130 : allOk ? 0 : 1;
}
