// The results files and transcripts of real runs kept in tests/data/results, by folder and the
// start of the file's name ("results_", "console").
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

inline std::string StoredRun(const std::string& folder, const std::string& prefix = "results_") {
  namespace fs = std::filesystem;
  for (const auto& entry : fs::directory_iterator(fs::path(DRIVES_TESK_TEST_DATA) / folder)) {
    if (entry.path().filename().string().rfind(prefix, 0) == 0) {
      return entry.path().string();
    }
  }
  ADD_FAILURE() << "no " << prefix << " in " << folder;
  return {};
}
