#include "results/reading/report_parser.h"

#include <charconv>
#include <type_traits>
#include <vector>

#include "contract/constants.h"
#include "contract/file_names.h"
#include "contract/report_layout.h"
#include "contract/string_ends.h"
#include "results/record/text_safety.h"

namespace {

// A line of the file as a message shows it: at most 80 characters, control characters escaped.
std::string Quoted(const std::string& text) {
  constexpr std::size_t QuotedCharacters = 80;
  const std::string quoted = FirstCharacters(text, QuotedCharacters);
  return "\"" + EscapeControls(quoted) + (quoted.size() < text.size() ? "..." : "") + "\"";
}

// A number as the benchmark prints it (%g-like, inf, nan), filling all of `text`.
bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) {
    return false;
  }
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && stop == end;
}

// The number in `line` when it is exactly before + number + after.
bool NumberBetween(const std::string& line, const std::string& before, const std::string& after,
                   double& value) {
  return line.size() > before.size() + after.size() &&
         line.compare(0, before.size(), before) == 0 && EndsWith(line, after) &&
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

// A figure line's number into the field it fills; a worker's or the single thread's figures
// have the seconds, a summary the improvement.
template <typename FiguresType>
void Store(FiguresType& figures, Field field, double value) {
  if (field == Field::Files) {
    figures.filesPerSecond = value;
  } else if (field == Field::Millions) {
    figures.millionsPerSecond = value;
  } else if (field == Field::Megabytes) {
    figures.megabytesPerSecond = value;
  } else if constexpr (std::is_same_v<FiguresType, Figures>) {
    if (field == Field::Seconds) {
      figures.seconds = value;
    }
  } else if (field == Field::Improvement) {
    figures.improvement = value;
  }
}

// Walks the layout over the lines. Every step returns false once the report stops, cut short or
// at a mismatch, which `result_` then holds.
class Interpreter {
 public:
  Interpreter(LineSource& lines, RunRecord& record) : lines_(lines), record_(record) {}

  ParsedReport Run() {
    if (Report()) {
      record_.complete = true;
    }
    return result_;
  }

 private:
  bool Report() {
    const std::string* first = Next();
    if (first == nullptr) {
      return result_.state != ReportState::Mismatch &&
             Mismatch(0, "an empty file, not a results file");
    }
    channel_ = first->empty() ? Channel::Console : Channel::Log;
    record_.transcript = channel_ == Channel::Console;
    if (record_.transcript) {
      lines_.DropUnableToOpen();
    }
    Figures unused;
    if (!Walk(LinesOf(BannerLines), unused)) {
      return false;
    }
    for (const SingleTestLayout* test : SingleTests) {
      if (!Header(test->header)) {
        return false;
      }
      for (int part = 0; part < test->partCount; ++part) {
        if (!Walk(test->parts[part].lines, record_.single[Index(test->parts[part].measure)])) {
          return false;
        }
      }
      if (!Blanks(test->blanksAfter)) {
        return false;
      }
    }
    for (const ParallelPhaseLayout* phase : ParallelPhases) {
      if (!Phase(*phase)) {
        return false;
      }
    }
    thread_ = -1;
    if (channel_ == Channel::Console && !Walk(LinesOf(ClosingLines), unused)) {
      return false;
    }
    return Next() == nullptr ? result_.state != ReportState::Mismatch
                             : Fail("the end of the report");
  }

  bool Phase(const ParallelPhaseLayout& phase) {
    seen_.assign(static_cast<std::size_t>(record_.threads), false);
    if (!Exact(MultiThreadLine) || !Header(phase.header)) {
      return false;
    }
    for (int block = 0; block < record_.threads; ++block) {
      thread_ = -1;
      for (int part = 0; part < phase.partCount; ++part) {
        measure_ = phase.worker[part].measure;
        Figures ignored;
        if (!Walk(phase.worker[part].lines, ignored)) {
          return false;
        }
      }
    }
    if (!Blanks(phase.blanksBeforeSummary)) {
      return false;
    }
    for (int part = 0; part < phase.partCount; ++part) {
      if (!Walk(phase.summary[part].lines, record_.overall[Index(phase.summary[part].measure)])) {
        return false;
      }
    }
    return Blanks(PhaseEndBlanks);
  }

  bool Header(ChannelText header) { return Exact(header.On(channel_)) && Blanks(HeaderBlanks); }

  bool Blanks(int count) {
    for (int line = 0; line < count; ++line) {
      if (!Exact("")) {
        return false;
      }
    }
    return true;
  }

  // The figures a worker's tagged lines fill: its own, once its first line has named it.
  Figures& Target(Figures& given) {
    return thread_ >= 0 ? record_.workers[thread_][Index(measure_)] : given;
  }
  OverallFigures& Target(OverallFigures& given) { return given; }

  // One measurement's lines (or the banner's, or the closing lines) into `figures`, which are
  // present once every figure line has been read.
  template <typename FiguresType>
  bool Walk(LayoutLines layout, FiguresType& figures) {
    for (const LayoutLine& line : layout) {
      const char* text = line.text.On(channel_);
      if (text == nullptr) {
        continue;
      }
      if (line.kind == LineKind::Warnings) {
        MarkPresent(figures);
        Warnings(Target(figures));
        continue;
      }
      if (!Line(line, text, figures)) {
        return false;
      }
    }
    MarkPresent(figures);
    return true;
  }

  void MarkPresent(Figures& figures) { Target(figures).present = true; }
  void MarkPresent(OverallFigures& figures) { figures.present = true; }

  template <typename FiguresType>
  bool Line(const LayoutLine& line, const char* text, FiguresType& figures) {
    switch (line.kind) {
      case LineKind::Text:
        if (!Exact(text)) {
          return false;
        }
        titled_ = true;
        return true;
      case LineKind::Blank:
        return Exact("");
      case LineKind::Optional:
        if (const std::string* found = Next(); found != nullptr && *found == text) {
          record_.capped = true;
          lines_.Take();
        }
        return true;
      case LineKind::ClosingPath:
        return ClosingPath();
      case LineKind::Figure:
        if (line.field == Field::Threads) {
          return ThreadCount();
        }
        return Figure(text, line.after.On(channel_), line.field, Target(figures));
      case LineKind::TaggedFigure:
        return TaggedFigure(text, line.after.On(channel_), line.field, figures);
      case LineKind::Warnings:
        break;
    }
    return true;
  }

  template <typename FiguresType>
  bool Figure(const std::string& before, const std::string& after, Field field,
              FiguresType& figures) {
    const std::string* line = Next();
    if (line == nullptr) {
      return Stop();
    }
    double value = 0;
    if (!NumberBetween(*line, before, after, value)) {
      return Fail(Quoted(before) + ", a number and " + Quoted(after));
    }
    lines_.Take();
    Store(figures, field, value);
    return true;
  }

  // A line "Thread:N " + before + number + after. The block's first line names the worker, each
  // once a phase and from 0 to threads - 1; its other tagged lines must name the same one.
  template <typename FiguresType>
  bool TaggedFigure(const std::string& before, const std::string& after, Field field,
                    FiguresType& figures) {
    const std::string* line = Next();
    if (line == nullptr) {
      return Stop();
    }
    int tagged = -1;
    std::string rest;
    double value = 0;
    if (!SplitThreadTag(*line, tagged, rest) || !NumberBetween(rest, before, after, value) ||
        (thread_ >= 0 && tagged != thread_)) {
      return Fail(Quoted(std::string(ThreadTagText) +
                         (thread_ >= 0 ? std::to_string(thread_) : "N") + " " + before) +
                  ", a number and " + Quoted(after));
    }
    if (thread_ < 0) {
      if (tagged < 0 || tagged >= record_.threads) {
        return Fail("a thread number from 0 to " + std::to_string(record_.threads - 1));
      }
      if (seen_[static_cast<std::size_t>(tagged)]) {
        return Fail("each thread once in a phase, not thread " + std::to_string(tagged) + " again");
      }
      seen_[static_cast<std::size_t>(tagged)] = true;
      thread_ = tagged;
    }
    lines_.Take();
    Store(Target(figures), field, value);
    return true;
  }

  // "Thread(s): N" with N a whole number from 1 to the benchmark's cap, which bounds what a file
  // can make the reader hold.
  bool ThreadCount() {
    const std::string* line = Next();
    if (line == nullptr) {
      return Stop();
    }
    const std::size_t start = std::char_traits<char>::length(ThreadCountText);
    if (!StartsWith(*line, ThreadCountText) || line->size() == start) {
      return Fail(Quoted(ThreadCountText) + " and a number");
    }
    int threads = 0;
    const char* end = line->data() + line->size();
    const auto [stop, error] = std::from_chars(line->data() + start, end, threads);
    if (error != std::errc() || stop != end || threads < 1 || threads > ThreadCap) {
      return Fail("a whole number of threads from 1 to " + std::to_string(ThreadCap) + " in " +
                  Quoted(ThreadCountText));
    }
    lines_.Take();
    record_.threads = threads;
    return true;
  }

  // The console's warnings after a measurement's lines flag that measurement.
  void Warnings(Figures& figures) {
    for (const std::string* line = Next(); line != nullptr; line = Next()) {
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
  void Warnings(OverallFigures&) {}

  bool ClosingPath() {
    const std::string* line = Next();
    if (line == nullptr) {
      return Stop();
    }
    std::string name;
    if (!ResultsNameOnClosingLine(*line, name)) {
      return Mismatch(lines_.number(), "expected the closing line " + Quoted(SavedText) +
                                           " and the results file's path, found " + Quoted(*line));
    }
    lines_.Take();
    DateFromResultsName(name, record_.date, record_.time);
    return true;
  }

  bool Exact(const std::string& text) {
    const std::string* line = Next();
    if (line == nullptr) {
      return Stop();
    }
    if (*line != text) {
      return Fail(text.empty() ? std::string("an empty line") : Quoted(text));
    }
    lines_.Take();
    return true;
  }

  // The next line; nullptr at the end of the input, or (with the mismatch noted) at a line the
  // source refused.
  const std::string* Next() {
    const std::string* line = lines_.Peek();
    if (line == nullptr && !lines_.refusal().empty()) {
      Mismatch(lines_.number(), lines_.refusal());
    }
    return line;
  }

  // The input ended inside the report, unless a refused line ended it.
  bool Stop() {
    if (result_.state != ReportState::Mismatch) {
      result_.state = ReportState::CutShort;
    }
    return false;
  }

  bool Fail(const std::string& expected) {
    const std::string* found = Next();
    // A last line without its line end is where a stopped run or a full disk cut the file (once
    // the title has shown it to be a report).
    if (found != nullptr && lines_.lastLineCut() && titled_) {
      return Stop();
    }
    return Mismatch(lines_.number(),
                    "expected " + expected + ", found " + (found ? Quoted(*found) : "the end"));
  }

  bool Mismatch(int line, const std::string& message) {
    if (result_.state != ReportState::Mismatch) {
      result_ = {ReportState::Mismatch, line, message};
    }
    return false;
  }

  LineSource& lines_;
  RunRecord& record_;
  Channel channel_ = Channel::Log;
  bool titled_ = false;
  int thread_ = -1;  // the worker whose block is being read
  Measure measure_ = Measure::StreamCycles;
  std::vector<bool> seen_;  // the workers of the current phase read so far
  ParsedReport result_;
};

}  // namespace

ParsedReport ParseReport(LineSource& lines, RunRecord& record) {
  return Interpreter(lines, record).Run();
}
