// Frames, bevels and borders on chosen sides, pixel by pixel.
#include <gtest/gtest.h>

#include "components/zev_draw.h"
#include "pixel_rows.h"

namespace {

using Picture = std::vector<std::string>;

struct BorderCase {
  const char* name;
  TFrameStyle style;
  TSides sides;
  Picture expected;
  TRect inner;
};

TEST(ZevDraw, BorderStylesOnEachSetOfSides) {
  const std::vector<BorderCase> cases = {
      {"groove all",
       TFrameStyle::fsGroove,
       kAllSides,
       {"sssssh", "shhhsh", "sh..sh", "sh..sh", "sssssh", "hhhhhh"},
       {2, 2, 4, 4}},
      {"groove left and top",
       TFrameStyle::fsGroove,
       {sdLeft, sdTop},
       {"ssssss", "shhhhh", "sh....", "sh....", "sh....", "sh...."},
       {2, 2, 6, 6}},
      {"bump right and bottom",
       TFrameStyle::fsBump,
       {sdRight, sdBottom},
       {"....hs", "....hs", "....hs", "....hs", "hhhhhs", "ssssss"},
       {0, 0, 4, 4}},
      {"lowered all",
       TFrameStyle::fsLowered,
       kAllSides,
       {"sssssh", "skkkfh", "sk..fh", "sk..fh", "sffffh", "hhhhhh"},
       {2, 2, 4, 4}},
      {"raised top",
       TFrameStyle::fsRaised,
       {sdTop},
       {"ffffff", "hhhhhh", "......", "......", "......", "......"},
       {0, 2, 6, 6}},
      {"flat left and right",
       TFrameStyle::fsFlat,
       {sdLeft, sdRight},
       {"k....k", "k....k", "k....k", "k....k", "k....k", "k....k"},
       {1, 0, 5, 6}},
      {"popup bottom",
       TFrameStyle::fsPopup,
       {sdBottom},
       {"......", "......", "......", "......", "......", "ssssss"},
       {0, 0, 6, 5}},
      {"none all",
       TFrameStyle::fsNone,
       kAllSides,
       {"......", "......", "......", "......", "......", "......"},
       {0, 0, 6, 6}},
  };
  for (const BorderCase& c : cases) {
    auto b = Background(6, 6);
    const TRect inner = DrawBorder(b->Canvas(), {0, 0, 6, 6}, c.style, c.sides);
    EXPECT_EQ(Rows(b->Canvas(), 0, 0, 6, 6), c.expected) << c.name;
    EXPECT_EQ(inner.left, c.inner.left) << c.name;
    EXPECT_EQ(inner.top, c.inner.top) << c.name;
    EXPECT_EQ(inner.right, c.inner.right) << c.name;
    EXPECT_EQ(inner.bottom, c.inner.bottom) << c.name;
  }
}

TEST(ZevDraw, NoSidesDrawsNothingAndKeepsTheRectangleForEveryStyle) {
  for (int s = 0; s <= static_cast<int>(TFrameStyle::fsPopup); ++s) {
    auto b = Background(6, 6);
    const TRect inner = DrawBorder(b->Canvas(), {0, 0, 6, 6}, static_cast<TFrameStyle>(s), {});
    EXPECT_EQ(Rows(b->Canvas(), 0, 0, 6, 6), Picture(6, "......")) << s;
    EXPECT_EQ(inner.right - inner.left, 6) << s;
    EXPECT_EQ(inner.bottom - inner.top, 6) << s;
  }
}

TEST(ZevDraw, BevelsStackInwardAndACountOfZeroDrawsNothing) {
  auto b = Background(6, 6);
  TRect r = DrawBevel(b->Canvas(), {0, 0, 6, 6}, clRed, kAllSides, 0, clBlue);
  EXPECT_EQ(Rows(b->Canvas(), 0, 0, 6, 6), Picture(6, "......"));
  EXPECT_EQ(r.left, 0);
  r = DrawBevel(b->Canvas(), {0, 0, 6, 6}, clRed, {sdLeft, sdBottom}, 2, clBlue);
  EXPECT_EQ(Rows(b->Canvas(), 0, 0, 6, 6), (Picture{"rr....", "rr....", "rr....", "rr....", "rbbbbb", "bbbbbb"}));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 4);
  EXPECT_EQ(r.top, 0);
}

TEST(ZevDraw, FrameWidthsAndLineHeight) {
  EXPECT_EQ(FrameWidth(TFrameStyle::fsNone), 0);
  EXPECT_EQ(FrameWidth(TFrameStyle::fsStatus), 1);
  EXPECT_EQ(FrameWidth(TFrameStyle::fsPopup), 1);
  EXPECT_EQ(FrameWidth(TFrameStyle::fsGroove), 2);
  EXPECT_EQ(FrameWidth(TFrameStyle::fsButtonUp), 2);
  TFont small, big;
  small.SetHeight(-4);
  big.SetHeight(-40);
  HDC dc = GetDC(nullptr);
  TEXTMETRICA screen{}, own{};
  GetTextMetricsA(dc, &screen);
  SelectObject(dc, big.Handle());
  GetTextMetricsA(dc, &own);
  SelectObject(dc, GetStockObject(SYSTEM_FONT));
  ReleaseDC(nullptr, dc);
  // A quarter of the smaller height: the screen font's for a big font.
  EXPECT_EQ(LineHeight(&big), own.tmHeight + screen.tmHeight / 4);
  EXPECT_LT(LineHeight(&small), screen.tmHeight);
  EXPECT_EQ(LastChar("ab\\"), '\\');
  EXPECT_EQ(LastChar(""), '\0');
}

}  // namespace
