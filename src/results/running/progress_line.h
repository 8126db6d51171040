// The status line `run` keeps on a terminal while the benchmark runs: which run, where, which
// part of the report is being measured, how long it has taken and how long is left.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

// The line is drawn anew at most this often: often enough for the seconds to count up, rarely
// enough to cost nothing.
inline constexpr int RedrawMs = 250;

// How `run` tells what it is doing: the status line on a terminal and a line per run (auto), JSON
// Lines on standard error for scripts (json), or nothing while it runs (none).
enum class ProgressMode { Auto, Json, None };
// The modes by name, in order; nullptr-free. `--progress` takes its values from here.
inline constexpr const char* ProgressModeNames[] = {"auto", "json", "none"};
// The version of the JSON Lines that --progress json writes: each line carries it.
inline constexpr int ProgressFormatVersion = 1;

struct Progress {
  int run = 0;  // 1-based
  int runs = 0;
  std::string directory;
  std::string section;  // "single thread, Power of Handling Files -- Lower", ...
  double elapsed = 0;   // seconds of this run
  double left = -1;     // seconds of every run still to come; negative when not known
  std::string head;     // what leads the line; empty: "run 3 of 10"
};

// "run 3 of 10", or the head the progress names.
std::string RunHead(const Progress& progress);

// The line for `columns` terminal columns: never wider than columns - 1 cells (a full last
// column would wrap on some terminals), the directory shortened first. Plain text.
std::string StatusLine(const Progress& progress, int columns);

// "12.3 s", "4 min 05 s": a duration for people.
std::string Duration(double seconds);

// What the report's line says is now being measured; `section` unchanged by other lines.
void FollowReport(const std::string& line, std::string& phase, std::string& section);

class ProgressLine {
 public:
  // `columns` tells the terminal's width now: it is asked at every drawing, as the terminal may
  // have been resized since.
  ProgressLine(std::ostream& out, int (*columns)(), bool colour);
  // Draws the line, at most 4 times a second unless `now`.
  void Draw(const Progress& progress, bool now = false);
  // Erases the line, so that what is printed next stands alone; the next Draw draws it anew.
  void Erase();

 private:
  std::ostream& out_;
  int (*columns_)();
  bool colour_;
  std::size_t drawn_ = 0;  // cells on the line now
  std::chrono::steady_clock::time_point last_{};
};
