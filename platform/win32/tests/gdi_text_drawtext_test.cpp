// DrawTextA on a DIB section: wrapped heights, rectangles, vertical placement, prefixes, ellipses.
#include <gtest/gtest.h>

#include <string>

#include "gdi_text_canvas.h"

namespace {

int Width(HDC dc, const std::string& s) {
  SIZE size{};
  GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
  return size.cx;
}

LONG LineHeight(HDC dc) {
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  return tm.tmHeight;
}

std::string Words(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += i ? " word" : "word";
  return s;
}

TEST(DrawText, CalcRectGivesOneLineHeightPerWrappedLine) {
  TextCanvas canvas(10, 10);
  SelectedFont font(canvas.dc(), "Arial", -16, 0, FW_BOLD);
  const LONG line = LineHeight(canvas.dc());
  const int three = Width(canvas.dc(), Words(3));
  struct Case {
    int words, width, lines;
  };
  const Case cases[] = {{1, three, 1}, {3, three, 1}, {4, three, 2}, {9, three, 3}, {10, three, 4}, {10, three - 1, 5}};
  for (const Case& c : cases) {
    const std::string text = Words(c.words);
    RECT r{20, 7, 20 + c.width, 380};
    const int height =
        DrawTextA(canvas.dc(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    EXPECT_EQ(height, c.lines * line) << c.words << " words in " << c.width;
    EXPECT_EQ(r.bottom, 7 + c.lines * line);
    EXPECT_EQ(r.left, 20);
    EXPECT_LE(r.right, 20 + c.width);
    EXPECT_EQ(r.right - r.left, Width(canvas.dc(), Words(std::min(c.words, c.width >= three ? 3 : 2))));
  }
  // A word wider than the rectangle keeps its own line and widens the rectangle.
  const int wide = Width(canvas.dc(), "Unbreakable");
  RECT narrow{0, 0, wide / 2, 0};
  EXPECT_EQ(DrawTextA(canvas.dc(), "a Unbreakable b", -1, &narrow, DT_CALCRECT | DT_WORDBREAK), 3 * line);
  EXPECT_EQ(narrow.right, wide);
  // Explicit line breaks count as well; single-line text ignores them.
  RECT r{0, 0, 1000, 0};
  EXPECT_EQ(DrawTextA(canvas.dc(), "a\r\nb\nc", -1, &r, DT_CALCRECT), 3 * line);
  r = {0, 0, 1000, 0};
  EXPECT_EQ(DrawTextA(canvas.dc(), "a\r\nb\nc", -1, &r, DT_CALCRECT | DT_SINGLELINE), line);
  r = {5, 5, 5, 5};
  EXPECT_EQ(DrawTextA(canvas.dc(), "", -1, &r, DT_CALCRECT), 0);
  EXPECT_EQ(r.right, 5);
  EXPECT_EQ(r.bottom, 5);
}

TEST(DrawText, DrawnLinesStayInsideTheRectangle) {
  TextCanvas canvas(200, 120);
  SelectedFont font(canvas.dc(), "Times New Roman", -18);
  SetBkMode(canvas.dc(), TRANSPARENT);
  const std::string text = Words(12);
  RECT measure{20, 10, 180, 0};
  const int height = DrawTextA(canvas.dc(), text.c_str(), -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
  RECT r{20, 10, 180, 60};  // cut short: the lines below 60 are clipped away
  EXPECT_EQ(DrawTextA(canvas.dc(), text.c_str(), -1, &r, DT_WORDBREAK | DT_CENTER), height);
  const RECT ink = canvas.InkBox();
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.right, 180);
  EXPECT_GE(ink.top, 10);
  EXPECT_EQ(ink.bottom, 60);  // the third line is cut at the rectangle's bottom

  TextCanvas unclipped(200, 120);
  SelectedFont f(unclipped.dc(), "Times New Roman", -18);
  RECT small{20, 10, 180, 60};
  DrawTextA(unclipped.dc(), text.c_str(), -1, &small, DT_WORDBREAK | DT_CENTER | DT_NOCLIP);
  EXPECT_GT(unclipped.InkBox().bottom, 60);
}

TEST(DrawText, HorizontalAndVerticalPlacement) {
  struct Case {
    UINT format;
    int expectLeft;  // -1: centred
    bool vcentre, bottom;
  };
  const Case cases[] = {
      {DT_SINGLELINE | DT_LEFT | DT_TOP, 10, false, false},
      {DT_SINGLELINE | DT_RIGHT | DT_BOTTOM, -2, false, true},
      {DT_SINGLELINE | DT_CENTER | DT_VCENTER, -1, true, false},
  };
  for (const Case& c : cases) {
    TextCanvas canvas(200, 100);
    SelectedFont font(canvas.dc(), "Arial", -14);
    SetBkMode(canvas.dc(), OPAQUE);
    SetBkColor(canvas.dc(), RGB(0, 0, 255));  // the cell marks the line
    const int width = Width(canvas.dc(), "Placed");
    const LONG line = LineHeight(canvas.dc());
    RECT r{10, 10, 190, 90};
    const int result = DrawTextA(canvas.dc(), "Placed", -1, &r, c.format);
    const RECT ink = canvas.InkBox();
    const LONG left = c.expectLeft == 10 ? 10 : c.expectLeft == -2 ? 190 - width : 10 + (180 - width) / 2;
    const LONG top = c.bottom ? 90 - line : c.vcentre ? 10 + (80 - line) / 2 : 10;
    EXPECT_EQ(ink.left, left) << c.format;
    EXPECT_EQ(ink.right, left + width) << c.format;
    EXPECT_EQ(ink.top, top) << c.format;
    EXPECT_EQ(ink.bottom, top + line) << c.format;
    EXPECT_EQ(result, top - 10 + line) << c.format;
  }
}

TEST(DrawText, PrefixUnderlinesOnlyTheMarkedCharacter) {
  auto draw = [](const char* text, UINT format) {
    auto canvas = std::make_unique<TextCanvas>(100, 40);
    SelectedFont font(canvas->dc(), "Arial", -20);
    SetBkMode(canvas->dc(), TRANSPARENT);
    RECT r{0, 0, 100, 40};
    DrawTextA(canvas->dc(), text, -1, &r, format | DT_SINGLELINE);
    return canvas->Snapshot();
  };
  auto out = [](const char* text) {
    TextCanvas canvas(100, 40);
    SelectedFont font(canvas.dc(), "Arial", -20);
    SetBkMode(canvas.dc(), TRANSPARENT);
    TextOutA(canvas.dc(), 0, 0, text, static_cast<int>(std::strlen(text)));
    return canvas.Snapshot();
  };
  EXPECT_EQ(draw("Fish && Chips", 0), out("Fish & Chips"));
  EXPECT_EQ(draw("&File", DT_NOPREFIX), out("&File"));
  const std::vector<DWORD> prefixed = draw("&File", 0), plain = out("File");
  ASSERT_NE(prefixed, plain);
  // The difference is a line under the "F" alone.
  TextCanvas probe(10, 10);
  SelectedFont font(probe.dc(), "Arial", -20);
  TEXTMETRICA tm{};
  GetTextMetricsA(probe.dc(), &tm);
  const int fWidth = Width(probe.dc(), "F");
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (prefixed[i] == plain[i]) continue;
    const int x = static_cast<int>(i % 100), y = static_cast<int>(i / 100);
    EXPECT_LT(x, fWidth) << x << "," << y;
    EXPECT_GE(y, tm.tmAscent) << x << "," << y;
  }
}

TEST(DrawText, PathEllipsisRewritesTheStringWhenAsked) {
  TextCanvas canvas(10, 10);
  SelectedFont font(canvas.dc(), "Arial", -11);
  const std::string path = "c:\\windows\\startup logos\\collection\\winter.sys";
  const int width = Width(canvas.dc(), "c:\\windows\\...\\winter.sys");
  char buffer[128];
  std::strcpy(buffer, path.c_str());
  RECT r{0, 0, width, 20};
  DrawTextA(canvas.dc(), buffer, -1, &r, DT_PATH_ELLIPSIS | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  EXPECT_EQ(std::string(buffer), path);  // without DT_MODIFYSTRING the text stays as it was

  r = {0, 0, width, 20};
  DrawTextA(canvas.dc(), buffer, -1, &r, DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_STREQ(buffer, "c:\\windows\\...\\winter.sys");  // as much of the start as fits

  std::strcpy(buffer, "short.sys");
  r = {0, 0, width, 20};
  DrawTextA(canvas.dc(), buffer, -1, &r, DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_SINGLELINE);
  EXPECT_STREQ(buffer, "short.sys");
}

TEST(DrawText, TabsExpandToEightAverageCharacters) {
  TextCanvas canvas(10, 10);
  SelectedFont font(canvas.dc(), "Arial", -13);
  TEXTMETRICA tm{};
  GetTextMetricsA(canvas.dc(), &tm);
  RECT r{0, 0, 1000, 0};
  DrawTextA(canvas.dc(), "a\tb", -1, &r, DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
  EXPECT_EQ(r.right, 8 * tm.tmAveCharWidth + Width(canvas.dc(), "b"));
}

}  // namespace
