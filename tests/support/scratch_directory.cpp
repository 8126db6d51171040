#include "support/scratch_directory.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

std::string MakeTemporaryDirectory() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr ? base : "/tmp") + "/drives-tesk-test-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (mkdtemp(buffer.data()) == nullptr) {
    ADD_FAILURE() << "mkdtemp failed for " << pattern;
    return {};
  }
  return buffer.data();
}

ScratchDirectory::ScratchDirectory() : path_(MakeTemporaryDirectory()) {
  previous_ = std::filesystem::current_path().string();
  std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

RemovedDirectory::RemovedDirectory() {
  const std::string doomed = scratch_.path() + "/removed";
  std::filesystem::create_directory(doomed);
  std::filesystem::current_path(doomed);
  std::filesystem::remove(doomed);
}
