#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <filesystem>

#include "results/system/command_line.h"
#include "results/system/windows_text.h"

std::vector<std::string> Utf8Arguments(int, char**) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 1; wide != nullptr && i < count; ++i) {
    arguments.push_back(Utf8FromWide(wide[i]));
  }
  LocalFree(wide);
  return arguments;
}

std::vector<std::string> ExpandWildcards(const std::vector<std::string>& arguments) {
  namespace fs = std::filesystem;
  std::vector<std::string> expanded;
  for (const std::string& argument : arguments) {
    if (argument.find_first_of("*?") == std::string::npos) {
      expanded.push_back(argument);
      continue;
    }
    const fs::path pattern = fs::u8path(argument);
    std::vector<std::string> matches;
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") {
          matches.push_back((pattern.parent_path() / name).u8string());
        }
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
    std::sort(matches.begin(), matches.end());
    if (matches.empty()) {
      expanded.push_back(argument);
    }
    expanded.insert(expanded.end(), matches.begin(), matches.end());
  }
  return expanded;
}
