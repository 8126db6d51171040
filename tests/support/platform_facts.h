// What differs between the platforms in what the tests expect, in one place. The program itself
// behaves the same; the operating systems answer differently.
#pragma once

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#endif

#ifdef _WIN32
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
// std::system hands the line to cmd /c, which drops the first and the last double quote when
// there are more than two: one more pair around the whole line keeps the inner quotes.
inline std::string ShellLine(const std::string& line) {
  return "\"" + line + "\"";
}
// Runs a command line given in UTF-8 through the wide interface, so names outside the ANSI code
// page arrive whole.
inline int RunShell(const std::string& line) {
  return _wsystem(std::filesystem::u8path(ShellLine(line)).wstring().c_str());
}
// The exit status of a program run by RunShell.
inline int ExitCode(int status) {
  return status;
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
// /dev/full: every write fails with "No space left on device".
inline constexpr bool HasFullDevice = true;
inline constexpr bool NamesAreCaseSensitive = true;
inline std::string ShellLine(const std::string& line) {
  return line;
}
inline int RunShell(const std::string& line) {
  return std::system(line.c_str());
}
inline int ExitCode(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
inline void SetTimeZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}
inline std::string NativeSeparators(std::string path) {
  return path;
}
#endif
