// `clean`: the scratch files the benchmark leaves in a directory, and their removal. Only the
// benchmark's exact scratch names count (the single-thread files, and the per-worker files of
// worker numbers 0 to ThreadCap - 1), and only when they are regular files: results files,
// look-alike names, directories and symbolic links are never touched, nor anything outside.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ScratchFile {
  std::string name;
  std::uintmax_t size = 0;
};

// True when `name` is one of the benchmark's scratch names.
bool IsScratchName(const std::string& name);

// The scratch files in `directory`, sorted by name. On failure `error` says why.
std::vector<ScratchFile> FindScratchFiles(const std::string& directory, std::string& error);

// Removes the listed files from `directory`; returns one message per file that stayed.
std::vector<std::string> RemoveScratchFiles(const std::string& directory,
                                            const std::vector<ScratchFile>& files);
