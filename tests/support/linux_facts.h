// What the tests assume of Linux beyond POSIX, in one place: a device on which every write fails,
// and small tmpfs mounts (as root) for full, tiny and read-only file systems.
#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

// Every write to it fails with "No space left on device".
inline constexpr const char* FullDevice = "/dev/full";

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

// Makes the tmpfs at `directory` (mounted with `size`) read-only.
inline bool RemountReadOnly(const std::string& directory, const char* size) {
  return mount("tmpfs", directory.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, size) == 0;
}

inline void Unmount(const std::string& directory) {
  umount(directory.c_str());
}
