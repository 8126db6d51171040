#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/binary_run.h"

namespace {

HANDLE InheritableFile(const std::string& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  // Shared for reading and writing, so the test can read the console while the run writes it.
  return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The environment block: the given variables, and SystemRoot, without which some of Windows' own
// libraries do not load.
std::string EnvironmentBlock(const std::vector<std::string>& variables) {
  std::string block;
  for (const auto& variable : variables) {
    block += variable;
    block += '\0';
  }
  if (const char* root = std::getenv("SystemRoot")) {
    block += std::string("SystemRoot=") + root;
    block += '\0';
  }
  block += '\0';
  return block;
}

}  // namespace

RunningBinary::RunningBinary(const RunOptions& options) {
  PrepareFiles(options);
  if (options.console != ConsoleKind::File || options.closedInput || options.removeDirectory) {
    ADD_FAILURE() << "a Windows run has its console in a file, its input open and its directory";
    return;
  }
  const HANDLE input = InheritableFile(inPath_, GENERIC_READ, OPEN_EXISTING);
  const HANDLE output = InheritableFile(outPath_, GENERIC_WRITE, CREATE_ALWAYS);
  const HANDLE errors = InheritableFile(errPath_, GENERIC_WRITE, CREATE_ALWAYS);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = output;
  startup.hStdError = errors;
  PROCESS_INFORMATION process{};
  std::string environment = EnvironmentBlock(options.variables);
  std::string commandLine = "\"" + options.program + "\"";
  for (const auto& argument : options.arguments) {
    commandLine += " \"" + argument + "\"";
  }
  if (CreateProcessA(options.program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                     environment.data(), options.directory.c_str(), &startup, &process)) {
    CloseHandle(process.hThread);
    child_ = reinterpret_cast<std::intptr_t>(process.hProcess);
  } else {
    ADD_FAILURE() << "CreateProcess failed with error " << GetLastError();
  }
  for (const HANDLE handle : {input, output, errors}) {
    if (handle != INVALID_HANDLE_VALUE) {
      CloseHandle(handle);
    }
  }
}

BinaryRun RunningBinary::Wait() {
  BinaryRun run;
  if (child_ != -1) {
    const auto process = reinterpret_cast<HANDLE>(child_);
    DWORD status = 0;
    if (WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(process, &status)) {
      run.exitStatus = static_cast<int>(status);
    }
    CloseHandle(process);
  }
  child_ = -1;
  ReadOutputs(run);
  return run;
}

BinaryRun RunningBinary::Stop() {
  if (child_ != -1) {
    // 137, as a POSIX shell reports a killed process, so a stopped run never reads as status 0.
    TerminateProcess(reinterpret_cast<HANDLE>(child_), 137);
  }
  return Wait();
}

void RunningBinary::Signal(int) const {
  ADD_FAILURE() << "Windows runs take no signals";
}
