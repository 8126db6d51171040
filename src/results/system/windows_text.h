// Windows' wide strings as UTF-8, through the one UTF-16 decoder. Included by the Windows files
// only: wchar_t is a UTF-16 code unit there.
#pragma once

#include <string>
#include <string_view>

#include "results/record/text_safety.h"

inline std::string Utf8FromWide(const std::wstring& wide) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t), "a wide character is a UTF-16 code unit");
  return Utf8FromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}
