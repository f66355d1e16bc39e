#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "gdi_test_helpers.h"
#include "win32/clipboard.h"
#include "win32/globalmem.h"

using gdi_test::Canvas;
using gdi_test::MakeInfo;

namespace {

TEST(GdiGlobalMemory, MoveableBlocksLockToTheirAddressAndCountLocks) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, 10);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 10u);
  auto* p = static_cast<BYTE*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  EXPECT_NE(static_cast<void*>(p), h);
  EXPECT_EQ(p[9], 0);
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_TRUE(GlobalUnlock(h));  // still locked once
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalFree(h), h);  // no longer a block
  HGLOBAL fixed = GlobalAlloc(GPTR, 4);
  EXPECT_EQ(GlobalLock(fixed), fixed);
  GlobalFree(fixed);
}

TEST(GdiClipboard, APackedDibGoesInAndComesBackOut) {
  // A 2x1 24-bit DIB packed into a block: header then pixels.
  auto info = MakeInfo(2, 1, 24);
  const BYTE pixels[8] = {1, 2, 3, 4, 5, 6, 0, 0};
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, sizeof(BITMAPINFOHEADER) + sizeof pixels);
  auto* p = static_cast<BYTE*>(GlobalLock(block));
  std::memcpy(p, &info.header, sizeof(BITMAPINFOHEADER));
  std::memcpy(p + sizeof(BITMAPINFOHEADER), pixels, sizeof pixels);
  GlobalUnlock(block);

  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(SetClipboardData(CF_DIB, block), nullptr);  // not emptied by this opener yet
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(CF_DIB, block), block);
  ASSERT_TRUE(CloseClipboard());

  EXPECT_TRUE(IsClipboardFormatAvailable(CF_DIB));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);  // only while open
  ASSERT_TRUE(OpenClipboard(nullptr));
  HGLOBAL got = GetClipboardData(CF_DIB);
  ASSERT_NE(got, nullptr);
  ASSERT_EQ(GlobalSize(got), sizeof(BITMAPINFOHEADER) + sizeof pixels);
  const auto* dib = static_cast<const BITMAPINFO*>(GlobalLock(got));
  Canvas c(2, 1, 32);
  EXPECT_EQ(StretchDIBits(c.dc, 0, 0, 2, 1, 0, 0, 2, 1, reinterpret_cast<const BYTE*>(dib) + dib->bmiHeader.biSize, dib,
                          DIB_RGB_COLORS, SRCCOPY),
            1);
  GlobalUnlock(got);
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(3, 2, 1));
  EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(6, 5, 4));
  // Emptying frees the block the clipboard owned.
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  CloseClipboard();
}

TEST(GdiClipboard, OnlyOneThreadHoldsItOpen) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  BOOL other = TRUE;
  std::thread([&] { other = OpenClipboard(nullptr); }).join();
  EXPECT_FALSE(other);
  EXPECT_FALSE(OpenClipboard(nullptr));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
}

}  // namespace
