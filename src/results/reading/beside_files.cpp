#include "results/reading/beside_files.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "contract/file_names.h"
#include "contract/report_texts.h"
#include "results/record/text_safety.h"

namespace fs = std::filesystem;

namespace {

// How many figures a run's report holds: the measurements of both phases and their summaries.
std::size_t FigureCount(const RunRecord& record) {
  std::size_t count = 0;
  const auto add = [&count](const auto& figures) {
    for (const auto& figure : figures) {
      count += figure.present ? 1 : 0;
    }
  };
  add(record.single);
  for (const auto& [thread, table] : record.workers) {
    add(table);
  }
  add(record.overall);
  return count;
}

// A context file is a few kilobytes; anything far larger is not one.
constexpr std::uintmax_t MaxContextBytes = 1 << 20;

bool IsRegular(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(fs::status(path, error)) && !error;
}

// A field's value as the comparison keeps it: a text escaped, a flag as "yes" or "no", a number
// as written; empty where the file does not tell or the field is hidden.
std::string KeptText(const nlohmann::json& json, const char* key, KeptAs keptAs) {
  const auto found = json.find(key);
  if (found == json.end()) {
    return {};
  }
  switch (keptAs) {
    case KeptAs::Text:
      return found->is_string() ? EscapeControls(found->get<std::string>()) : std::string();
    case KeptAs::YesNo:
      return found->is_boolean() ? (found->get<bool>() ? "yes" : "no") : std::string();
    case KeptAs::Number:
      return found->is_number() ? found->dump() : std::string();
    case KeptAs::JsonOnly:
      break;
  }
  return {};
}

// A session's name is a few dozen characters; a longer one is not this program's.
constexpr std::size_t MaxSessionBytes = 200;
// Bounds far past any session (at most MaxPairs rounds) that keep hostile numbers harmless.
constexpr long long MaxRound = 1000000;
constexpr long long MaxCap = 1000;

// A whole number within 1 .. most, else 0.
int BoundedCount(const nlohmann::json& json, const char* key, long long most) {
  const auto found = json.find(key);
  if (found == json.end() || !found->is_number_integer()) {
    return 0;
  }
  const long long value = found->get<long long>();
  return value >= 1 && value <= most ? static_cast<int>(value) : 0;
}

bool IsNull(const nlohmann::json& json, const char* key) {
  const auto found = json.find(key);
  return found == json.end() || found->is_null();
}

SessionMark MarkOf(const nlohmann::json& json) {
  SessionMark mark;
  const auto session = json.find(KeyText(ContextKey::Session));
  if (session != json.end() && session->is_string() &&
      session->get<std::string>().size() <= MaxSessionBytes) {
    mark.session = EscapeControls(session->get<std::string>());
  }
  mark.round = BoundedCount(json, KeyText(ContextKey::Round), MaxRound);
  const auto rule = json.find(KeyText(ContextKey::Sequential));
  if (rule != json.end() && rule->is_object() &&
      rule->value("rule", nlohmann::json()) == nlohmann::json(SequentialRuleName)) {
    mark.cap = BoundedCount(*rule, "cap", MaxCap);
  }
  const auto status = json.find(KeyText(ContextKey::ExitStatus));
  mark.ranToItsEnd =
      status != json.end() && status->is_number_integer() && status->get<long long>() == 0 &&
      IsNull(json, KeyText(ContextKey::Signal)) && IsNull(json, KeyText(ContextKey::CutOff)) &&
      json.value(KeyText(ContextKey::Interrupted), nlohmann::json()) == nlohmann::json(false);
  return mark;
}

}  // namespace

RunContext ReadContextFile(const std::string& path) {
  RunContext context;
  const fs::path file = fs::u8path(path);
  std::error_code error;
  if (!IsRegular(file) || fs::file_size(file, error) > MaxContextBytes || error) {
    return context;
  }
  std::ifstream in(file, std::ios::in | std::ios::binary);
  const nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
  if (!json.is_object() || !json.contains("start_time")) {
    return context;
  }
  context.known = true;
  for (std::size_t i = 0; i < ContextFieldCount; ++i) {
    const ContextField& field = ContextFields[i];
    context.values[i] = KeptText(json, field.key, field.keptAs);
    if (context.values[i].empty() && field.fallback != nullptr) {
      context.values[i] = KeptText(json, field.fallback, field.keptAs);
    }
  }
  context.mark = MarkOf(json);
  context.json = json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  return context;
}

ReadOutcome ReadRun(const std::string& path) {
  const std::string transcript = BesideResults(path, TranscriptSuffix);
  const fs::path name = fs::u8path(path).filename();
  const bool results = IsResultsName(name.u8string());
  ReadOutcome outcome = ReadResultsFile(path);
  if (results && IsRegular(fs::u8path(transcript))) {
    // The transcript carries the warnings the results file lacks, but one cut short (a full
    // disk, a run stopped) must not hide the figures of a whole results file.
    ReadOutcome console = ReadResultsFile(transcript);
    if (console.record &&
        (!outcome.record || FigureCount(*console.record) >= FigureCount(*outcome.record))) {
      RunRecord& record = *console.record;
      record.path = path;
      DateFromResultsName(name.u8string(), record.date, record.time);
      outcome = std::move(console);
    }
  }
  if (outcome.record && results) {
    outcome.record->context = ReadContextFile(BesideResults(path, ContextSuffix));
  }
  return outcome;
}
