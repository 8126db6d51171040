// What the end-to-end tests of drives-tesk-results run share: the command started like the
// benchmark is, and what it leaves in a directory.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "contract/file_names.h"
#include "results/reading/beside_files.h"
#include "results/reading/scratch_files.h"
#include "support/binary_run.h"
#include "support/line_patterns.h"
#include "support/platform_facts.h"

// The files `run` leaves in a directory, each kind sorted.
struct RunFiles {
  std::vector<std::string> results, transcripts, contexts;
};

inline RunFiles FilesIn(const std::string& directory) {
  RunFiles files;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::filesystem::u8path(directory))) {
    const std::string name = entry.path().filename().u8string();
    if (!HasResultsPrefix(name)) {
      continue;
    }
    const auto endsWith = [&name](const std::string& suffix) {
      return name.size() > suffix.size() &&
             name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    auto& kind = endsWith(TranscriptSuffix) ? files.transcripts
                 : endsWith(ContextSuffix)  ? files.contexts
                                            : files.results;
    kind.push_back(entry.path().u8string());
  }
  for (auto* kind : {&files.results, &files.transcripts, &files.contexts}) {
    std::sort(kind->begin(), kind->end());
  }
  return files;
}

// In the file's own order of keys.
inline nlohmann::ordered_json ReadJson(const std::string& path) {
  return nlohmann::ordered_json::parse(ReadWholeFile(path), nullptr, false);
}

inline std::vector<ScratchFile> FindScratchFilesIn(const std::string& directory) {
  std::string error;
  return FindScratchFiles(directory, error);
}

// The context keys as the README lists them: the first column of the table under its heading.
inline std::vector<std::string> DocumentedContextKeys() {
  std::vector<std::string> keys;
  bool inSection = false;
  for (const std::string& line : SplitLines(ReadWholeFile(DRIVES_TESK_README))) {
    if (line.rfind("#", 0) == 0) {
      inSection = line.find("Context keys") != std::string::npos;
    } else if (inSection && line.rfind("| `", 0) == 0) {
      keys.push_back(line.substr(3, line.find('`', 3) - 3));
    }
  }
  EXPECT_FALSE(keys.empty()) << "no context keys in " << DRIVES_TESK_README;
  return keys;
}
