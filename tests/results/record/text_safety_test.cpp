// Text that is safe to show: valid UTF-8, controls escaped, cut at whole characters and counted
// in terminal cells, and the UTF-16 that Windows consoles take.
#include <gtest/gtest.h>

#include <string>

#include "results/record/text_safety.h"

namespace {

TEST(TextSafety, ValidatesEscapesAndCutsAtCharacters) {
  EXPECT_EQ(ValidUtf8("ok \xc3\xa9 \xc3 \xed\xa0\x80 \xf4\x90\x80\x80"),
            "ok \xc3\xa9 \xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD "
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(EscapeControls("a\x1b[1m\xc2\x9b\x7f\xff\xe2\x82\xac"),
            "a\\x1b[1m\\x9b\\x7f\\xff\xe2\x82\xac");
  EXPECT_EQ(CharacterCount("\xe2\x82\xac\xe2\x82\xac!"), 3u);
  EXPECT_EQ(FirstCharacters("\xe2\x82\xac\xe2\x82\xac!", 1), "\xe2\x82\xac");
  EXPECT_EQ(LastCharacters("\xe2\x82\xac\xe2\x82\xac!", 2), "\xe2\x82\xac!");
}

// Windows' consoles take UTF-16: every character survives the way there and back, a surrogate
// pair included; an invalid byte becomes U+FFFD.
TEST(TextSafety, Utf16FromUtf8AndBack) {
  for (const std::string text : {"", "\xe2\x89\x88 Dossier \xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80"}) {
    EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8(text)), text);
  }
  EXPECT_EQ(Utf16FromUtf8("\xf0\x9f\x98\x80"), std::u16string(u"\xd83d\xde00"));
  EXPECT_EQ(Utf16FromUtf8("a\xff"), std::u16string(u"a\xfffd"));
}

// Terminal cells: wide characters two, combining marks none; cuts keep a character whole and
// with its marks.
TEST(TextSafety, CountsAndCutsInDisplayCells) {
  const std::string wide = "\xe6\x97\xa5\xe6\x9c\xac";  // two CJK ideographs
  const std::string decomposed = "e\xcc\x81t\xc3\xa9";  // e + combining acute, t, é
  const struct {
    std::string text;
    std::size_t cells;
    std::size_t cut;
    std::string first, last;
  } cases[] = {
      {wide + "ab", 6, 3, "\xe6\x97\xa5", "ab"},
      {decomposed, 3, 1, "e\xcc\x81", "\xc3\xa9"},
      {"a\xe2\x80\x8b"
       "b",
       2, 1, "a\xe2\x80\x8b", "b"},
      {"\xf0\x9f\x98\x80!", 3, 2, "\xf0\x9f\x98\x80", "!"},
  };
  for (const auto& test : cases) {
    EXPECT_EQ(DisplayCells(test.text), test.cells) << test.text;
    EXPECT_EQ(FirstCells(test.text, test.cut), test.first) << test.text;
    EXPECT_EQ(LastCells(test.text, test.cut), test.last) << test.text;
  }
}

}  // namespace
