#include "results/results_reader.h"

#include <charconv>
#include <fstream>
#include <utility>

#include "report/report_texts.h"

namespace {

// Ends the reading of a file: either at the end of its input (the file was cut short) or at a
// line that is not what the report has there. Never leaves ReadResults.
struct EndOfInput {};
struct Mismatch {
  int line;
  std::string message;
};

std::string Quoted(const std::string& text) {
  constexpr std::size_t Shown = 80;
  return "\"" + (text.size() > Shown ? text.substr(0, Shown) + "..." : text) + "\"";
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
    record_.threads = static_cast<int>(Number(ThreadCountText, ""));
    if (record_.threads < 1) {
      Fail("a thread count of at least 1");
    }
    Exact("");
    if (const std::string* line = lines_.Peek(); line != nullptr && *line == CapLine) {
      record_.capped = true;
      lines_.Take();
    }
    Exact(SingleThreadLine);
    Exact("");
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
};

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FormatError(const ReadError& error) {
  return error.path + ":" + std::to_string(error.line) + ": " + error.message;
}

bool DateFromResultsName(const std::string& name, std::string& date, std::string& time) {
  // results_drives_tesk_windows @ local date YYYY.MM.DD time HH.MM.SS.txt
  const std::string prefix = std::string(ResultsNamePrefix) + "local date ";
  const std::string shape = "####.##.## time ##.##.##.txt";
  if (!StartsWith(name, prefix) || name.size() != prefix.size() + shape.size()) {
    return false;
  }
  const std::string rest = name.substr(prefix.size());
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const bool digit = rest[i] >= '0' && rest[i] <= '9';
    if (shape[i] == '#' ? !digit : rest[i] != shape[i]) {
      return false;
    }
  }
  date = rest.substr(0, 4) + "-" + rest.substr(5, 2) + "-" + rest.substr(8, 2);
  time = rest.substr(16, 2) + ":" + rest.substr(19, 2) + ":" + rest.substr(22, 2);
  return true;
}

ReadOutcome ReadResults(std::istream& in, const std::string& path) {
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

ReadOutcome ReadResultsFile(const std::string& path) {
  std::ifstream in(path, std::ios::in | std::ios::binary);
  if (!in.is_open()) {
    return {std::nullopt, ReadError{path, 0, "cannot be opened"}};
  }
  return ReadResults(in, path);
}
