#include "results/reading/results_listing.h"

#include <algorithm>

#include "contract/file_names.h"

namespace fs = std::filesystem;

std::vector<std::string> ResultsNamesIn(const fs::path& directory, std::error_code& error) {
  std::vector<std::string> names;
  error.clear();
  fs::directory_iterator entries(directory, error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    const std::string name = entries->path().filename().u8string();
    if (IsResultsName(name)) {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}
