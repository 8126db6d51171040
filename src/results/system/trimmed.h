// What the system tells, without the blanks around it.
#pragma once

#include <string>

// `text` without the characters of `blanks` at either end.
inline std::string Trimmed(const std::string& text, const char* blanks = " \t\r\n") {
  const std::size_t end = text.find_last_not_of(blanks);
  if (end == std::string::npos) {
    return {};
  }
  return text.substr(text.find_first_not_of(blanks), end + 1 - text.find_first_not_of(blanks));
}
