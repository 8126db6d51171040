#include <sys/stat.h>

#include "results/system/file_systems.h"

std::string FileSystemOf(const std::string& directory) {
  struct stat status {};
  if (stat(directory.c_str(), &status) != 0) {
    return {};
  }
  return std::to_string(static_cast<unsigned long long>(status.st_dev));
}
