#include "results/running/run_plan.h"

#include <algorithm>
#include <cstdlib>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "results/record/text_safety.h"

namespace fs = std::filesystem;

namespace {

// The results file, the transcript and the context of a run, with room to spare.
constexpr unsigned long long ResultsFilesBytes = 1024ULL * 1024ULL;

}  // namespace

std::vector<Directory> PlanDirectories(const std::vector<std::string>& given,
                                       const std::vector<std::string>& labels) {
  std::vector<Directory> directories;
  const std::vector<std::string> names = given.empty() ? std::vector<std::string>{"."} : given;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    // As chdir takes it: "link/.." is the parent of the link's target, not the current directory.
    // A directory that does not resolve is refused by the checks; it keeps its name meanwhile.
    std::error_code error;
    fs::path path = fs::canonical(fs::u8path(name), error);
    if (error) {
      path = fs::absolute(fs::u8path(name), error);
      path = error ? fs::u8path(name) : path;
    }
    const bool named = std::any_of(directories.begin(), directories.end(), [&](const Directory& d) {
      std::error_code ignored;
      return d.path == path || fs::equivalent(d.path, path, ignored);
    });
    if (!named) {
      directories.push_back(
          {EscapeControls(name), path, {}, 0, i < labels.size() ? EscapeControls(labels[i]) : ""});
    }
  }
  return directories;
}

std::vector<std::size_t> Interleaved(std::size_t directories, int repeat) {
  std::vector<std::size_t> order;
  for (int round = 0; round < repeat; ++round) {
    for (std::size_t d = 0; d < directories; ++d) {
      order.push_back(d);
    }
  }
  return order;
}

double Mean(const std::vector<double>& values) {
  double sum = 0;
  for (const double value : values) {
    sum += value;
  }
  return values.empty() ? -1 : sum / static_cast<double>(values.size());
}

double SecondsStillToCome(const std::vector<std::size_t>& order, std::size_t k,
                          const std::vector<Directory>& directories) {
  double later = 0;
  for (std::size_t j = k + 1; j < order.size() && later >= 0; ++j) {
    const double typical = Mean(directories[order[j]].durations);
    later = typical < 0 ? -1 : later + typical;
  }
  return later;
}

int ExpectedWorkers(int threads, const char* ompNumThreads, unsigned processors) {
  long workers = threads;
  if (workers <= 0 && ompNumThreads != nullptr) {
    char* end = nullptr;
    workers = std::strtol(ompNumThreads, &end, 10);
    if (end == ompNumThreads) {
      workers = 0;
    }
  }
  if (workers <= 0) {
    workers = processors > 0 ? static_cast<long>(processors) : 1;
  }
  return static_cast<int>(std::min<long>(workers, ThreadCap));
}

unsigned long long FootprintBytes(int workers) {
  return ScratchFileCount(workers) * static_cast<unsigned long long>(FirstPassBytes) +
         ResultsFilesBytes;
}
