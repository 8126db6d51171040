// What differs between the platforms in what the tests expect, in one place. The program itself
// behaves the same; the operating systems answer differently.
#pragma once

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "support/binary_run.h"

#ifndef _WIN32
#include <sys/stat.h>

#include "support/linux_facts.h"
#endif

#ifdef _WIN32
inline constexpr const char* FullDevice = "";
// No FIFOs in the file system.
inline bool MakeFifo(const std::string&) {
  return false;
}
// Text mode: every line of the console and of the results file ends with CR LF.
inline constexpr const char* TextLineEnd = "\r\n";
// The Microsoft run-time refuses to open a directory at all, for reading or writing.
inline constexpr const char* DirectoryOpenError = "Permission denied";
inline constexpr bool ReadingADirectoryOpens = false;
// A directory in use cannot be removed; the tests take the scratch names with directories instead.
inline constexpr bool WorkingDirectoryCanBeRemoved = false;
inline constexpr bool HasFullDevice = false;
// Names that differ only in case name the same file.
inline constexpr bool NamesAreCaseSensitive = false;
// cmd and PowerShell leave wildcards to the program: it is started with them as they stand.
inline RunOptions CompanionWithWildcards(const std::string& directory,
                                         std::vector<std::string> arguments) {
  return Companion(directory, std::move(arguments));
}
// A path as the system gives it back (a working directory, say): backslashes.
inline void SetTimeZone(const char* zone) {
  _putenv_s("TZ", zone);
  _tzset();
}
inline std::string NativeSeparators(std::string path) {
  for (char& c : path) {
    c = c == '/' ? '\\' : c;
  }
  return path;
}
#else
inline bool MakeFifo(const std::string& path) {
  return mkfifo(path.c_str(), 0644) == 0;
}
inline constexpr const char* TextLineEnd = "\n";
// POSIX opens a directory for reading; only the reads fail.
inline constexpr const char* DirectoryOpenError = "Is a directory";
inline constexpr bool ReadingADirectoryOpens = true;
inline constexpr bool WorkingDirectoryCanBeRemoved = true;
// A device on which every write fails (support/linux_facts.h).
inline constexpr bool HasFullDevice = true;
inline constexpr bool NamesAreCaseSensitive = true;
// A POSIX shell expands wildcards before the program starts.
inline RunOptions CompanionWithWildcards(const std::string& directory,
                                         std::vector<std::string> arguments) {
  std::string line = "exec \"$0\"";
  for (const std::string& argument : arguments) {
    line += " " + argument;
  }
  RunOptions options = Companion(directory, {"-c", line, DRIVES_TESK_RESULTS});
  options.program = "/bin/sh";
  return options;
}
inline void SetTimeZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}
inline std::string NativeSeparators(std::string path) {
  return path;
}
#endif
