// Text from files and names that strangers hand the user, made safe for what it goes into: valid
// UTF-8 everywhere, and no control character that a terminal would act on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// `text` with every byte sequence that is not valid UTF-8 replaced by U+FFFD.
std::string ValidUtf8(const std::string& text);

// Valid UTF-8 with every control character (C0, DEL, C1) and every invalid byte written as \xNN,
// so that a name or a line from a file cannot move the cursor, recolour or retitle a terminal.
std::string EscapeControls(const std::string& text);

// How many characters (code points) `text` shows, for aligning columns. `text` is valid UTF-8.
std::size_t CharacterCount(const std::string& text);

// The first `count` characters of valid UTF-8 `text`, never cutting one in two.
std::string FirstCharacters(const std::string& text, std::size_t count);
// The last `count` characters.
std::string LastCharacters(const std::string& text, std::size_t count);

// How many terminal cells valid UTF-8 `text` takes: East Asian wide and fullwidth characters
// two, combining marks and other zero-width characters none, the rest one.
std::size_t DisplayCells(const std::string& text);
// The longest start of `text` that takes at most `cells` cells, never cutting a character or
// parting one from its combining marks.
std::string FirstCells(const std::string& text, std::size_t cells);
// The longest end of `text` that takes at most `cells` cells and starts with no combining mark.
std::string LastCells(const std::string& text, std::size_t cells);

// `text` with everything XML 1.0 forbids in a document (invalid UTF-8, controls other than tab,
// line feed and carriage return, U+FFFE and U+FFFF) replaced by U+FFFD.
std::string XmlText(const std::string& text);

// UTF-8 as UTF-16 code units, for Windows' consoles; an invalid byte becomes U+FFFD.
std::u16string Utf16FromUtf8(const std::string& text);

// UTF-16 code units as UTF-8; an unpaired surrogate becomes U+FFFD. Windows' wide strings and
// UTF-16 files both come through here.
std::string Utf8FromUtf16(std::u16string_view units);
