#include "results/record/text_safety.h"

#include <cstdint>

namespace {

constexpr const char* Replacement = "\xEF\xBF\xBD";

// The length of the valid UTF-8 sequence at `at` and its code point; 0 when it is not valid
// (overlong forms, surrogates and code points past U+10FFFF included).
std::size_t SequenceAt(const std::string& text, std::size_t at, std::uint32_t& code) {
  const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    code = lead & 0x1Fu;
    minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    code = lead & 0x0Fu;
    minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    code = lead & 0x07u;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (at + length > text.size()) {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      return 0;
    }
    code = (code << 6) | (byte(at + i) & 0x3Fu);
  }
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return 0;
  }
  return length;
}

std::string Hex(unsigned value) {
  constexpr const char* Digits = "0123456789abcdef";
  return std::string("\\x") + Digits[(value >> 4) & 0xF] + Digits[value & 0xF];
}

bool IsControl(std::uint32_t code) {
  return code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0);
}

}  // namespace

std::string ValidUtf8(const std::string& text) {
  std::string valid;
  valid.reserve(text.size());
  std::uint32_t code = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceAt(text, at, code);
    if (length == 0) {
      valid += Replacement;
      ++at;
    } else {
      valid.append(text, at, length);
      at += length;
    }
  }
  return valid;
}

std::string EscapeControls(const std::string& text) {
  std::string safe;
  safe.reserve(text.size());
  std::uint32_t code = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceAt(text, at, code);
    if (length == 0) {
      safe += Hex(static_cast<unsigned char>(text[at]));
      ++at;
    } else if (IsControl(code)) {
      safe += Hex(code);
      at += length;
    } else {
      safe.append(text, at, length);
      at += length;
    }
  }
  return safe;
}

std::size_t CharacterCount(const std::string& text) {
  std::size_t count = 0;
  for (const char c : text) {
    count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  }
  return count;
}

std::string FirstCharacters(const std::string& text, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if ((static_cast<unsigned char>(text[at]) & 0xC0) != 0x80 && seen++ == count) {
      return text.substr(0, at);
    }
  }
  return text;
}

std::string LastCharacters(const std::string& text, std::size_t count) {
  const std::size_t total = CharacterCount(text);
  if (total <= count) {
    return text;
  }
  const std::size_t skip = FirstCharacters(text, total - count).size();
  return text.substr(skip);
}

std::string Utf8FromUtf16(std::u16string_view units) {
  std::string text;
  for (std::size_t i = 0; i < units.size(); ++i) {
    std::uint32_t code = units[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      code =
          0x10000 + ((code - 0xD800) << 10) + (static_cast<std::uint32_t>(units[i + 1]) - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = 0xFFFD;
    }
    if (code < 0x80) {
      text += static_cast<char>(code);
    } else if (code < 0x800) {
      text += static_cast<char>(0xC0 | (code >> 6));
      text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      text += static_cast<char>(0xE0 | (code >> 12));
      text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      text += static_cast<char>(0xF0 | (code >> 18));
      text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      text += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return text;
}
