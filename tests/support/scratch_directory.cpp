#include "support/scratch_directory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "support/platform_facts.h"

namespace fs = std::filesystem;

std::string MakeTemporaryDirectory() {
  std::error_code error;
  const fs::path base = fs::temp_directory_path(error);
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = base / ("drives-tesk-test-" + std::to_string(random() % 1000000000000ULL));
    if (fs::create_directory(candidate, error)) {
      return candidate.make_preferred().string();
    }
  }
  ADD_FAILURE() << "no temporary directory could be made in " << base << ": " << error.message();
  return {};
}

ScratchDirectory::ScratchDirectory() : path_(MakeTemporaryDirectory()) {
  previous_ = fs::current_path().string();
  fs::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
  fs::remove_all(path_, ignored);
}

UnwritableDirectory::UnwritableDirectory() {
  if (WorkingDirectoryCanBeRemoved) {
    const std::string doomed = scratch_.path() + "/removed";
    fs::create_directory(doomed);
    fs::current_path(doomed);
    fs::remove(doomed);
    return;
  }
  for (const char* name : {ScratchFileName, BlockCopyFileName}) {
    fs::create_directory(name);
    std::ofstream(std::string(name) + "/keeps-the-directory-in-place");
  }
}

const char* UnwritableDirectory::OpenError() {
  return WorkingDirectoryCanBeRemoved ? "No such file or directory" : DirectoryOpenError;
}
