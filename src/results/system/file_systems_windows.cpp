#include <windows.h>

#include <filesystem>

#include "results/system/file_systems.h"

namespace fs = std::filesystem;

std::string FileSystemOf(const std::string& directory) {
  wchar_t volume[MAX_PATH + 1] = {};
  if (!GetVolumePathNameW(fs::u8path(directory).wstring().c_str(), volume, MAX_PATH + 1)) {
    return {};
  }
  DWORD serial = 0;
  if (!GetVolumeInformationW(volume, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0)) {
    return fs::path(volume).u8string();
  }
  return std::to_string(serial);
}
