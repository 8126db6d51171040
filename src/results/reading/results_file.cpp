#include "results/reading/results_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "contract/file_names.h"
#include "results/reading/line_source.h"
#include "results/reading/report_parser.h"
#include "results/record/text_safety.h"

namespace {

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FormatError(const ReadError& error) {
  const std::string line = error.line > 0 ? ":" + std::to_string(error.line) : "";
  return EscapeControls(error.path) + line + ": " + EscapeControls(error.message);
}

namespace {

ReadOutcome ParseResults(std::istream& in, const std::string& path) {
  RunRecord record;
  record.path = path;
  DateFromResultsName(BaseName(path), record.date, record.time);
  LineSource lines(in);
  const ParsedReport parsed = ParseReport(lines, record);
  if (parsed.state == ReportState::Mismatch) {
    return {std::nullopt, ReadError{path, parsed.line, parsed.message}};
  }
  return {std::move(record), std::nullopt};
}

// Windows PowerShell 5.1 saves redirected console output as UTF-16 with a byte-order mark; such
// a transcript is a few hundred kilobytes at the most.
constexpr std::size_t MaxUtf16Bytes = std::size_t{16} << 20;

// UTF-16 little-endian bytes as code units; an odd last byte is dropped.
std::u16string Utf16Units(const std::string& bytes) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return units;
}

}  // namespace

ReadOutcome ReadResults(std::istream& in, const std::string& path) {
  std::streambuf* buffer = in.rdbuf();
  const auto next = [buffer] { return buffer->sgetc(); };
  if (next() == 0xEF) {
    buffer->sbumpc();
    if (buffer->sbumpc() != 0xBB || buffer->sbumpc() != 0xBF) {
      return {std::nullopt, ReadError{path, 1, "binary data, not a results file"}};
    }
    return ParseResults(in, path);
  }
  if (next() == 0xFF || next() == 0xFE) {
    const int first = buffer->sbumpc();
    const int second = buffer->sbumpc();
    if (first != 0xFF || second != 0xFE) {
      return {std::nullopt, ReadError{path, 1,
                                      "binary data or UTF-16 big-endian, not a results "
                                      "file"}};
    }
    std::string bytes;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
      bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
      if (bytes.size() > MaxUtf16Bytes) {
        return {std::nullopt, ReadError{path, 0, "a UTF-16 file too large for a results file"}};
      }
    }
    std::istringstream decoded(Utf8FromUtf16(Utf16Units(bytes)));
    return ParseResults(decoded, path);
  }
  return ParseResults(in, path);
}

ReadOutcome ReadResultsFile(const std::string& path) {
  namespace fs = std::filesystem;
  // Looked at before it is opened: a FIFO would block the open, a directory fails in ways that
  // depend on the platform.
  std::error_code error;
  const fs::file_status status = fs::status(fs::u8path(path), error);
  if (error) {
    return {std::nullopt, ReadError{path, 0, error.message()}};
  }
  if (fs::is_directory(status)) {
    return {std::nullopt, ReadError{path, 0, "is a directory"}};
  }
  if (!fs::is_regular_file(status)) {
    return {std::nullopt, ReadError{path, 0, "is not a regular file"}};
  }
  errno = 0;
  std::ifstream in(fs::u8path(path), std::ios::in | std::ios::binary);
  if (!in.is_open()) {
    const int reason = errno;
    return {std::nullopt,
            ReadError{path, 0, reason != 0 ? std::strerror(reason) : "cannot be opened"}};
  }
  return ReadResults(in, path);
}
