#include <gtest/gtest.h>

#include <set>

#include "gdi_test_helpers.h"
#include "win32/user.h"

using gdi_test::Canvas;

namespace {

constexpr COLORREF kBackground = RGB(0, 128, 128);

// The colours an icon shows when drawn over the background, and how many pixels of each.
std::multiset<COLORREF> ColoursOf(HICON icon) {
  Canvas c(32, 32, 24);
  c.Fill(kBackground);
  EXPECT_TRUE(DrawIcon(c.dc, 0, 0, icon));
  std::multiset<COLORREF> colours;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) colours.insert(GetPixel(c.dc, x, y));
  return colours;
}

TEST(SystemIcons, EachStandardIconHasItsOwnLookOverATransparentCorner) {
  struct Case {
    LPCSTR id;
    const char* name;
    COLORREF signature;  // the colour that says what the icon is
  };
  const Case cases[] = {
      {IDI_APPLICATION, "application", RGB(0, 0, 128)}, {IDI_HAND, "hand", RGB(255, 0, 0)},
      {IDI_QUESTION, "question", RGB(0, 0, 255)},       {IDI_EXCLAMATION, "exclamation", RGB(255, 255, 0)},
      {IDI_ASTERISK, "asterisk", RGB(0, 0, 255)},
  };
  std::set<std::multiset<COLORREF>> looks;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HICON icon = LoadIconA(nullptr, c.id);
    ASSERT_NE(icon, nullptr);
    const std::multiset<COLORREF> colours = ColoursOf(icon);
    EXPECT_GT(colours.count(c.signature), 20u);
    EXPECT_GT(colours.count(kBackground), 100u);  // the corners let the background through
    looks.insert(colours);

    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObject(info.hbmColor, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 32);
    EXPECT_EQ(bm.bmHeight, 32);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
  }
  EXPECT_EQ(looks.size(), std::size(cases));
  // The aliases name the same icons.
  EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), LoadIconA(nullptr, IDI_HAND));
  EXPECT_EQ(LoadIconA(nullptr, IDI_WARNING), LoadIconA(nullptr, IDI_EXCLAMATION));
  EXPECT_EQ(LoadIconA(nullptr, IDI_INFORMATION), LoadIconA(nullptr, IDI_ASTERISK));
}

TEST(SystemIcons, AreSharedAndOutliveDestroyIcon) {
  HICON icon = LoadIconA(nullptr, IDI_QUESTION);
  EXPECT_EQ(LoadIconA(nullptr, IDI_QUESTION), icon);
  const std::multiset<COLORREF> before = ColoursOf(icon);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_EQ(ColoursOf(icon), before);
  // A copy is the caller's own and goes away.
  HICON copy = CopyIcon(icon);
  EXPECT_TRUE(DestroyIcon(copy));
  EXPECT_FALSE(DestroyIcon(copy));
}

TEST(SystemIcons, OnlyTheSystemsIdsAreKnown) {
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(32511)), nullptr);
  EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(32517)), nullptr);
  EXPECT_EQ(LoadIconA(reinterpret_cast<HINSTANCE>(1), IDI_HAND), nullptr);
  EXPECT_EQ(LoadIconA(nullptr, "MAINICON"), nullptr);
}

}  // namespace
