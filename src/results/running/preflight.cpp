#include "results/running/preflight.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "results/reading/scratch_files.h"
#include "results/record/program_name.h"
#include "results/record/text_safety.h"
#include "results/system/environment.h"
#include "results/system/file_systems.h"

namespace fs = std::filesystem;

namespace {

constexpr unsigned long long MiB = 1024ULL * 1024ULL;

std::string Mebibytes(unsigned long long bytes, bool up) {
  return std::to_string(up ? (bytes + MiB - 1) / MiB : bytes / MiB) + " MiB";
}

}  // namespace

std::string FindBenchmark(const std::string& given, std::ostream& err) {
  std::error_code error;
  if (!given.empty()) {
    fs::path path = fs::u8path(given);
    if (!fs::exists(path, error) && path.filename() == path) {
      const std::string found = FindOnPath(given);
      path = found.empty() ? path : fs::u8path(found);
    }
    if (!fs::is_regular_file(path, error)) {
      err << Program << EscapeControls(given) << ": no such program\n";
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

std::string UnfitReason(const Directory& directory) {
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
  return "";
}

std::vector<std::string> RoomShortfalls(const std::vector<Directory>& directories, int workers) {
  // The directories by file system, in the order given; one whose file system cannot be told
  // stands alone.
  std::vector<std::pair<std::string, std::vector<const Directory*>>> systems;
  for (const Directory& directory : directories) {
    const std::string system = FileSystemOf(directory.path.u8string());
    auto same = std::find_if(systems.begin(), systems.end(), [&system](const auto& known) {
      return !system.empty() && known.first == system;
    });
    if (same == systems.end()) {
      systems.push_back({system, {}});
      same = systems.end() - 1;
    }
    same->second.push_back(&directory);
  }
  std::vector<std::string> shortfalls;
  for (const auto& [system, sharing] : systems) {
    std::error_code error;
    const fs::space_info space = fs::space(sharing.front()->path, error);
    if (error) {
      continue;  // the space cannot be told: the run says it if it runs out
    }
    // The scratch files left by an earlier run are written over, not added.
    unsigned long long available = space.available;
    std::string names;
    for (const Directory* directory : sharing) {
      std::string ignored;
      for (const ScratchFile& file : FindScratchFiles(directory->path.u8string(), ignored)) {
        available += file.size;
      }
      names += (names.empty() ? "" : ", ") + directory->printed;
    }
    const unsigned long long needed = FootprintBytes(workers) * sharing.size();
    if (available >= needed) {
      continue;
    }
    const std::string each = std::to_string(workers) + (workers == 1 ? " worker" : " workers");
    std::string shortfall = names;
    if (sharing.size() == 1) {
      shortfall += ": needs " + Mebibytes(needed, true);
      shortfall += " free for " + each;
      shortfall += ", has " + Mebibytes(available, false);
    } else {
      shortfall += ": need " + Mebibytes(needed, true);
      shortfall += " free together for " + each;
      shortfall += " each, have " + Mebibytes(available, false);
    }
    shortfalls.push_back(shortfall);
  }
  return shortfalls;
}
