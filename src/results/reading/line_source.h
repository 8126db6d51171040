// The lines of a results file or transcript, one at a time and each bounded in length, with one
// line of lookahead.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

// Lines longer than this are no report line: the file is refused at the first one, unread beyond.
inline constexpr std::size_t MaxLineLength = 4096;

// Line ends may be LF or CR LF. A NUL byte or an overlong line ends the lines: `refusal` then
// says why, at line `number`.
class LineSource {
 public:
  explicit LineSource(std::istream& in) : in_(in) {}

  // In a console transcript the "Unable to open file" lines are dropped wherever they stand: a
  // worker prints its own without the report lock, so it can fall between any two lines.
  void DropUnableToOpen() { dropUnableToOpen_ = true; }

  // The next line without taking it; nullptr at the end of the input or at a refused line.
  const std::string* Peek();
  // Takes the line Peek showed.
  void Take() { peeked_ = false; }

  // The number of the line last taken or peeked.
  int number() const { return number_; }
  // True when the line last read had no line end: the file stops inside it.
  bool lastLineCut() const { return cut_; }
  // Why the lines ended before the input did; empty when they did not.
  const std::string& refusal() const { return refusal_; }

 private:
  bool ReadLine(std::string& line);

  std::istream& in_;
  std::string pending_;
  std::string refusal_;
  bool peeked_ = false;
  bool dropUnableToOpen_ = false;
  bool cut_ = false;
  int number_ = 0;
};
