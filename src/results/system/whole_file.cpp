#include "results/system/whole_file.h"

#include <fstream>
#include <random>

namespace fs = std::filesystem;

bool WriteWholeFile(const fs::path& target, const std::string& bytes, std::error_code& error) {
  // A name of its own, so that two programs writing one target never share a temporary file.
  std::random_device seed;
  const fs::path temporary =
      target.parent_path() / ("." + target.filename().u8string() + "." +
                              std::to_string(seed() % 1000000000U) + ".partial");
  error.clear();
  {
    std::ofstream out(temporary, std::ios::out | std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (out) {
      fs::rename(temporary, target, error);
    } else {
      error = std::make_error_code(std::errc::io_error);
    }
  }
  if (error) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}
