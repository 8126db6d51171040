// Reading back what the benchmark wrote: lines, numbers inside lines, scratch file contents.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

std::vector<std::string> SplitLines(const std::string& text);
// Lines of what the program wrote in text mode (its console and results file): each ends with the
// platform's text line end, so a line end of the other platform stays in the line and mismatches.
std::vector<std::string> SplitTextLines(const std::string& text);
std::string ReadWholeFile(const std::string& path);
// Creates or truncates `path` and writes `contents` unchanged.
void WriteTextFile(const std::string& path, const std::string& contents);

// The number between `before` and `after` when the line is exactly before + number + after.
// The number is in the benchmark's format (%g-like, or inf).
std::optional<double> NumberBetween(const std::string& line, const std::string& before,
                                    const std::string& after);

// The size of a file, or -1 when it does not exist.
std::int64_t FileSize(const std::string& path);

// True when every byte of the file equals `value` (and the file could be read).
bool EveryByteIs(const std::string& path, char value);

// A double as the benchmark prints it, for comparing printed figures with computed ones.
std::string AsPrinted(double value);

// True when `printed` is what the benchmark prints for a value within `relative` of `expected`;
// printed figures carry six significant digits.
bool PrintedNear(double printed, double expected, double relative = 2e-5);

// Matches `line` against `pattern`, in which every "{n}" stands for one printed number; the
// numbers are appended to `numbers` when the line matches.
bool MatchLine(const std::string& line, const std::string& pattern,
               std::vector<double>* numbers = nullptr);

// Walks through a channel's lines in order, checking each against a pattern.
class LineCursor {
 public:
  explicit LineCursor(const std::vector<std::string>& lines) : lines_(lines) {}

  // Checks the next line against `pattern` and returns the numbers in it (empty on a mismatch,
  // which is also recorded as a test failure).
  std::vector<double> Expect(const std::string& pattern);
  // The next line without consuming it, or "<end>".
  std::string Peek() const;
  bool AtEnd() const { return next_ >= lines_.size(); }
  std::size_t position() const { return next_; }

 private:
  const std::vector<std::string>& lines_;
  std::size_t next_ = 0;
};

// True when `text` has the shape of `pattern`, in which every '#' stands for one decimal digit.
bool MatchesDigits(const std::string& text, const std::string& pattern);

// The results file's name with every date digit as '#', made from the program's own format.
std::string ResultsNameShape();

// True for a local date and time in ISO 8601 with its offset from UTC: 2026-12-08T21:04:05+01:00.
bool IsIsoTimeWithOffset(const std::string& text);
