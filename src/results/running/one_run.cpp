#include "results/running/one_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "contract/file_names.h"
#include "contract/report_texts.h"
#include "results/reading/beside_files.h"
#include "results/record/text_safety.h"
#include "results/running/run_context.h"
#include "results/system/system_context.h"

namespace fs = std::filesystem;

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* Program = "drives-tesk-results: ";
// What the benchmark writes to standard error is kept in the context up to this size.
constexpr std::size_t MaxErrorBytes = std::size_t{64} * 1024;
constexpr int ProgressTickMs = 250;
// A runaway benchmark (one that prints without end) is stopped past this much output; a whole
// console is a few kilobytes.
constexpr std::size_t MaxTranscriptBytes = std::size_t{64} * 1024 * 1024;
// A benchmark asked to end that has not ended (with all it started) this long later is killed.
constexpr auto KillAfter = std::chrono::seconds(10);

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

// Written under a temporary name and renamed, so that a file of `path`'s name is always whole
// (a full disk leaves no half a transcript to be read in place of the results file).
bool WriteFile(const fs::path& path, const std::string& bytes, std::ostream& err) {
  const fs::path partial = path.parent_path() / ("." + path.filename().u8string() + ".partial");
  std::ofstream out(partial, std::ios::out | std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  std::error_code error;
  if (out) {
    fs::rename(partial, path, error);
  }
  if (!out || error) {
    fs::remove(partial, error);
    err << Program << EscapeControls(path.u8string()) << ": cannot be written\n";
    return false;
  }
  return true;
}

long long Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

double Seconds(std::chrono::steady_clock::time_point began) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}

// "12.3 s, exit status 3, interrupted": how the run ended, before what was read of it.
std::string HowItEnded(double seconds, bool started, const std::string& failure, ChildExit exit,
                       const std::string& cutOff, bool interrupted) {
  std::string says = Duration(seconds);
  if (!started) {
    says += ", " + BenchmarkFileName() + " could not be started: " + failure;
  } else if (exit.signal != 0) {
    says += ", ended by signal " + std::to_string(exit.signal);
  } else if (exit.status != 0) {
    says += ", exit status " + std::to_string(exit.status);
  }
  if (!cutOff.empty()) {
    says += ", " + cutOff;
  }
  if (interrupted) {
    says += ", interrupted";
  }
  return says;
}

std::string TimedOut(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "timed out after %g s", seconds);
  return text;
}

}  // namespace

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

Runner::Runner(std::string benchmark, int workers, Json ompNumThreads, std::ostream& err,
               ChildStarter start, double timeoutSeconds)
    : benchmark_(std::move(benchmark)),
      ompNumThreads_(std::move(ompNumThreads)),
      version_(BenchmarkVersion(benchmark_)),
      workers_(workers),
      err_(err),
      start_(start),
      timeoutSeconds_(timeoutSeconds),
      terminal_(ErrorsOnTerminal()),
      progress_(err, TerminalColumns, TerminalTakesColour()) {}

Json Runner::ContextBefore(const Directory& directory, long long start) const {
  Json context = EmptyContext();
  AddSystemContext(directory.path.u8string(), context);
  context["benchmark"] = benchmark_;
  context["benchmark_version"] = version_;
  context["companion_version"] = DRIVES_TESK_VERSION;
  context["start_time"] = IsoTime(start);
  context["workers"] = workers_;
  context["omp_num_threads"] = ompNumThreads_;
  return context;
}

Runner::Followed Runner::Follow(const Directory& directory, Progress progress,
                                double laterSeconds) {
  using Clock = std::chrono::steady_clock;
  Followed followed;
  const double typical = Mean(directory.durations);
  std::string phase;
  std::string pending;  // the part of the last line not ended yet
  const auto began = Clock::now();
  Clock::time_point stoppedAt{};
  int interruptsThen = 0;
  bool killed = false;
  std::unique_ptr<RunningChild> child =
      start_(benchmark_, directory.path.u8string(), followed.failure);
  followed.started = child != nullptr;
  while (child) {
    if (!followed.stopped) {
      if (Interrupted()) {
        followed.interrupted = true;
      } else if (timeoutSeconds_ > 0 && Seconds(began) >= timeoutSeconds_) {
        followed.cutOff = TimedOut(timeoutSeconds_);
      } else if (followed.transcript.size() >= MaxTranscriptBytes) {
        followed.cutOff = "too much output";
      }
      if (followed.interrupted || !followed.cutOff.empty()) {
        child->Stop();
        followed.stopped = true;
        stoppedAt = Clock::now();
        interruptsThen = Interrupts();
      }
    } else if (!killed) {
      EnsureEnded(*child, stoppedAt, interruptsThen, killed);
    }
    // Woken for the progress line and while stopping; otherwise only at the timeout, if any.
    int tickMs = terminal_ || followed.stopped ? ProgressTickMs : -1;
    if (timeoutSeconds_ > 0 && !followed.stopped) {
      const double left = std::ceil((timeoutSeconds_ - Seconds(began)) * 1000.0);
      const int untilTimeout = static_cast<int>(std::clamp(left, 1.0, 3600000.0));
      tickMs = tickMs < 0 ? untilTimeout : std::min(tickMs, untilTimeout);
    }
    const ChildEvent event = child->Next(tickMs);
    if (event.kind == ChildEvent::Ended) {
      break;
    }
    if (event.kind == ChildEvent::Output && followed.transcript.size() < MaxTranscriptBytes) {
      const std::string bytes =
          event.bytes.substr(0, MaxTranscriptBytes - followed.transcript.size());
      followed.transcript += bytes;
      pending += bytes;
      for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
        FollowReport(pending.substr(0, end), phase, progress.section);
        pending.erase(0, end + 1);
      }
    } else if (event.kind == ChildEvent::Errors && followed.errors.size() < MaxErrorBytes) {
      followed.errors += event.bytes.substr(0, MaxErrorBytes - followed.errors.size());
    }
    // Nothing is drawn once interrupted: the terminal may have gone with its session.
    if (terminal_ && !Interrupted()) {
      progress.elapsed = Seconds(began);
      progress.left = typical < 0 || laterSeconds < 0
                          ? -1
                          : std::max(typical - progress.elapsed, 0.0) + laterSeconds;
      progress_.Draw(progress);
    }
  }
  if (child) {
    followed.exit = child->Wait();
    // What it started may outlive it (holding no pipe): asked to end, it ends too.
    while (followed.stopped && !killed && child->Lingering()) {
      EnsureEnded(*child, stoppedAt, interruptsThen, killed);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  followed.seconds = Seconds(began);
  progress_.Erase();
  return followed;
}

void Runner::EnsureEnded(RunningChild& child, std::chrono::steady_clock::time_point stoppedAt,
                         int interruptsThen, bool& killed) {
  if (Interrupts() > interruptsThen || std::chrono::steady_clock::now() - stoppedAt >= KillAfter) {
    child.Kill();
    killed = true;
  }
}

void Runner::Keep(const fs::path& results, const Followed& followed, Json& context,
                  bool interrupted) {
  context["wall_seconds"] = std::round(followed.seconds * 1000.0) / 1000.0;
  if (followed.started) {
    context["exit_status"] = followed.exit.signal == 0 ? Json(followed.exit.status) : Json(nullptr);
    context["signal"] = followed.exit.signal != 0 ? Json(followed.exit.signal) : Json(nullptr);
  }
  context["interrupted"] = interrupted;
  context["cut_off"] = followed.cutOff.empty() ? Json(nullptr) : Json(followed.cutOff);
  context["stderr"] = followed.errors.empty() ? Json(nullptr) : Json(ValidUtf8(followed.errors));
  WriteFile(BesideResults(results.u8string(), TranscriptSuffix), followed.transcript, err_);
  // Paths and mount fields are the system's bytes, not always UTF-8: replaced, never thrown on.
  WriteFile(BesideResults(results.u8string(), ContextSuffix),
            context.dump(2, ' ', false, Json::error_handler_t::replace) + "\n", err_);
}

RunOutcome Runner::RunOnce(Directory& directory, int run, int runs, double laterSeconds) {
  // The results file is named to the second: two runs of one directory start seconds apart.
  while (Now() <= directory.lastStart) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const long long start = Now();
  directory.lastStart = start;
  Json context = ContextBefore(directory, start);
  const std::vector<std::string> before = ResultsNamesIn(directory.path);
  const Followed followed =
      Follow(directory, Progress{run, runs, directory.shown, "starting", 0, -1}, laterSeconds);

  RunOutcome outcome;
  outcome.interrupted = followed.interrupted || Interrupted();
  const std::string resultsName = ResultsNameOf(followed.transcript, directory.path, before);
  const fs::path results =
      directory.path / fs::u8path(resultsName.empty() ? NameAt(start) : resultsName);
  Keep(results, followed, context, outcome.interrupted);

  std::string says = HowItEnded(followed.seconds, followed.started, followed.failure, followed.exit,
                                followed.cutOff, outcome.interrupted);
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
  err_ << "run " << run << " of " << runs << ": " << directory.shown << ": " << says << "\n"
       << std::flush;
  outcome.ok = followed.started && followed.exit.signal == 0 && followed.exit.status == 0 && read &&
               !followed.stopped && !outcome.interrupted;
  if (!followed.stopped && !outcome.interrupted) {
    directory.durations.push_back(followed.seconds);
  }
  return outcome;
}
