// A small tmpfs for the runs that need a full or a tiny file system (POSIX, as root).
#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

// Mounts a tmpfs of `size` ("size=3m") at `directory`; false with the reason where that is not
// allowed, the directory then removed.
inline bool MountSmallTmpfs(const std::string& directory, const char* size, std::string& reason) {
  if (mount("tmpfs", directory.c_str(), "tmpfs", 0, size) == 0) {
    return true;
  }
  reason = std::strerror(errno);
  std::filesystem::remove_all(directory);
  return false;
}
