#include "results/running/context_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "contract/version_mark.h"
#include "results/system/local_time.h"

nlohmann::ordered_json EmptyContext() {
  nlohmann::ordered_json context = {{"format_version", ContextFormatVersion}};
  for (const ContextField& field : ContextFields) {
    context[field.key] = nullptr;
  }
  return context;
}

nlohmann::ordered_json BenchmarkVersion(const std::string& program) {
  static const std::string mark =
      std::string(DRIVES_TESK_VERSION_MARK_LEAD) + DRIVES_TESK_VERSION_MARK_TAIL;
  std::ifstream in(std::filesystem::u8path(program), std::ios::in | std::ios::binary);
  std::string window;
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    // The chunk with the end of the last one, so that a mark across two chunks is found.
    window = window.substr(window.size() > 64 ? window.size() - 64 : 0) +
             std::string(chunk, static_cast<std::size_t>(in.gcount()));
    const std::size_t at = window.find(mark);
    if (at == std::string::npos) {
      continue;
    }
    std::string version;
    for (std::size_t i = at + mark.size(); i < window.size() && version.size() < 32; ++i) {
      const char c = window[i];
      const bool allowed = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                           (c >= 'A' && c <= 'Z') || c == '.' || c == '-' || c == '+' || c == '~';
      if (!allowed) {
        return version.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(version);
      }
      version += c;
    }
  }
  return nullptr;
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
