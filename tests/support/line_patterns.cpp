#include "support/line_patterns.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <locale>
#include <sstream>

#include <gtest/gtest.h>

#include "contract/file_names.h"
#include "contract/report_texts.h"
#include "support/platform_facts.h"

namespace {

std::vector<std::string> SplitAt(const std::string& text, const std::string& lineEnd) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < text.size()) {
    const auto end = text.find(lineEnd, start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + lineEnd.size();
  }
  return lines;
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
  return SplitAt(text, "\n");
}

std::vector<std::string> SplitTextLines(const std::string& text) {
  return SplitAt(text, TextLineEnd);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream contents;
  contents << in.rdbuf();
  return contents.str();
}

void WriteTextFile(const std::string& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

std::optional<double> NumberBetween(const std::string& line, const std::string& before,
                                    const std::string& after) {
  if (line.size() <= before.size() + after.size() || line.compare(0, before.size(), before) != 0 ||
      line.compare(line.size() - after.size(), after.size(), after) != 0) {
    return std::nullopt;
  }
  const std::string number = line.substr(before.size(), line.size() - before.size() - after.size());
  if (number == "inf") {
    return HUGE_VAL;
  }
  if (number.find_first_not_of("0123456789.e+-") != std::string::npos) {
    return std::nullopt;
  }
  std::istringstream in(number);
  in.imbue(std::locale::classic());
  double value = 0;
  in >> value;
  if (!in || in.peek() != std::char_traits<char>::eof()) {
    return std::nullopt;
  }
  return value;
}

std::int64_t FileSize(const std::string& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? -1 : static_cast<std::int64_t>(size);
}

bool EveryByteIs(const std::string& path, char value) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return false;
  }
  char chunk[65536];
  while (in) {
    in.read(chunk, sizeof chunk);
    for (std::streamsize i = 0; i < in.gcount(); ++i) {
      if (chunk[i] != value) {
        return false;
      }
    }
  }
  return in.eof();
}

std::string AsPrinted(double value) {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out << value;
  return out.str();
}

bool PrintedNear(double printed, double expected, double relative) {
  if (std::isinf(printed) || std::isinf(expected)) {
    return printed == expected;
  }
  return std::fabs(printed - expected) <= relative * std::fabs(expected);
}

bool MatchLine(const std::string& line, const std::string& pattern, std::vector<double>* numbers) {
  const std::string placeholder = "{n}";
  std::vector<std::string> pieces;
  std::string::size_type start = 0;
  for (auto found = pattern.find(placeholder); found != std::string::npos;
       found = pattern.find(placeholder, start)) {
    pieces.push_back(pattern.substr(start, found - start));
    start = found + placeholder.size();
  }
  pieces.push_back(pattern.substr(start));

  std::vector<double> found;
  std::string::size_type at = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (line.compare(at, pieces[i].size(), pieces[i]) != 0) {
      return false;
    }
    at += pieces[i].size();
    if (i + 1 == pieces.size()) {
      break;
    }
    const auto end = line.find_first_not_of("0123456789.e+-inf", at);
    const std::string number = line.substr(at, end == std::string::npos ? end : end - at);
    const auto value = NumberBetween("<" + number + ">", "<", ">");
    if (!value) {
      return false;
    }
    found.push_back(*value);
    at += number.size();
  }
  if (at != line.size()) {
    return false;
  }
  if (numbers != nullptr) {
    numbers->insert(numbers->end(), found.begin(), found.end());
  }
  return true;
}

std::vector<double> LineCursor::Expect(const std::string& pattern) {
  std::vector<double> numbers;
  if (AtEnd()) {
    ADD_FAILURE() << "expected \"" << pattern << "\" after the last line (" << next_ << " lines)";
    return numbers;
  }
  if (!MatchLine(lines_[next_], pattern, &numbers)) {
    ADD_FAILURE() << "line " << next_ + 1 << " is \"" << lines_[next_] << "\", expected \""
                  << pattern << "\"";
  }
  ++next_;
  return numbers;
}

std::string LineCursor::Peek() const {
  return AtEnd() ? "<end>" : lines_[next_];
}

bool MatchesDigits(const std::string& text, const std::string& pattern) {
  if (text.size() != pattern.size()) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool digitWanted = pattern[i] == '#';
    if (digitWanted ? (text[i] < '0' || text[i] > '9') : text[i] != pattern[i]) {
      return false;
    }
  }
  return true;
}

std::string ResultsNameShape() {
  std::string shape = ResultsNamePrefix;
  for (const char* format = DateFormat; *format != '\0'; ++format) {
    if (*format == '%' && format[1] != '\0') {
      shape += *++format == 'Y' ? "####" : "##";
    } else {
      shape += *format;
    }
  }
  return shape;
}

bool IsIsoTimeWithOffset(const std::string& text) {
  return text.size() == 25 && MatchesDigits(text.substr(0, 19), "####-##-##T##:##:##") &&
         (text[19] == '+' || text[19] == '-') && MatchesDigits(text.substr(20), "##:##");
}
