#include "results/reading/line_source.h"

#include "contract/report_texts.h"

const std::string* LineSource::Peek() {
  while (!peeked_) {
    if (!refusal_.empty() || !ReadLine(pending_)) {
      return nullptr;
    }
    peeked_ = !(dropUnableToOpen_ && pending_ == UnableToOpenLine);
  }
  return &pending_;
}

bool LineSource::ReadLine(std::string& line) {
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
      refusal_ = "binary data, not a results file";
      return false;
    }
    if (line.size() == MaxLineLength) {
      refusal_ =
          "a line longer than " + std::to_string(MaxLineLength) + " characters, not a results file";
      return false;
    }
    line.push_back(static_cast<char>(next));
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return true;
}
