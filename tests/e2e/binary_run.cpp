#include "e2e/binary_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/line_patterns.h"

namespace {

int OpenOrDie(const std::string& path, int flags) {
  const int descriptor = open(path.c_str(), flags, 0600);
  if (descriptor == -1) {
    _exit(126);
  }
  return descriptor;
}

}  // namespace

BinaryRun RunDrivesTeskBinary(const RunOptions& options) {
  const std::string capture = options.directory + "/../";
  const std::string base = std::filesystem::path(options.directory).filename().string();
  const std::string outPath = capture + base + ".stdout";
  const std::string errPath = capture + base + ".stderr";
  const std::string inPath = capture + base + ".stdin";
  {
    const int descriptor = OpenOrDie(inPath, O_WRONLY | O_CREAT | O_TRUNC);
    if (!options.input.empty()) {
      [[maybe_unused]] const auto written =
          write(descriptor, options.input.data(), options.input.size());
    }
    close(descriptor);
  }

  std::vector<char*> environment;
  for (const auto& variable : options.variables) {
    environment.push_back(const_cast<char*>(variable.c_str()));
  }
  environment.push_back(nullptr);
  char* arguments[] = {const_cast<char*>(DRIVES_TESK_BINARY), nullptr};

  const pid_t child = fork();
  if (child == 0) {
    dup2(OpenOrDie(inPath, O_RDONLY), STDIN_FILENO);
    dup2(OpenOrDie(outPath, O_WRONLY | O_CREAT | O_TRUNC), STDOUT_FILENO);
    dup2(OpenOrDie(errPath, O_WRONLY | O_CREAT | O_TRUNC), STDERR_FILENO);
    if (chdir(options.directory.c_str()) != 0) {
      _exit(126);
    }
    execve(DRIVES_TESK_BINARY, arguments, environment.data());
    _exit(127);
  }
  BinaryRun run;
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    run.exitStatus = WEXITSTATUS(status);
  }
  run.console = ReadWholeFile(outPath);
  run.errors = ReadWholeFile(errPath);
  std::filesystem::remove(outPath);
  std::filesystem::remove(errPath);
  std::filesystem::remove(inPath);
  return run;
}

std::vector<std::string> ResultsFilesIn(const std::string& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("results_drives_tesk_windows @ ", 0) == 0) {
      names.push_back(name);
    }
  }
  return names;
}
