#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "results/system/environment.h"

namespace fs = std::filesystem;

void SetEnvironment(const std::string& name, const std::string& value) {
  SetEnvironmentVariableW(fs::u8path(name).wstring().c_str(), fs::u8path(value).wstring().c_str());
}

std::string ProgramDirectory() {
  std::wstring path(32768, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) {
    return {};
  }
  path.resize(length);
  return fs::path(path).parent_path().u8string();
}

std::string BenchmarkFileName() {
  return "drives-tesk.exe";
}

std::string FindOnPath(const std::string& name) {
  const wchar_t* variable = _wgetenv(L"PATH");
  std::wistringstream directories(variable != nullptr ? variable : L"");
  std::wstring directory;
  while (std::getline(directories, directory, L';')) {
    if (directory.empty()) {
      continue;
    }
    const fs::path candidate = fs::path(directory) / fs::u8path(name);
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) {
      return candidate.u8string();
    }
  }
  return {};
}
