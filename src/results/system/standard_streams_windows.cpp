// Windows: the console decided once per handle, UTF-8 turned into UTF-16 for it.
#include <algorithm>
#include <memory>
#include <ostream>
#include <string>

#include "results/record/text_safety.h"
#include "results/system/standard_streams.h"
#include "results/system/windows_console.h"

namespace {

// The length of the start of `bytes` that ends on a whole UTF-8 sequence.
std::size_t WholeSequences(const std::string& bytes) {
  std::size_t end = bytes.size();
  // At most three bytes of a sequence can be waiting for the rest.
  for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((byte & 0xC0) == 0x80) {
      continue;  // a continuation byte: look further back for its lead
    }
    const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    end = length > back ? bytes.size() - back : bytes.size();
    break;
  }
  return end;
}

class TextBuffer final : public std::streambuf {
 public:
  explicit TextBuffer(HANDLE handle) : handle_(handle), console_(IsConsole(handle)) {}
  ~TextBuffer() override { Send(); }
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      pending_ += traits_type::to_char_type(c);
      if (pending_.size() >= Chunk && !Send()) {
        return traits_type::eof();
      }
    }
    return traits_type::not_eof(c);
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return pending_.size() >= Chunk && !Send() ? 0 : count;
  }

  int sync() override { return Send() ? 0 : -1; }

 private:
  static constexpr std::size_t Chunk = 8192;

  // Writes what is pending; on a console only whole characters, the rest kept for later.
  bool Send() {
    const std::size_t whole = console_ ? WholeSequences(pending_) : pending_.size();
    const bool sent =
        console_ ? SendCharacters(pending_.substr(0, whole)) : SendBytes(AsText(pending_));
    pending_.erase(0, whole);
    return sent;
  }

  // Line ends as Windows programs write text, and as this one always did: CR LF.
  static std::string AsText(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (const char c : bytes) {
      if (c == '\n') {
        text += '\r';
      }
      text += c;
    }
    return text;
  }

  bool SendBytes(const std::string& text) {
    const char* bytes = text.data();
    std::size_t count = text.size();
    while (count > 0) {
      DWORD written = 0;
      const DWORD part = static_cast<DWORD>(std::min<std::size_t>(count, 1 << 20));
      if (!WriteFile(handle_, bytes, part, &written, nullptr) || written == 0) {
        return false;
      }
      bytes += written;
      count -= written;
    }
    return true;
  }

  bool SendCharacters(const std::string& text) {
    const std::u16string units = Utf16FromUtf8(text);
    const wchar_t* at = reinterpret_cast<const wchar_t*>(units.data());
    std::size_t left = units.size();
    while (left > 0) {
      DWORD written = 0;
      // Older consoles refuse long writes: a few thousand characters at a time.
      const DWORD part = static_cast<DWORD>(std::min<std::size_t>(left, 4096));
      if (!WriteConsoleW(handle_, at, part, &written, nullptr) || written == 0) {
        return false;
      }
      at += written;
      left -= written;
    }
    return true;
  }

  HANDLE handle_;
  bool console_;
  std::string pending_;
};

}  // namespace

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode) != 0;
}

std::unique_ptr<std::streambuf> TextBufferFor(HANDLE handle) {
  return std::make_unique<TextBuffer>(handle);
}

// What is left in a buffer is written when the program ends.
std::ostream& StandardOutput() {
  static TextBuffer buffer(GetStdHandle(STD_OUTPUT_HANDLE));
  static std::ostream out(&buffer);
  return out;
}

std::ostream& StandardError() {
  static TextBuffer buffer(GetStdHandle(STD_ERROR_HANDLE));
  static std::ostream err(&buffer);
  err.setf(std::ios::unitbuf);
  return err;
}
