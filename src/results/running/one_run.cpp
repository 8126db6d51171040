#include "results/running/one_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "contract/file_names.h"
#include "contract/report_texts.h"
#include "results/reading/beside_files.h"
#include "results/reading/results_listing.h"
#include "results/record/program_name.h"
#include "results/record/text_safety.h"
#include "results/running/context_file.h"
#include "results/system/environment.h"
#include "results/system/local_time.h"
#include "results/system/system_context.h"
#include "results/system/terminal.h"
#include "results/system/whole_file.h"

namespace fs = std::filesystem;

namespace {

using Json = nlohmann::ordered_json;

// What the benchmark writes to standard error is kept in the context up to this size.
constexpr std::size_t MaxErrorBytes = std::size_t{64} * 1024;
// A runaway benchmark (one that prints without end) is stopped past this much output; a whole
// console is a few kilobytes.
constexpr std::size_t MaxTranscriptBytes = std::size_t{64} * 1024 * 1024;
// A benchmark asked to end that has not ended (with all it started) this long later is killed.
constexpr double KillAfterSeconds = 10;
// How often a stopped benchmark's group is looked at until it has ended.
constexpr double LingerPollSeconds = 0.05;

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

// Whole or not at all: a full disk leaves no half a transcript to be read in place of the results
// file.
void WriteBeside(const fs::path& path, const std::string& bytes, std::ostream& err) {
  std::error_code error;
  if (!WriteWholeFile(path, bytes, error)) {
    err << Program << EscapeControls(path.u8string()) << ": cannot be written\n";
  }
}

// "12.3 s, exit status 3, interrupted": how the run ended, before what was read of it.
std::string HowItEnded(double seconds, bool started, const std::string& failure, ChildExit exit,
                       const std::string& cutOff, bool interrupted) {
  std::string summary = Duration(seconds);
  if (!started) {
    summary += ", " + BenchmarkFileName() + " could not be started: " + failure;
  } else if (exit.signal != 0) {
    summary += ", ended by signal " + std::to_string(exit.signal);
  } else if (exit.status != 0) {
    summary += ", exit status " + std::to_string(exit.status);
  }
  if (!cutOff.empty()) {
    summary += ", " + cutOff;
  }
  if (interrupted) {
    summary += ", interrupted";
  }
  return summary;
}

std::string TimedOut(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "timed out after %g s", seconds);
  return text;
}

}  // namespace

std::string ResultsNameOf(const std::string& transcript, const fs::path& directory,
                          const std::vector<std::string>& before) {
  const std::size_t at = transcript.rfind(SavedText);
  if (at == std::string::npos) {
    std::vector<std::string> appeared;
    std::error_code error;
    for (const std::string& name : ResultsNamesIn(directory, error)) {
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

Benchmark::Benchmark(std::string program, int workers, Json ompNumThreads, std::ostream& err,
                     RunSeams seams, double timeoutSeconds)
    : program_(std::move(program)),
      ompNumThreads_(std::move(ompNumThreads)),
      version_(BenchmarkVersion(program_)),
      workers_(workers),
      err_(err),
      seams_(std::move(seams)),
      timeoutSeconds_(timeoutSeconds),
      terminal_(ErrorsOnTerminal()),
      progress_(err, TerminalColumns, TerminalTakesColour()) {}

void Benchmark::Event(const char* event, const Json& fields) const {
  if (mode_ != ProgressMode::Json) {
    return;
  }
  Json line = {{"format_version", ProgressFormatVersion}, {"event", event}};
  line.update(fields);
  err_ << line.dump(-1, ' ', false, Json::error_handler_t::replace) << "\n" << std::flush;
}

void Benchmark::MarkSession(std::string session, Json rule) {
  session_ = std::move(session);
  rule_ = std::move(rule);
}

Json Benchmark::ContextBefore(const Directory& directory, long long start, int round) const {
  Json context = EmptyContext();
  AddSystemContext(directory.path.u8string(), context);
  context[KeyText(ContextKey::Benchmark)] = program_;
  context[KeyText(ContextKey::BenchmarkVersion)] = version_;
  context[KeyText(ContextKey::CompanionVersion)] = DRIVES_TESK_VERSION;
  context[KeyText(ContextKey::StartTime)] = IsoTime(start);
  context[KeyText(ContextKey::Workers)] = workers_;
  context[KeyText(ContextKey::OmpNumThreads)] = ompNumThreads_;
  context[KeyText(ContextKey::Session)] = session_;
  context[KeyText(ContextKey::Round)] = round > 0 ? Json(round) : Json(nullptr);
  context[KeyText(ContextKey::Sequential)] = rule_;
  return context;
}

Benchmark::Observed Benchmark::Follow(const Directory& directory, Progress progress,
                                      double laterSeconds) {
  Clock& clock = *seams_.clock;
  Observed observed;
  const double typical = Mean(directory.durations);
  std::string phase;
  std::string pending;  // the part of the last line not ended yet
  const double began = clock.Seconds();
  double stoppedAt = 0;
  int interruptsThen = 0;
  bool killed = false;
  std::unique_ptr<RunningChild> child =
      seams_.start(program_, directory.path.u8string(), observed.failure);
  observed.started = child != nullptr;
  while (child) {
    if (!observed.stopped) {
      if (Interrupted()) {
        observed.interrupted = true;
      } else if (timeoutSeconds_ > 0 && clock.Seconds() - began >= timeoutSeconds_) {
        observed.cutOff = TimedOut(timeoutSeconds_);
      } else if (observed.transcript.size() >= MaxTranscriptBytes) {
        observed.cutOff = "too much output";
      }
      if (observed.interrupted || !observed.cutOff.empty()) {
        child->Stop();
        observed.stopped = true;
        stoppedAt = clock.Seconds();
        interruptsThen = seams_.interrupts();
      }
    } else if (!killed) {
      EnsureEnded(*child, stoppedAt, interruptsThen, killed);
    }
    // Woken for the progress line and while stopping; otherwise only at the timeout, if any.
    const bool drawing = terminal_ && mode_ == ProgressMode::Auto;
    int tickMs = drawing || observed.stopped ? RedrawMs : -1;
    if (timeoutSeconds_ > 0 && !observed.stopped) {
      const double left = std::ceil((timeoutSeconds_ - (clock.Seconds() - began)) * 1000.0);
      const int untilTimeout = static_cast<int>(std::clamp(left, 1.0, 3600000.0));
      tickMs = tickMs < 0 ? untilTimeout : std::min(tickMs, untilTimeout);
    }
    const ChildEvent event = child->Next(tickMs);
    if (event.kind == ChildEvent::Ended) {
      break;
    }
    if (event.kind == ChildEvent::Output && observed.transcript.size() < MaxTranscriptBytes) {
      const std::string bytes =
          event.bytes.substr(0, MaxTranscriptBytes - observed.transcript.size());
      observed.transcript += bytes;
      pending += bytes;
      for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
        const std::string before = progress.section;
        FollowReport(pending.substr(0, end), phase, progress.section);
        if (progress.section != before) {
          Event("section", {{"run", progress.run}, {"section", progress.section}});
        }
        pending.erase(0, end + 1);
      }
    } else if (event.kind == ChildEvent::Errors && observed.errors.size() < MaxErrorBytes) {
      observed.errors += event.bytes.substr(0, MaxErrorBytes - observed.errors.size());
    }
    // Nothing is drawn once interrupted: the terminal may have gone with its session.
    if (drawing && !Interrupted()) {
      progress.elapsed = clock.Seconds() - began;
      progress.left = typical < 0 || laterSeconds < 0
                          ? -1
                          : std::max(typical - progress.elapsed, 0.0) + laterSeconds;
      progress_.Draw(progress);
    }
  }
  if (child) {
    observed.exit = child->Wait();
    // What it started may outlive it (holding no pipe): asked to end, it ends too.
    while (observed.stopped && !killed && child->Lingering()) {
      EnsureEnded(*child, stoppedAt, interruptsThen, killed);
      clock.Pause(LingerPollSeconds);
    }
  }
  observed.seconds = clock.Seconds() - began;
  progress_.Erase();
  return observed;
}

void Benchmark::EnsureEnded(RunningChild& child, double stoppedAt, int interruptsThen,
                            bool& killed) {
  if (seams_.interrupts() > interruptsThen ||
      seams_.clock->Seconds() - stoppedAt >= KillAfterSeconds) {
    child.Kill();
    killed = true;
  }
}

void Benchmark::Keep(const fs::path& results, const Observed& observed, Json& context,
                     bool interrupted) {
  context[KeyText(ContextKey::WallSeconds)] = std::round(observed.seconds * 1000.0) / 1000.0;
  if (observed.started) {
    context[KeyText(ContextKey::ExitStatus)] =
        observed.exit.signal == 0 ? Json(observed.exit.status) : Json(nullptr);
    context[KeyText(ContextKey::Signal)] =
        observed.exit.signal != 0 ? Json(observed.exit.signal) : Json(nullptr);
  }
  context[KeyText(ContextKey::Interrupted)] = interrupted;
  context[KeyText(ContextKey::CutOff)] =
      observed.cutOff.empty() ? Json(nullptr) : Json(observed.cutOff);
  context[KeyText(ContextKey::Stderr)] =
      observed.errors.empty() ? Json(nullptr) : Json(ValidUtf8(observed.errors));
  WriteBeside(BesideResults(results.u8string(), TranscriptSuffix), observed.transcript, err_);
  // Paths and mount fields are the system's bytes, not always UTF-8: replaced, never thrown on.
  WriteBeside(BesideResults(results.u8string(), ContextSuffix),
              context.dump(2, ' ', false, Json::error_handler_t::replace) + "\n", err_);
}

RunOutcome Benchmark::RunOnce(Directory& directory, int run, int runs, double laterSeconds,
                              int round, const std::string& head) {
  // The results file is named to the second: two runs of one directory start seconds apart.
  Clock& clock = *seams_.clock;
  while (clock.CalendarSeconds() <= directory.lastStart) {
    clock.Pause(0.05);
  }
  const long long start = clock.CalendarSeconds();
  directory.lastStart = start;
  Json context = ContextBefore(directory, start, round);
  std::error_code unread;
  const std::vector<std::string> before = ResultsNamesIn(directory.path, unread);
  Event("run_started", {{"run", run}, {"of", runs}, {"directory", directory.printed}});
  const Observed observed = Follow(
      directory, Progress{run, runs, directory.printed, "starting", 0, -1, head}, laterSeconds);

  RunOutcome outcome;
  outcome.interrupted = observed.interrupted || Interrupted();
  const std::string resultsName = ResultsNameOf(observed.transcript, directory.path, before);
  const fs::path results =
      directory.path / fs::u8path(resultsName.empty() ? NameAt(start) : resultsName);
  Keep(results, observed, context, outcome.interrupted);

  std::string summary = HowItEnded(observed.seconds, observed.started, observed.failure,
                                   observed.exit, observed.cutOff, outcome.interrupted);
  bool read = false;
  if (resultsName.empty()) {
    summary += ", no results file";
  } else {
    summary += ", " + EscapeControls(resultsName);
    ReadOutcome got = ReadRun(results.u8string());
    if (got.error) {
      summary += " (" + EscapeControls(got.error->message) + ")";
    } else {
      read = got.record->complete;
      if (!read) {
        summary += " (cut short)";
      }
      got.record->path = EscapeControls(got.record->path);
      outcome.record = std::move(got.record);
    }
  }
  if (mode_ == ProgressMode::Auto) {
    err_ << RunHead(Progress{run, runs, "", "", 0, -1, head}) << ": " << directory.printed << ": "
         << summary << "\n"
         << std::flush;
  }
  Event("run_ended",
        {{"run", run},
         {"seconds", std::round(observed.seconds * 1000.0) / 1000.0},
         {"results_file", resultsName.empty() ? Json(nullptr) : Json(EscapeControls(resultsName))},
         {"exit_status", observed.started && observed.exit.signal == 0 ? Json(observed.exit.status)
                                                                       : Json(nullptr)},
         {"signal", observed.exit.signal != 0 ? Json(observed.exit.signal) : Json(nullptr)},
         {"summary", summary}});
  outcome.ok = observed.started && observed.exit.signal == 0 && observed.exit.status == 0 && read &&
               !observed.stopped && !outcome.interrupted;
  if (!observed.stopped && !outcome.interrupted) {
    directory.durations.push_back(observed.seconds);
  }
  return outcome;
}
