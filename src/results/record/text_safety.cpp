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

struct Range {
  std::uint32_t first, last;
};

// Combining marks of the common scripts, zero-width spaces and joiners, variation selectors.
constexpr Range ZeroWidth[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
    {0x05C4, 0x05C5}, {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
    {0x06D6, 0x06DC}, {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x0900, 0x0902},
    {0x093A, 0x093A}, {0x093C, 0x093C}, {0x0941, 0x0948}, {0x094D, 0x094D}, {0x0951, 0x0957},
    {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF},
    {0x200B, 0x200F}, {0x202A, 0x202E}, {0x2060, 0x2064}, {0x20D0, 0x20FF}, {0x302A, 0x302D},
    {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0xFEFF, 0xFEFF}, {0xE0100, 0xE01EF},
};

// East Asian wide and fullwidth characters, emoji included.
constexpr Range Wide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x3029},
    {0x302E, 0x303E},   {0x3041, 0x3098},   {0x309B, 0x33FF},   {0x3400, 0x4DBF},
    {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xA960, 0xA97F},   {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6},   {0x16FE0, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004},
    {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F265},
    {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF},
    {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

template <std::size_t N>
bool Within(std::uint32_t code, const Range (&ranges)[N]) {
  for (const Range& range : ranges) {
    if (code >= range.first && code <= range.last) {
      return true;
    }
  }
  return false;
}

std::size_t CellsOf(std::uint32_t code) {
  return Within(code, ZeroWidth) ? 0 : Within(code, Wide) ? 2 : 1;
}

// Calls `visit(at, length, cells)` for each character of `text`; an invalid byte takes a cell.
template <typename Visit>
void ForEachCharacter(const std::string& text, Visit visit) {
  std::uint32_t code = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceAt(text, at, code);
    visit(at, length == 0 ? 1 : length, length == 0 ? 1 : CellsOf(code));
    at += length == 0 ? 1 : length;
  }
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

std::size_t DisplayCells(const std::string& text) {
  std::size_t cells = 0;
  ForEachCharacter(text, [&cells](std::size_t, std::size_t, std::size_t width) { cells += width; });
  return cells;
}

std::string FirstCells(const std::string& text, std::size_t cells) {
  std::size_t taken = 0;
  std::size_t end = text.size();
  bool full = false;
  ForEachCharacter(text, [&](std::size_t at, std::size_t, std::size_t width) {
    if (!full && taken + width > cells) {
      full = true;
      end = at;
    }
    taken += width;
  });
  return text.substr(0, end);
}

std::string LastCells(const std::string& text, std::size_t cells) {
  std::size_t total = 0;
  ForEachCharacter(text, [&](std::size_t, std::size_t, std::size_t width) { total += width; });
  if (total <= cells) {
    return text;
  }
  // The first character, not a combining mark, from which the rest fits.
  std::size_t skipped = 0;
  std::size_t begin = text.size();
  ForEachCharacter(text, [&](std::size_t at, std::size_t, std::size_t width) {
    if (begin == text.size() && total - skipped <= cells && width > 0) {
      begin = at;
    }
    skipped += width;
  });
  return text.substr(begin);
}

std::string XmlText(const std::string& text) {
  std::string allowed;
  allowed.reserve(text.size());
  std::uint32_t code = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceAt(text, at, code);
    const bool forbidden = length == 0 || code == 0xFFFE || code == 0xFFFF ||
                           (code < 0x20 && code != '\t' && code != '\n' && code != '\r');
    if (forbidden) {
      allowed += Replacement;
    } else {
      allowed.append(text, at, length);
    }
    at += length == 0 ? 1 : length;
  }
  return allowed;
}

std::u16string Utf16FromUtf8(const std::string& text) {
  std::u16string units;
  units.reserve(text.size());
  std::uint32_t code = 0;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceAt(text, at, code);
    if (length == 0) {
      code = 0xFFFD;
    }
    if (code >= 0x10000) {
      units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      units += static_cast<char16_t>(code);
    }
    at += length == 0 ? 1 : length;
  }
  return units;
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
