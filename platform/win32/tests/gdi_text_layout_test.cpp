// DrawText's layout with made-up advances: every character 10 pixels, "i" 4.
#include <gtest/gtest.h>

#include "gdi/text_codec.h"
#include "gdi/text_layout.h"
#include "win32/text.h"

namespace {

int Advance(char32_t c) { return c == U'i' ? 4 : 10; }

std::vector<std::string> Lines(const std::string& text, UINT format, int width) {
  fonts::LayoutRules rules;
  rules.format = format;
  rules.width = width;
  rules.tabWidth = 80;
  std::vector<std::string> out;
  for (const fonts::LayoutLine& line : fonts::LayoutText(fonts::DecodeText(text).chars, Advance, rules))
    out.push_back(fonts::EncodeText(line.chars, true));
  return out;
}

using Strings = std::vector<std::string>;

TEST(TextLayout, BreaksLinesAndWords) {
  struct Case {
    std::string text;
    UINT format;
    int width;
    Strings lines;
  };
  const Case cases[] = {
      {"", DT_WORDBREAK, 100, {}},
      {"one two three", DT_WORDBREAK, 1000, {"one two three"}},
      {"one two three", DT_WORDBREAK, 70, {"one two", "three"}},
      {"one two three", DT_WORDBREAK, 69, {"one", "two", "three"}},
      {"one   two", DT_WORDBREAK, 50, {"one", "two"}},  // blanks at a break vanish
      {"abcdefghij", DT_WORDBREAK, 35, {"abcdefghij"}},  // a long word is not broken
      {"ab abcdefghij cd ef", DT_WORDBREAK, 50, {"ab", "abcdefghij", "cd ef"}},
      {"a\r\nb\rc\nd", 0, 10, {"a", "b", "c", "d"}},
      {"a\r\n\r\nb", DT_WORDBREAK, 100, {"a", "", "b"}},
      {"a\r\n", 0, 100, {"a"}},  // a final break starts no line
      {"a\r\nb", DT_SINGLELINE, 100, {"a\r\nb"}},
      {"one two", DT_SINGLELINE | DT_WORDBREAK, 30, {"one two"}},
      {"one two", 0, 30, {"one two"}},  // no word breaking asked
      {"x y", DT_WORDBREAK, 1, {"x", "y"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Lines(c.text, c.format, c.width), c.lines) << c.text << " / " << c.width;
}

TEST(TextLayout, PrefixesUnderlineTheNextCharacter) {
  struct Case {
    std::string text;
    UINT format;
    std::string shown;
    int underlined;
  };
  const Case cases[] = {
      {"&File", 0, "File", 0}, {"Save &As", 0, "Save As", 5}, {"Fish && Chips", 0, "Fish & Chips", -1},
      {"&&&x", 0, "&x", 1},    {"end&", 0, "end", -1},        {"&File", DT_NOPREFIX, "&File", -1},
  };
  for (const Case& c : cases) {
    fonts::LayoutRules rules;
    rules.format = c.format | DT_SINGLELINE;
    rules.width = 1000;
    const auto lines = fonts::LayoutText(fonts::DecodeText(c.text).chars, Advance, rules);
    ASSERT_EQ(lines.size(), 1u) << c.text;
    EXPECT_EQ(fonts::EncodeText(lines[0].chars, true), c.shown) << c.text;
    EXPECT_EQ(lines[0].underlined, c.underlined) << c.text;
    int width = 0;
    for (char ch : c.shown) width += Advance(static_cast<unsigned char>(ch));
    EXPECT_EQ(lines[0].width, width) << c.text;
  }
}

TEST(TextLayout, EllipsesKeepTheTextInsideTheWidth) {
  struct Case {
    std::string text;
    UINT format;
    int width;
    std::string shown;
  };
  const Case cases[] = {
      {"c:\\windows\\logos\\logo.sys", DT_PATH_ELLIPSIS, 1000, "c:\\windows\\logos\\logo.sys"},
      {"c:\\windows\\logos\\logo.sys", DT_PATH_ELLIPSIS, 200, "c:\\windo...\\logo.sys"},
      {"c:\\windows\\logos\\logo.sys", DT_PATH_ELLIPSIS, 120, "...\\logo.sys"},
      {"no separators here", DT_PATH_ELLIPSIS, 100, "no sepa..."},
      {"a long caption", DT_END_ELLIPSIS, 100, "a long ..."},
      {"short", DT_END_ELLIPSIS, 100, "short"},
  };
  for (const Case& c : cases) {
    const Strings lines = Lines(c.text, c.format | DT_SINGLELINE | DT_NOPREFIX, c.width);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], c.shown) << c.text << " / " << c.width;
  }
}

TEST(TextLayout, TabsExpandToStopsOnlyWhenAsked) {
  fonts::LayoutRules rules;
  rules.tabWidth = 80;
  rules.format = DT_EXPANDTABS;
  EXPECT_EQ(fonts::CharPositions(U"ab\tc\td", Advance, rules), (std::vector<int>{0, 10, 20, 80, 90, 160, 170}));
  rules.format = 0;
  EXPECT_EQ(fonts::CharPositions(U"a\tb", Advance, rules), (std::vector<int>{0, 10, 20, 30}));
}

TEST(TextCodec, ValidUtf8IsUtf8AndAnythingElseIsWindows1252) {
  struct Case {
    std::string bytes;
    std::u32string chars;
    bool utf8;
  };
  const Case cases[] = {
      {"plain", U"plain", true},
      {"caf\xC3\xA9", U"caf\u00E9", true},
      {"\xE2\x82\xAC 5", U"\u20AC 5", true},
      {"caf\xE9", U"caf\u00E9", false},  // 1252 e-acute
      {"\x80 5", U"\u20AC 5", false},  // 1252 euro sign
      {"\x93quoted\x94", U"\u201Cquoted\u201D", false},
      {"\xC0\xAF", U"\u00C0\u00AF", false},  // overlong UTF-8 is not UTF-8
      {"\xED\xA0\x80", U"\u00ED\u00A0\u20AC", false},  // a surrogate neither
      {"\xC3", U"\u00C3", false},  // cut short
      {"\x81", U"\u0081", false},  // undefined in 1252: kept
  };
  for (const Case& c : cases) {
    const fonts::DecodedText t = fonts::DecodeText(c.bytes);
    EXPECT_EQ(t.chars, c.chars) << c.bytes;
    EXPECT_EQ(t.utf8, c.utf8) << c.bytes;
    EXPECT_EQ(t.firstByte.size(), t.chars.size() + 1);
    EXPECT_EQ(fonts::EncodeText(t.chars, t.utf8), c.bytes) << "round trip of " << c.bytes;
  }
}

}  // namespace
