#include "support/binary_run.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "contract/file_names.h"

#include "support/line_patterns.h"

void RunningBinary::PrepareFiles(const RunOptions& options) {
  const std::string base = options.directory + ".";
  outPath_ = base + "stdout";
  errPath_ = base + "stderr";
  inPath_ = base + "stdin";
  std::ofstream(inPath_, std::ios::binary) << options.input;
}

void RunningBinary::ReadOutputs(BinaryRun& run) const {
  run.console = ReadWholeFile(outPath_);
  run.errors = ReadWholeFile(errPath_);
}

RunningBinary::~RunningBinary() {
  if (child_ != -1) {
    Stop();
  }
  std::error_code ignored;
  for (const auto* path : {&outPath_, &errPath_, &inPath_}) {
    std::filesystem::remove(*path, ignored);
  }
}

std::string RunningBinary::ConsoleSoFar() const {
  return ReadWholeFile(outPath_);
}

bool RunningBinary::WaitForConsole(const std::string& text, double seconds) const {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    if (ConsoleSoFar().find(text) != std::string::npos) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

BinaryRun RunDrivesTeskBinary(const RunOptions& options) {
  return RunningBinary(options).Wait();
}

RunOptions Companion(const std::string& directory, std::vector<std::string> arguments,
                     std::vector<std::string> variables) {
  RunOptions options{directory, std::move(variables), ""};
  options.program = DRIVES_TESK_RESULTS;
  options.arguments = std::move(arguments);
  return options;
}

std::vector<std::string> ResultsFilesIn(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    if (HasResultsPrefix(name)) {
      names.push_back(name);
    }
  }
  return names;
}
