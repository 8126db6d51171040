#include "results/reading/results_file.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "contract/constants.h"
#include "contract/report_texts.h"
#include "results/record/text_safety.h"

namespace {

// Ends the reading of a file: either at the end of its input (the file was cut short) or at a
// line that is not what the report has there. Never leaves ReadResults.
struct EndOfInput {};
struct Mismatch {
  int line;
  std::string message;
};

// A line of the file as a message shows it: at most 80 characters, control characters escaped.
std::string Quoted(const std::string& text) {
  constexpr std::size_t Shown = 80;
  const std::string shown = FirstCharacters(text, Shown);
  return "\"" + EscapeControls(shown) + (shown.size() < text.size() ? "..." : "") + "\"";
}

// Lines one at a time, each bounded in length, with one line of lookahead. Line ends may be LF or
// CR LF. In a console transcript the "Unable to open file" lines are dropped wherever they stand:
// a worker prints its own without the report lock, so it can fall between any two lines.
class LineSource {
 public:
  explicit LineSource(std::istream& in) : in_(in) {}

  void DropUnableToOpen() { dropUnableToOpen_ = true; }

  // The next line without taking it; nullptr at the end of the input.
  const std::string* Peek() {
    while (!peeked_) {
      if (!ReadLine(pending_)) {
        return nullptr;
      }
      peeked_ = !(dropUnableToOpen_ && pending_ == UnableToOpenLine);
    }
    return &pending_;
  }

  std::string Take() {
    if (Peek() == nullptr) {
      throw EndOfInput{};
    }
    peeked_ = false;
    std::string line;
    line.swap(pending_);
    return line;
  }

  // The number of the line last taken or peeked.
  int number() const { return number_; }

  // True when the line last read had no line end: the file stops inside it.
  bool lastLineCut() const { return cut_; }

 private:
  bool ReadLine(std::string& line) {
    line.clear();
    std::streambuf* buffer = in_.rdbuf();
    if (buffer == nullptr || buffer->sgetc() == std::char_traits<char>::eof()) {
      return false;
    }
    ++number_;
    for (;;) {
      const int next = buffer->sbumpc();
      if (next == '\n') {
        break;
      }
      if (next == std::char_traits<char>::eof()) {
        cut_ = true;
        break;
      }
      if (next == '\0') {
        throw Mismatch{number_, "binary data, not a results file"};
      }
      if (line.size() == MaxLineLength) {
        throw Mismatch{number_, "a line longer than " + std::to_string(MaxLineLength) +
                                    " characters, not a results file"};
      }
      line.push_back(static_cast<char>(next));
    }
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    return true;
  }

  std::istream& in_;
  std::string pending_;
  bool peeked_ = false;
  bool dropUnableToOpen_ = false;
  bool cut_ = false;
  int number_ = 0;
};

// A number as the benchmark prints it (%g-like, inf, nan), filling all of `text`.
bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) {
    return false;
  }
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The number in `line` when it is exactly before + number + after.
bool NumberBetween(const std::string& line, const std::string& before, const std::string& after,
                   double& value) {
  return line.size() > before.size() + after.size() && StartsWith(line, before) &&
         EndsWith(line, after) &&
         ParseNumber(line.substr(before.size(), line.size() - before.size() - after.size()), value);
}

// Splits "Thread:N rest" into N and rest.
bool SplitThreadTag(const std::string& line, int& thread, std::string& rest) {
  if (!StartsWith(line, ThreadTagText)) {
    return false;
  }
  const std::size_t digits = std::char_traits<char>::length(ThreadTagText);
  const std::size_t blank = line.find(' ', digits);
  if (blank == std::string::npos || blank == digits) {
    return false;
  }
  const auto [stop, error] = std::from_chars(line.data() + digits, line.data() + blank, thread);
  if (error != std::errc() || stop != line.data() + blank) {
    return false;
  }
  rest = line.substr(blank + 1);
  return true;
}

class ReportParser {
 public:
  ReportParser(std::istream& in, RunRecord& record) : lines_(in), record_(record) {}

  void Parse() {
    Banner();
    SinglePhase();
    CyclePhase(Measure::StreamCycles, LowerHeader, ParallelLowerLogHeader);
    CyclePhase(Measure::DescriptorCycles, HigherHeader, ParallelHigherLogHeader);
    SpeedPhase(LowSpeedHeader, Measure::ByteWrite, Measure::ByteRead, 2);
    SpeedPhase(HighSpeedHeader, Measure::BlockWrite, Measure::BlockRead, 1);
    if (console_) {
      ClosingLines();
    }
    if (lines_.Peek() != nullptr) {
      Fail("the end of the report");
    }
    record_.complete = true;
  }

 private:
  [[noreturn]] void Fail(const std::string& expected) {
    const std::string* found = lines_.Peek();
    // A last line without its line end is where a stopped run or a full disk cut the file (once
    // the title has shown it to be a report).
    if (found != nullptr && lines_.lastLineCut() && titled_) {
      throw EndOfInput{};
    }
    throw Mismatch{lines_.number(),
                   "expected " + expected + ", found " + (found ? Quoted(*found) : "the end")};
  }

  void Exact(const std::string& text) {
    const std::string* line = lines_.Peek();
    if (line == nullptr) {
      throw EndOfInput{};
    }
    if (*line != text) {
      Fail(text.empty() ? std::string("an empty line") : Quoted(text));
    }
    lines_.Take();
  }

  double Number(const std::string& before, const std::string& after) {
    const std::string* line = lines_.Peek();
    if (line == nullptr) {
      throw EndOfInput{};
    }
    double value = 0;
    if (!NumberBetween(*line, before, after, value)) {
      Fail(Quoted(before) + ", a number and " + Quoted(after));
    }
    lines_.Take();
    return value;
  }

  // A line "Thread:N " + before + number + after; checks N against the worker's block.
  double TaggedNumber(int& thread, const std::string& before, const std::string& after) {
    const std::string* line = lines_.Peek();
    if (line == nullptr) {
      throw EndOfInput{};
    }
    int tagged = -1;
    std::string rest;
    double value = 0;
    if (!SplitThreadTag(*line, tagged, rest) || !NumberBetween(rest, before, after, value) ||
        (thread >= 0 && tagged != thread)) {
      Fail(Quoted(std::string(ThreadTagText) + (thread >= 0 ? std::to_string(thread) : "N") + " " +
                  before) +
           ", a number and " + Quoted(after));
    }
    if (thread < 0) {
      // A worker's first line: each phase has the workers 0 to threads-1, each once.
      if (tagged < 0 || tagged >= record_.threads) {
        Fail("a thread number from 0 to " + std::to_string(record_.threads - 1));
      }
      if (seen_[static_cast<std::size_t>(tagged)]) {
        Fail("each thread once in a phase, not thread " + std::to_string(tagged) + " again");
      }
      seen_[static_cast<std::size_t>(tagged)] = true;
    }
    thread = tagged;
    lines_.Take();
    return value;
  }

  // The console's warnings after a measurement's lines flag that measurement.
  void Warnings(Figures& figures) {
    if (!console_) {
      return;
    }
    for (const std::string* line = lines_.Peek(); line != nullptr; line = lines_.Peek()) {
      int thread = 0;
      std::string rest;
      const std::string& text = SplitThreadTag(*line, thread, rest) ? rest : *line;
      if (!StartsWith(text, WarningText)) {
        return;
      }
      figures.warned = true;
      lines_.Take();
    }
  }

  void Banner() {
    const std::string* first = lines_.Peek();
    if (first == nullptr) {
      throw Mismatch{0, "an empty file, not a results file"};
    }
    console_ = first->empty();
    record_.transcript = console_;
    if (console_) {
      lines_.DropUnableToOpen();
      lines_.Take();
    }
    Exact(TitleLine);
    titled_ = true;
    if (console_) {
      lines_.Take();  // the notice line
      lines_.Take();  // the support line
      Exact("");
      Exact("");
    }
    Exact("");
    record_.threads = ThreadCount();
    Exact("");
    if (const std::string* line = lines_.Peek(); line != nullptr && *line == CapLine) {
      record_.capped = true;
      lines_.Take();
    }
    Exact(SingleThreadLine);
    Exact("");
  }

  // "Thread(s): N" with N a whole number from 1 to the benchmark's cap, which bounds what a file
  // can make the reader hold.
  int ThreadCount() {
    const std::string* line = lines_.Peek();
    if (line == nullptr) {
      throw EndOfInput{};
    }
    const std::size_t start = std::char_traits<char>::length(ThreadCountText);
    int threads = 0;
    if (!StartsWith(*line, ThreadCountText) || line->size() == start) {
      Fail(Quoted(ThreadCountText) + " and a number");
    }
    const char* end = line->data() + line->size();
    const auto [stop, error] = std::from_chars(line->data() + start, end, threads);
    if (error != std::errc() || stop != end || threads < 1 || threads > ThreadCap) {
      Fail("a whole number of threads from 1 to " + std::to_string(ThreadCap) + " in " +
           Quoted(ThreadCountText));
    }
    lines_.Take();
    return threads;
  }

  void CycleFigures(Figures& figures, const char* processText) {
    figures.seconds = Number(SpentText, SecondsText);
    figures.filesPerSecond = Number(processText, FilesText);
    figures.present = true;
    Warnings(figures);
  }

  void SpeedFigures(Figures& figures, const char* secondsText) {
    figures.seconds = Number(SpentText, secondsText);
    figures.millionsPerSecond = Number(AccessRateText, AccessesText);
    figures.megabytesPerSecond = Number(DataRateText, MegabytesText);
    figures.present = true;
    Warnings(figures);
  }

  void SinglePhase() {
    const char* processText = console_ ? ProcessText : LogProcessText;
    auto& single = record_.single;
    Exact(LowerHeader);
    Exact("");
    CycleFigures(single[Index(Measure::StreamCycles)], processText);
    Exact("");
    Exact(console_ ? HigherConsoleHeader : HigherHeader);
    Exact("");
    CycleFigures(single[Index(Measure::DescriptorCycles)], processText);
    Exact("");
    Exact(LowSpeedHeader);
    Exact("");
    SpeedFigures(single[Index(Measure::ByteWrite)], WriteSecondsText);
    SpeedFigures(single[Index(Measure::ByteRead)], ReadSecondsText);
    Exact("");
    Exact(HighSpeedHeader);
    Exact("");
    SpeedFigures(single[Index(Measure::BlockRead)], ReadSecondsText);
    SpeedFigures(single[Index(Measure::BlockWrite)], WriteSecondsText);
    Exact("");
    Exact("");
  }

  void PhaseHeader(const char* consoleHeader, const char* logHeader) {
    seen_.assign(static_cast<std::size_t>(record_.threads), false);
    Exact(MultiThreadLine);
    Exact(console_ ? consoleHeader : logHeader);
    Exact("");
  }

  Figures& WorkerFigures(int thread, Measure measure) {
    return record_.workers[thread][Index(measure)];
  }

  double Improvement() { return Number(ImprovementText, TimesText); }

  void CyclePhase(Measure measure, const char* consoleHeader, const char* logHeader) {
    PhaseHeader(consoleHeader, logHeader);
    for (int block = 0; block < record_.threads; ++block) {
      int thread = -1;
      const double seconds = TaggedNumber(thread, SpentText, SecondsText);
      Figures& figures = WorkerFigures(thread, measure);
      figures.seconds = seconds;
      figures.filesPerSecond = TaggedNumber(thread, ProcessText, FilesText);
      figures.present = true;
      Warnings(figures);
    }
    Exact("");
    Exact("");
    OverallFigures& overall = record_.overall[Index(measure)];
    overall.filesPerSecond = Number(OverallFilesText, FilesText);
    overall.improvement = Improvement();
    overall.present = true;
    Exact("");
  }

  void WorkerSpeedHalf(int& thread, Measure measure, const char* secondsText) {
    const double seconds = TaggedNumber(thread, SpentText, secondsText);
    Figures& figures = WorkerFigures(thread, measure);
    figures.seconds = seconds;
    figures.millionsPerSecond =
        TaggedNumber(thread, AccessRateText, console_ ? WorkerConsoleAccessesText : AccessesText);
    figures.megabytesPerSecond = Number(DataRateText, MegabytesText);
    figures.present = true;
    Warnings(figures);
  }

  void OverallHalf(Measure measure, const char* accessesText, const char* speedText) {
    OverallFigures& overall = record_.overall[Index(measure)];
    overall.millionsPerSecond = Number(OverallAccessText, accessesText);
    overall.megabytesPerSecond = Number(speedText, MegabytesText);
    overall.improvement = Improvement();
    overall.present = true;
  }

  // Both throughput phases report each worker's write half first, then its read half.
  void SpeedPhase(const char* header, Measure write, Measure read, int leadingEmptyLines) {
    PhaseHeader(header, header);
    for (int block = 0; block < record_.threads; ++block) {
      int thread = -1;
      WorkerSpeedHalf(thread, write, WriteSecondsText);
      WorkerSpeedHalf(thread, read, WorkerReadSecondsText);
    }
    for (int line = 0; line < leadingEmptyLines; ++line) {
      Exact("");
    }
    OverallHalf(write, OverallWriteAccessesText, OverallWritingText);
    OverallHalf(read, OverallReadAccessesText, OverallReadingText);
    Exact("");
  }

  void ClosingLines() {
    const std::string path = lines_.Take();
    std::string name;
    if (StartsWith(path, SavedText) || StartsWith(path, NotSavedText)) {
      name = path.substr(path.rfind('\\') + 1);
    } else {
      throw Mismatch{lines_.number(), "expected the closing line " + Quoted(SavedText) +
                                          " and the results file's path, found " + Quoted(path)};
    }
    DateFromResultsName(name, record_.date, record_.time);
    Exact("");
    Exact("");
    Exact(EnterLine);
  }

  LineSource lines_;
  RunRecord& record_;
  bool console_ = false;
  bool titled_ = false;
  std::vector<bool> seen_;  // the threads of the current phase read so far
};

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FormatError(const ReadError& error) {
  const std::string line = error.line > 0 ? ":" + std::to_string(error.line) : "";
  return EscapeControls(error.path) + line + ": " + EscapeControls(error.message);
}

bool DateFromResultsName(const std::string& name, std::string& date, std::string& time) {
  if (!StartsWith(name, ResultsNamePrefix)) {
    return false;
  }
  // Walks the benchmark's own date format: each field is its digits, the rest stands as written.
  std::map<char, std::string> fields;
  std::size_t at = std::char_traits<char>::length(ResultsNamePrefix);
  for (const char* format = DateFormat; *format != '\0'; ++format) {
    if (*format == '%' && format[1] != '\0') {
      const char field = *++format;
      const std::size_t width = field == 'Y' ? 4 : 2;
      if (at + width > name.size()) {
        return false;
      }
      for (std::size_t i = at; i < at + width; ++i) {
        if (name[i] < '0' || name[i] > '9') {
          return false;
        }
      }
      fields[field] = name.substr(at, width);
      at += width;
    } else if (at < name.size() && name[at] == *format) {
      ++at;
    } else {
      return false;
    }
  }
  if (at != name.size()) {
    return false;
  }
  date = fields['Y'] + "-" + fields['m'] + "-" + fields['d'];
  time = fields['H'] + ":" + fields['M'] + ":" + fields['S'];
  return true;
}

namespace {

ReadOutcome ParseResults(std::istream& in, const std::string& path) {
  RunRecord record;
  record.path = path;
  DateFromResultsName(BaseName(path), record.date, record.time);
  ReportParser parser(in, record);
  try {
    parser.Parse();
  } catch (const EndOfInput&) {
    record.complete = false;
  } catch (const Mismatch& mismatch) {
    return {std::nullopt, ReadError{path, mismatch.line, mismatch.message}};
  }
  return {std::move(record), std::nullopt};
}

// Windows PowerShell 5.1 saves redirected console output as UTF-16 with a byte-order mark; such
// a transcript is a few hundred kilobytes at the most.
constexpr std::size_t MaxUtf16Bytes = std::size_t{16} << 20;

// UTF-16 little-endian code units to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const std::string& bytes) {
  std::string text;
  auto unit = [&bytes](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
  };
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::uint32_t code = unit(i);
    if (code >= 0xD800 && code <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 &&
        unit(i + 2) <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      text += static_cast<char>(code);
    } else if (code < 0x800) {
      text += static_cast<char>(0xC0 | (code >> 6));
      text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      text += static_cast<char>(0xE0 | (code >> 12));
      text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      text += static_cast<char>(0xF0 | (code >> 18));
      text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return text;
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
    std::istringstream decoded(Utf16ToUtf8(bytes));
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
