// Text drawn on small DIB sections: two colours only, palette matching, alignment, rotation,
// backgrounds, clipping and spacing.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "gdi_text_canvas.h"

namespace {

SIZE Extent(HDC dc, const std::string& s) {
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size));
  return size;
}

TEXTMETRICA Metrics(HDC dc) {
  TEXTMETRICA tm{};
  EXPECT_TRUE(GetTextMetricsA(dc, &tm));
  return tm;
}

void Out(HDC dc, int x, int y, const std::string& s) {
  ASSERT_TRUE(TextOutA(dc, x, y, s.data(), static_cast<int>(s.size())));
}

TEST(TextDraw, InkIsNeverBlended) {
  struct Case {
    const char* face;
    LONG height, escapement, weight;
    BYTE italic;
  };
  const Case cases[] = {
      {"Arial", -20, 0, FW_NORMAL, 0},
      {"Times New Roman", -15, 0, FW_BOLD, 1},
      {"Courier New", -13, 450, FW_NORMAL, 0},
      {"MS Sans Serif", -11, 0, FW_BOLD, 1},
  };
  for (const Case& c : cases) {
    TextCanvas canvas(160, 100);
    SelectedFont font(canvas.dc(), c.face, c.height, c.escapement, c.weight, c.italic);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    Out(canvas.dc(), 10, 40, "Wg&@ Quality");
    std::set<DWORD> colours;
    for (DWORD v : canvas.Snapshot()) colours.insert(v);
    EXPECT_EQ(colours, (std::set<DWORD>{RGB(0, 0, 0), RGB(255, 255, 255)})) << c.face;
  }
}

TEST(TextDraw, ColourLandsOnTheNearestPaletteEntry) {
  const std::vector<RGBQUAD> palette = {
      {255, 255, 255, 0}, {0, 0, 0, 0}, {0, 0, 255, 0}, {200, 0, 0, 0}, {0, 128, 0, 0}};
  struct Case {
    COLORREF colour;
    DWORD entry;
  };
  const Case cases[] = {{RGB(250, 10, 10), 2}, {RGB(0, 0, 180), 3}, {RGB(20, 100, 30), 4}, {RGB(40, 40, 40), 1}};
  for (const Case& c : cases) {
    TextCanvas canvas(100, 40, palette);
    SelectedFont font(canvas.dc(), "Arial", -24, 0, FW_BOLD);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextColor(canvas.dc(), c.colour);
    Out(canvas.dc(), 2, 2, "Hello");
    std::set<DWORD> entries;
    for (DWORD v : canvas.Snapshot()) entries.insert(v);
    EXPECT_EQ(entries, (std::set<DWORD>{0, c.entry})) << std::hex << c.colour;
  }
}

TEST(TextDraw, AlignmentPlacesTheReferencePoint) {
  TextCanvas canvas(300, 100);
  SelectedFont font(canvas.dc(), "Arial", -20);
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), RGB(255, 0, 0));  // the cell shows exactly where the text lies
  const SIZE size = Extent(canvas.dc(), "Align");
  const TEXTMETRICA tm = Metrics(canvas.dc());
  struct Case {
    UINT align;
    RECT cell;
  };
  const Case cases[] = {
      {TA_LEFT | TA_TOP, {150, 50, 150 + size.cx, 50 + size.cy}},
      {TA_RIGHT | TA_TOP, {150 - size.cx, 50, 150, 50 + size.cy}},
      {TA_CENTER | TA_TOP, {150 - size.cx / 2, 50, 150 - size.cx / 2 + size.cx, 50 + size.cy}},
      {TA_LEFT | TA_BASELINE, {150, 50 - tm.tmAscent, 150 + size.cx, 50 + tm.tmDescent}},
      {TA_LEFT | TA_BOTTOM, {150, 50 - size.cy, 150 + size.cx, 50}},
  };
  for (const Case& c : cases) {
    TextCanvas fresh(300, 100);
    SelectedFont f(fresh.dc(), "Arial", -20);
    SetBkColor(fresh.dc(), RGB(255, 0, 0));
    EXPECT_EQ(SetTextAlign(fresh.dc(), c.align), 0u);
    EXPECT_EQ(GetTextAlign(fresh.dc()), c.align);
    Out(fresh.dc(), 150, 50, "Align");
    const RECT box = fresh.InkBox();
    EXPECT_EQ(std::vector<LONG>({box.left, box.top, box.right, box.bottom}),
              std::vector<LONG>({c.cell.left, c.cell.top, c.cell.right, c.cell.bottom}))
        << c.align;
    EXPECT_EQ(fresh.InkCount(), size.cx * size.cy) << c.align;  // the whole cell, nothing more
  }
}

TEST(TextDraw, UpdateCpContinuesWhereTheLastTextEnded) {
  TextCanvas canvas(200, 40);
  SelectedFont font(canvas.dc(), "Arial", -16);
  SetTextAlign(canvas.dc(), TA_UPDATECP);
  Out(canvas.dc(), 50, 20, "one");  // drawn at the current position (0, 0), not at (50, 20)
  Out(canvas.dc(), 50, 20, "two");
  POINT cp{};
  GetCurrentPositionEx(canvas.dc(), &cp);
  const int one = Extent(canvas.dc(), "one").cx, two = Extent(canvas.dc(), "two").cx;
  EXPECT_EQ(cp.x, one + two);
  EXPECT_EQ(cp.y, 0);
  const RECT ink = canvas.InkBox();
  EXPECT_LT(ink.left, 3);
  EXPECT_LT(ink.top, 5);
  EXPECT_LE(ink.right, one + two + 1);

  SetTextAlign(canvas.dc(), TA_UPDATECP | TA_RIGHT);  // right-aligned text moves the position back
  Out(canvas.dc(), 0, 0, "two");
  GetCurrentPositionEx(canvas.dc(), &cp);
  EXPECT_EQ(cp.x, one);
}

TEST(TextDraw, EscapementTurnsTheBaselineAroundTheReferencePoint) {
  struct Case {
    LONG escapement;
    // Where the ink must lie, relative to the reference point (100, 100): the sign of each
    // side's distance (-1 before the point, +1 after it, 0 around it).
    int left, top, right, bottom;
  };
  const Case cases[] = {
      {0, 0, -1, +1, 0},  // rightwards, above the baseline
      {900, -1, -1, 0, 0},  // upwards, the letters' tops to the left
      {1800, -1, 0, 0, +1},  // leftwards, upside down
      {2700, 0, 0, +1, +1},  // downwards
  };
  for (const Case& c : cases) {
    TextCanvas canvas(200, 200);
    SelectedFont font(canvas.dc(), "Arial", -20, c.escapement);
    SetBkMode(canvas.dc(), TRANSPARENT);
    SetTextAlign(canvas.dc(), TA_LEFT | TA_BASELINE);
    const SIZE size = Extent(canvas.dc(), "HHHH");
    Out(canvas.dc(), 100, 100, "HHHH");
    const RECT box = canvas.InkBox();
    ASSERT_LT(box.left, box.right) << c.escapement;
    const bool vertical = c.escapement == 900 || c.escapement == 2700;
    const LONG along = vertical ? box.bottom - box.top : box.right - box.left;
    EXPECT_NEAR(along, size.cx, 3) << c.escapement;  // the extent is the unrotated one
    auto side = [](LONG edge, LONG ref, int sign) {
      if (sign < 0) return edge < ref - 4;
      if (sign > 0) return edge > ref + 4;
      return edge >= ref - 3 && edge <= ref + 3;
    };
    EXPECT_TRUE(side(box.left, 100, c.left)) << c.escapement << " left " << box.left;
    EXPECT_TRUE(side(box.top, 100, c.top)) << c.escapement << " top " << box.top;
    EXPECT_TRUE(side(box.right, 100, c.right)) << c.escapement << " right " << box.right;
    EXPECT_TRUE(side(box.bottom, 100, c.bottom)) << c.escapement << " bottom " << box.bottom;
  }
}

TEST(TextDraw, ExtTextOutFillsClipsAndSpaces) {
  TextCanvas canvas(200, 60);
  SelectedFont font(canvas.dc(), "Arial", -30);
  SetBkMode(canvas.dc(), TRANSPARENT);
  SetBkColor(canvas.dc(), RGB(0, 255, 0));
  const RECT rect{20, 10, 60, 40};
  ASSERT_TRUE(ExtTextOutA(canvas.dc(), 30, 5, ETO_OPAQUE | ETO_CLIPPED, &rect, "MMMM", 4, nullptr));
  for (int y = 0; y < canvas.height(); ++y)
    for (int x = 0; x < canvas.width(); ++x) {
      const bool inside = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
      if (!inside) {
        ASSERT_EQ(canvas.At(x, y), RGB(255, 255, 255)) << x << "," << y;
      }
    }
  EXPECT_EQ(canvas.At(21, 11), RGB(0, 255, 0));

  // Spacing: the second "l" starts exactly dx[0] after the first.
  TextCanvas spaced(200, 60);
  SelectedFont f(spaced.dc(), "Arial", -30);
  const INT dx[] = {57, 0};
  ASSERT_TRUE(ExtTextOutA(spaced.dc(), 10, 5, 0, nullptr, "ll", 2, dx));
  std::vector<int> starts;
  for (int x = 0, prev = 0; x < spaced.width(); ++x) {
    int ink = 0;
    for (int y = 0; y < spaced.height(); ++y) ink |= spaced.At(x, y) != RGB(255, 255, 255);
    if (ink && !prev) starts.push_back(x);
    prev = ink;
  }
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[1] - starts[0], 57);
}

TEST(TextDraw, OpaqueCellOfAFarReachingTurnedRunFillsTheSurfacePart) {
  // The cell reaches a billion pixels up and right, far past the surface it is drawn on.
  TextCanvas canvas(60, 60);
  SelectedFont font(canvas.dc(), "Arial", -20, 450);
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), RGB(0, 255, 0));
  SetTextAlign(canvas.dc(), TA_LEFT | TA_BASELINE);
  const INT dx[] = {1 << 30, 0};
  ASSERT_TRUE(ExtTextOutA(canvas.dc(), 5, 55, 0, nullptr, "ll", 2, dx));
  EXPECT_EQ(canvas.At(50, 10), RGB(0, 255, 0));  // on the baseline, past the first letter
  EXPECT_EQ(canvas.At(58, 2), RGB(0, 255, 0));  // at the surface's corner
  EXPECT_EQ(canvas.At(5, 5), RGB(255, 255, 255));  // beyond the ascent
  EXPECT_EQ(canvas.At(55, 55), RGB(255, 255, 255));  // beyond the descent
}

TEST(TextDraw, Utf8AndWindows1252BytesDrawTheSameCharacter) {
  TextCanvas a(80, 40), b(80, 40), c(80, 40);
  for (TextCanvas* canvas : {&a, &b, &c}) SetBkMode(canvas->dc(), TRANSPARENT);
  SelectedFont fa(a.dc(), "Arial", -20), fb(b.dc(), "Arial", -20), fc(c.dc(), "Arial", -20);
  Out(a.dc(), 5, 5, "caf\xC3\xA9");  // UTF-8
  Out(b.dc(), 5, 5, "caf\xE9");  // Windows-1252
  Out(c.dc(), 5, 5, "caf\xC3\xA9\xE9");  // not UTF-8 as a whole: every byte is 1252
  EXPECT_EQ(a.Snapshot(), b.Snapshot());
  EXPECT_GT(a.InkCount(), 0);
  EXPECT_EQ(Extent(a.dc(), "caf\xC3\xA9").cx, Extent(b.dc(), "caf\xE9").cx);
  EXPECT_GT(Extent(c.dc(), "caf\xC3\xA9\xE9").cx, Extent(a.dc(), "caf\xC3\xA9").cx + Extent(a.dc(), "\xE9").cx);
}

TEST(TextDraw, UnderlineAndStrikeOutSpanTheText) {
  TextCanvas plain(120, 40), lined(120, 40);
  SelectedFont fp(plain.dc(), "Arial", -20);
  LOGFONTA lf{};
  lf.lfHeight = -20;
  lf.lfUnderline = 1;
  lf.lfStrikeOut = 1;
  std::strcpy(lf.lfFaceName, "Arial");
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(lined.dc(), font);
  for (TextCanvas* c : {&plain, &lined}) {
    SetBkMode(c->dc(), TRANSPARENT);
    Out(c->dc(), 5, 5, "a  b");
  }
  const SIZE size = Extent(lined.dc(), "a  b");
  int rowsAcross = 0;  // rows inked along the whole text, gaps included
  for (int y = 0; y < lined.height(); ++y) {
    bool full = true;
    for (int x = 5; x < 5 + size.cx; ++x) full = full && lined.At(x, y) != RGB(255, 255, 255);
    rowsAcross += full;
  }
  EXPECT_GE(rowsAcross, 2);
  EXPECT_GT(lined.InkCount(), plain.InkCount());
  SelectObject(lined.dc(), old);
  DeleteObject(font);
}

}  // namespace
