// Writing report lines: every line goes through stream insertion and ends with std::endl, so the
// console shows it at once and the results file holds every finished line even if the run is
// stopped later.
#pragma once

#include <cstdint>
#include <iostream>
#include <ostream>

#include "contract/constants.h"
#include "contract/report_layout.h"
#include "contract/report_texts.h"
#include "state/global_streams.h"

// One line on one channel: the items inserted in order, then a line break and a flush.
template <typename... Items>
void WriteLine(std::ostream& channel, const Items&... items) {
  (channel << ... << items) << std::endl;
}

// One line on both channels: the console first, then the results file.
template <typename... Items>
void ReportLine(const Items&... items) {
  WriteLine(std::cout, items...);
  WriteLine(ResultsLog, items...);
}

// A group of lines written on the console first, then the same group in the results file.
template <typename WriteGroup>
void ForEachChannel(WriteGroup writeGroup) {
  writeGroup(static_cast<std::ostream&>(std::cout), Channel::Console);
  writeGroup(static_cast<std::ostream&>(ResultsLog), Channel::Log);
}

// `count` empty lines on one channel.
void WriteBlanks(std::ostream& channel, int count);

// A test's header and its empty line, on the console and then in the results file.
void ReportHeader(ChannelText header);

// The start of a parallel phase: "Multi-Thread Enabled:" on both channels, then the header.
void ReportParallelHeader(ChannelText header);

// Derived figures. The megabyte figure scales by 1/1024 twice (exact in binary floating point).
inline double ToMillions(double rate) {
  return rate / AccessesPerMillion;
}
inline double ToMegabytes(double rate) {
  return rate * MegabyteScale * MegabyteScale;
}

// The lead of a line that a worker writes about itself: "Thread:", the number, one blank.
struct ThreadTag {
  int thread;
};
std::ostream& operator<<(std::ostream& channel, ThreadTag tag);

// The lead of a single-thread line: nothing.
struct NoTag {};
inline std::ostream& operator<<(std::ostream& channel, NoTag) {
  return channel;
}

// The numbers that a run of layout lines shows.
struct LineFigures {
  double seconds = 0;
  double rate = 0;  // per second; shown as files, millions of accesses or megabytes
  double improvement = 0;
  std::int32_t threads = 0;
  bool optional = false;       // the optional lines are printed
  bool saved = false;          // the closing path line: the results file was saved
  const char* path = nullptr;  // the closing path line's path
};

// One channel's lines of a run of layout lines, each through WriteLine. Tagged lines lead with
// `tag`; a Warnings line calls `warn(tag, measurement)`, which prints what failed, if anything.
template <typename Tag, typename Warn>
void WriteLayoutLines(std::ostream& channel, Channel which, LayoutLines lines, Tag tag,
                      const LineFigures& figures, Warn warn) {
  for (const LayoutLine& line : lines) {
    const char* text = line.text.On(which);
    if (text == nullptr) {
      continue;
    }
    const char* after = line.after.On(which);
    switch (line.kind) {
      case LineKind::Optional:
        if (figures.optional) {
          WriteLine(channel, text);
        }
        break;
      case LineKind::Text:
        WriteLine(channel, text);
        break;
      case LineKind::Blank:
        WriteLine(channel);
        break;
      case LineKind::Warnings:
        warn(tag, text);
        break;
      case LineKind::ClosingPath:
        WriteLine(channel, figures.saved ? SavedText : NotSavedText, figures.path);
        break;
      case LineKind::Figure:
      case LineKind::TaggedFigure:
        if (line.kind == LineKind::TaggedFigure) {
          channel << tag;
        }
        switch (line.field) {
          case Field::Threads:
            WriteLine(channel, text, figures.threads, after);
            break;
          case Field::Seconds:
            WriteLine(channel, text, figures.seconds, after);
            break;
          case Field::Files:
            WriteLine(channel, text, figures.rate, after);
            break;
          case Field::Millions:
            WriteLine(channel, text, ToMillions(figures.rate), after);
            break;
          case Field::Megabytes:
            WriteLine(channel, text, ToMegabytes(figures.rate), after);
            break;
          case Field::Improvement:
            WriteLine(channel, text, figures.improvement, after);
            break;
          case Field::None:
            break;
        }
        break;
    }
  }
}

// For lines that carry no warnings.
struct NoWarnings {
  template <typename Tag>
  void operator()(Tag, const char*) const {}
};
