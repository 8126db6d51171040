#include "results/system/child_process.h"

std::unique_ptr<RunningChild> StartChildProcess(const std::string& program,
                                                const std::string& directory, std::string& error) {
  return ChildProcess::Start(program, directory, error);
}
