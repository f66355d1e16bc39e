#include <gtest/gtest.h>

#include "vcl/sysutils.h"

TEST(Format, FormatsEachFieldType) {
  struct Case {
    std::string expected;
    std::string actual;
  };
  const Case cases[] = {
      {"42", Format("%d", {42})},
      {"-7", Format("%d", {-7})},
      {"  42|42  ", Format("%4d|%-4d", {42, 42})},
      {"-007", Format("%.3d", {-7})},
      {"800x600", Format("%dx%d", {800, 600})},
      {"4294967295", Format("%u", {-1})},
      {"4000000000 EE6B2800", Format("%d %x", {4000000000u, 4000000000u})},
      {"FF 00FF FFFFFFFF", Format("%x %.4x %x", {255, 255, -1})},
      {"ab|  abc|ab", Format("%.2s|%5s|%s", {"abcd", "abc", std::string("ab")})},
      {"c", Format("%s", {'c'})},
      {"3.14|2.50|3|0.13", Format("%.2f|%f|%.0f|%.2f", {3.14159, 2.5, 2.5, 0.125})},
      {"1,234,567.89", Format("%n", {1234567.891})},
      {"1.23450000000000E+003", Format("%e", {1234.5})},
      {"-1.50E-002", Format("%.3e", {-0.015})},
      {"1234.5|0.25|100", Format("%g|%g|%g", {1234.5, 0.25, 100.0})},
      {"  abc", Format("%*s", {5, "abc"})},
      {"12.35", Format("%.*f", {2, 12.345})},
      {"b a b", Format("%1:s %0:s %s", {"a", "b"})},
      {"100%", Format("%d%%", {100})},
      {"bits, 8 bits", Format("bits, %d bits", {8})},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(Format, ArgumentsThatDoNotFitRaiseEConvertError) {
  EXPECT_THROW(Format("%d", {"text"}), EConvertError);
  EXPECT_THROW(Format("%s", {3}), EConvertError);
  EXPECT_THROW(Format("%f", {3}), EConvertError);
  EXPECT_THROW(Format("%d %d", {3}), EConvertError);
  EXPECT_THROW(Format("%", {3}), EConvertError);
  EXPECT_THROW(Format("%q", {3}), EConvertError);
  try {
    Format("%d", {"x"});
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "Format '%d' invalid or incompatible with argument");
  }
}

TEST(Exception, CreateFmtFormatsTheMessage) {
  const Exception e("List index out of bounds (%d)", {5});
  EXPECT_EQ(e.Message, "List index out of bounds (5)");
  EXPECT_STREQ(e.what(), "List index out of bounds (5)");
}

TEST(IntegerText, ConvertsBothWays) {
  EXPECT_EQ(IntToStr(-1234567890123LL), "-1234567890123");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(0xABCDEF, 2), "ABCDEF");

  struct Case {
    const char* text;
    bool valid;
    int value;
  };
  const Case cases[] = {{"123", true, 123},
                        {"  -45", true, -45},
                        {"+7", true, 7},
                        {"$FF", true, 255},
                        {"$ffffffff", true, -1},
                        {"2147483647", true, 2147483647},
                        {"-2147483648", true, INT32_MIN},
                        {"2147483648", false, 0},
                        {"", false, 0},
                        {"12a", false, 0},
                        {"1.5", false, 0},
                        {"12 ", false, 0},
                        {"$", false, 0},
                        {"-", false, 0},
                        {"$123456789", false, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(StrToIntDef(c.text, -99), c.valid ? c.value : -99) << c.text;
    if (c.valid) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
    else
      EXPECT_THROW(StrToInt(c.text), EConvertError) << c.text;
  }
  try {
    StrToInt("abc");
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message, "'abc' is not a valid integer value");
  }
}

TEST(FloatText, GeneralFormatWithFifteenDigits) {
  struct Case {
    long double value;
    const char* text;
  };
  const Case cases[] = {{0, "0"},
                        {1.5L, "1.5"},
                        {-2.25L, "-2.25"},
                        {100, "100"},
                        {0.1L, "0.1"},
                        {1e-5L, "1E-5"},
                        {0.0001L, "0.0001"},
                        {1e15L, "1E15"},
                        {123456789012345.0L, "123456789012345"},
                        {1.0L / 3, "0.333333333333333"},
                        {2.5e-7L, "2.5E-7"},
                        {24, "24"}};
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text);
}

TEST(FloatText, StrToFloatReadsDecimalNotationOnly) {
  EXPECT_EQ(StrToFloat(" 1.5 "), 1.5L);
  EXPECT_EQ(StrToFloat("-2e3"), -2000.0L);
  EXPECT_EQ(StrToFloat(".5"), 0.5L);
  for (const char* bad : {"", "abc", "0x10", "inf", "nan", "1.5x", "1e", "."})
    EXPECT_THROW(StrToFloat(bad), EConvertError) << bad;
}

TEST(TextRoutines, CaseAndTrimAreAscii) {
  EXPECT_EQ(UpperCase("Q&a single \xE4"), "Q&A SINGLE \xE4");
  EXPECT_EQ(LowerCase("Q&A \xC4"), "q&a \xC4");
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_GT(CompareText("abcd", "ABC"), 0);
  EXPECT_NE(CompareStr("abc", "ABC"), 0);
  EXPECT_LT(CompareStr("ABC", "abc"), 0);
  EXPECT_TRUE(SameText("Header", "HEADER"));
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("  a "), "a ");
  EXPECT_EQ(TrimRight("  a \x01"), "  a");
}

// Replacements are not searched again, so a replacement holding the pattern ends.
TEST(TextRoutines, StringReplaceAllReplacesLeftToRightOnce) {
  EXPECT_EQ(StringReplaceAll("a||b||", "||", "\r\n"), "a\r\nb\r\n");
  EXPECT_EQ(StringReplaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(StringReplaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(StringReplaceAll("abc", "", "x"), "abc");
}

// In turn: a later placeholder is found in what an earlier one put in.
TEST(TextRoutines, StringReplaceEachFillsThePlaceholdersInTurn) {
  EXPECT_EQ(StringReplaceEach("@A@ and @B@", {{"@A@", "@B@1"}, {"@B@", "2"}}), "21 and 2");
  EXPECT_EQ(StringReplaceEach("@A@", {}), "@A@");
}

TEST(FileNames, SplitWindowsPaths) {
  struct Case {
    const char *path, *folder, *name, *ext, *changed;
  };
  const Case cases[] = {
      {"c:\\windows\\logo.sys", "c:\\windows\\", "logo.sys", ".sys", "c:\\windows\\logo.bmp"},
      {"c:logo.sys", "c:", "logo.sys", ".sys", "c:logo.bmp"},
      {"logo", "", "logo", "", "logo.bmp"},
      {"c:\\dir.d\\file", "c:\\dir.d\\", "file", "", "c:\\dir.d\\file.bmp"},
      {"a.b.c", "", "a.b.c", ".c", "a.b.bmp"},
      {"c:\\jokes\\", "c:\\jokes\\", "", "", "c:\\jokes\\.bmp"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
    EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
    EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
    EXPECT_EQ(ChangeFileExt(c.path, ".bmp"), c.changed) << c.path;
  }
}
