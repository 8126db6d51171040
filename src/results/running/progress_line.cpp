#include "results/running/progress_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "contract/report_texts.h"
#include "results/record/text_safety.h"

std::string Duration(double seconds) {
  char text[64];
  if (seconds < 60) {
    std::snprintf(text, sizeof text, "%.1f s", seconds);
  } else {
    const long long whole = std::llround(seconds);
    std::snprintf(text, sizeof text, "%lld min %02lld s", whole / 60, whole % 60);
  }
  return text;
}

std::string RunHead(const Progress& progress) {
  return progress.head.empty()
             ? "run " + std::to_string(progress.run) + " of " + std::to_string(progress.runs)
             : progress.head;
}

std::string StatusLine(const Progress& progress, int columns) {
  const std::string head = RunHead(progress) + ": ";
  std::string tail = ": " + progress.section + ", " + Duration(progress.elapsed);
  if (progress.left >= 0) {
    tail += ", about " + Duration(progress.left) + " left";
  }
  const std::size_t width = columns > 1 ? static_cast<std::size_t>(columns - 1) : 0;
  std::string directory = progress.directory;
  const std::size_t fixed = DisplayCells(head) + DisplayCells(tail);
  const std::size_t room = width > fixed ? width - fixed : 0;
  if (DisplayCells(directory) > room) {
    // The end of a path says most about it.
    directory = room > 1 ? "\xe2\x80\xa6" + LastCells(directory, room - 1) : std::string();
  }
  return FirstCells(head + directory + tail, width);
}

void FollowReport(const std::string& text, std::string& phase, std::string& section) {
  std::string line = text;
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  if (line == SingleThreadLine) {
    phase = "single thread";
  } else if (line == MultiThreadLine) {
    phase = "multi-thread";
  }
  for (const char* header :
       {LowerHeader, HigherHeader, HigherConsoleHeader, LowSpeedHeader, HighSpeedHeader}) {
    if (line == header) {
      std::string name = header;
      if (name.back() == ':') {
        name.pop_back();
      }
      section = phase.empty() ? name : phase + ", ";
      if (!phase.empty()) {
        section += name;
      }
    }
  }
}

ProgressLine::ProgressLine(std::ostream& out, int (*columns)(), bool colour)
    : out_(out), columns_(columns), colour_(colour) {}

void ProgressLine::Draw(const Progress& progress, bool now) {
  const auto time = std::chrono::steady_clock::now();
  if (!now && drawn_ > 0 && time - last_ < std::chrono::milliseconds(RedrawMs)) {
    return;
  }
  last_ = time;
  const int columns = columns_();
  const std::string line = StatusLine(progress, columns);
  const std::size_t length = DisplayCells(line);
  // Blanks over what a longer line left, then the line from the start; never more blanks than
  // the terminal has room for now, or they would wrap onto a line of their own.
  const std::size_t room = columns > 1 ? static_cast<std::size_t>(columns - 1) : 0;
  if (drawn_ > length) {
    out_ << "\r" << std::string(std::min(drawn_, room), ' ');
  }
  const std::size_t colon = line.find(':');
  if (colour_ && colon != std::string::npos) {
    out_ << "\r\x1b[1;36m" << line.substr(0, colon) << "\x1b[0m" << line.substr(colon);
  } else {
    out_ << "\r" << line;
  }
  out_ << std::flush;
  drawn_ = length;
}

void ProgressLine::Erase() {
  if (drawn_ > 0) {
    const int columns = columns_();
    const std::size_t room = columns > 1 ? static_cast<std::size_t>(columns - 1) : 0;
    out_ << "\r" << std::string(std::min(drawn_, room), ' ') << "\r" << std::flush;
    drawn_ = 0;
  }
}
