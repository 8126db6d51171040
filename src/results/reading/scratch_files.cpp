#include "results/reading/scratch_files.h"

#include <algorithm>
#include <filesystem>

#include "contract/constants.h"
#include "contract/file_names.h"

namespace fs = std::filesystem;

bool IsScratchName(const std::string& name) {
  static const std::vector<std::string> names = ScratchNames();
  return std::binary_search(names.begin(), names.end(), name);
}

std::vector<ScratchFile> FindScratchFiles(const std::string& directory, std::string& error) {
  std::vector<ScratchFile> files;
  std::error_code failure;
  fs::directory_iterator entries(fs::u8path(directory), failure);
  for (; !failure && entries != fs::directory_iterator(); entries.increment(failure)) {
    const fs::directory_entry& entry = *entries;
    const std::string name = entry.path().filename().u8string();
    std::error_code ignored;
    // The entry itself, never what a link points to.
    if (!IsScratchName(name) || !entry.is_regular_file(ignored) || entry.is_symlink(ignored)) {
      continue;
    }
    const std::uintmax_t size = entry.file_size(ignored);
    files.push_back({name, ignored ? 0 : size});
  }
  if (failure) {
    error = directory + ": " + failure.message();
  }
  std::sort(files.begin(), files.end(),
            [](const ScratchFile& a, const ScratchFile& b) { return a.name < b.name; });
  return files;
}

std::vector<std::string> RemoveScratchFiles(const std::string& directory,
                                            const std::vector<ScratchFile>& files) {
  std::vector<std::string> failures;
  for (const ScratchFile& file : files) {
    const fs::path path = fs::u8path(directory) / fs::u8path(file.name);
    std::error_code failure;
    // Looked at again just before the removal: only a regular file is removed.
    if (fs::symlink_status(path, failure).type() != fs::file_type::regular) {
      failures.push_back(path.u8string() + ": no longer a regular file, left alone");
      continue;
    }
    if (!fs::remove(path, failure) || failure) {
      failures.push_back(path.u8string() + ": " +
                         (failure ? failure.message() : std::string("already gone")));
    }
  }
  return failures;
}
