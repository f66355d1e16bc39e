#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "win32/errors.h"
#include "win32/icons.h"
#include "win32/kernel.h"

namespace {

struct IconEntry {
  int size, bits;
  COLORREF colour;  // every pixel but the top-left quarter, which is masked out
  bool png = false;
};

void Put16(std::vector<BYTE>& b, unsigned v) { b.insert(b.end(), {BYTE(v), BYTE(v >> 8)}); }
void Put32(std::vector<BYTE>& b, unsigned v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

std::vector<BYTE> EntryImage(const IconEntry& e) {
  std::vector<BYTE> img;
  if (e.png) return {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 0};
  Put32(img, 40);
  Put32(img, e.size);
  Put32(img, 2 * e.size);
  Put16(img, 1);
  Put16(img, e.bits);
  for (int i = 0; i < 6; ++i) Put32(img, 0);
  int colours = e.bits <= 8 ? 1 << e.bits : 0;
  for (int i = 0; i < colours; ++i) {
    COLORREF c = i == 1 ? e.colour : 0;
    img.insert(img.end(), {GetBValue(c), GetGValue(c), GetRValue(c), 0});
  }
  int xorStride = (e.size * e.bits + 31) / 32 * 4, maskStride = (e.size + 31) / 32 * 4;
  for (int y = 0; y < e.size; ++y) {
    std::vector<BYTE> row(xorStride, 0);
    for (int x = 0; x < e.size; ++x) {
      if (y >= e.size / 2 && x < e.size / 2) continue;  // masked: black, so the XOR keeps the background
      if (e.bits == 1) row[x / 8] |= BYTE(0x80 >> (x % 8));
      else if (e.bits == 4)
        row[x / 2] |= BYTE(x % 2 ? 1 : 0x10);
      else if (e.bits == 8)
        row[x] = 1;
      else {
        BYTE* p = &row[x * (e.bits / 8)];
        p[0] = GetBValue(e.colour);
        p[1] = GetGValue(e.colour);
        p[2] = GetRValue(e.colour);
        if (e.bits == 32) p[3] = 255;
      }
    }
    img.insert(img.end(), row.begin(), row.end());
  }
  for (int y = 0; y < e.size; ++y) {  // bottom-up: the top rows come last
    std::vector<BYTE> row(maskStride, 0);
    if (y >= e.size / 2)
      for (int x = 0; x < e.size / 2; ++x) row[x / 8] |= BYTE(0x80 >> (x % 8));
    img.insert(img.end(), row.begin(), row.end());
  }
  return img;
}

std::vector<BYTE> IconFile(const std::vector<IconEntry>& entries, int kind = 1) {
  std::vector<BYTE> file;
  Put16(file, 0);
  Put16(file, kind);
  Put16(file, static_cast<unsigned>(entries.size()));
  std::vector<std::vector<BYTE>> images;
  for (const IconEntry& e : entries) images.push_back(EntryImage(e));
  unsigned offset = 6 + 16 * static_cast<unsigned>(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    file.insert(file.end(), {BYTE(entries[i].size), BYTE(entries[i].size), 0, 0});
    Put16(file, kind == 2 ? 3 : 1);
    Put16(file, kind == 2 ? 4 : entries[i].bits);
    Put32(file, static_cast<unsigned>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<unsigned>(images[i].size());
  }
  for (auto& img : images) file.insert(file.end(), img.begin(), img.end());
  return file;
}

// Draws the icon on grey and returns the pixel.
COLORREF Drawn(HICON icon, int size, int x, int y) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, size, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP surface = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, surface);
  HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
  RECT all{0, 0, size, size};
  FillRect(dc, &all, grey);
  DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(grey);
  DeleteDC(dc);
  DeleteObject(surface);
  return c;
}

int IconSize(HICON icon) {
  ICONINFO info{};
  GetIconInfo(icon, &info);
  BITMAP bm{};
  GetObject(info.hbmMask, sizeof bm, &bm);
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return bm.bmWidth;
}

TEST(IconFileTest, EachDepthDrawsItsColourThroughTheMask) {
  for (int bits : {1, 4, 8, 24, 32}) {
    auto file = IconFile({{16, bits, RGB(200, 30, 60)}});
    HICON icon = icons::IconFromFileData(file.data(), file.size(), IMAGE_ICON, 16, 16, 0);
    ASSERT_NE(icon, nullptr) << bits;
    EXPECT_EQ(Drawn(icon, 16, 12, 12), RGB(200, 30, 60)) << bits;
    EXPECT_EQ(Drawn(icon, 16, 2, 2), RGB(128, 128, 128)) << bits;  // masked: the background shows
    DestroyIcon(icon);
  }
}

TEST(IconFileTest, EntryChosenBySizeThenDepth) {
  auto file =
      IconFile({{32, 4, RGB(0, 0, 255)}, {16, 4, RGB(255, 0, 0)}, {16, 32, RGB(0, 255, 0)}, {48, 8, RGB(9, 9, 9)}});
  HICON small = icons::IconFromFileData(file.data(), file.size(), IMAGE_ICON, 16, 16, 0);
  EXPECT_EQ(IconSize(small), 16);
  EXPECT_EQ(Drawn(small, 16, 12, 12), RGB(0, 255, 0));  // the deeper of the two 16s on a 32-bit screen
  HICON large = icons::IconFromFileData(file.data(), file.size(), IMAGE_ICON, 30, 30, 0);
  EXPECT_EQ(IconSize(large), 32);
  HICON byDefault = icons::IconFromFileData(file.data(), file.size(), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE);
  EXPECT_EQ(IconSize(byDefault), 32);
  for (HICON i : {small, large, byDefault}) DestroyIcon(i);
}

TEST(IconFileTest, CursorsKeepTheirHotSpot) {
  auto file = IconFile({{32, 4, RGB(1, 2, 3)}}, 2);
  HICON cursor = icons::IconFromFileData(file.data(), file.size(), IMAGE_CURSOR, 32, 32, 0);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 3u);
  EXPECT_EQ(info.yHotspot, 4u);
  DeleteObject(info.hbmMask);
  DeleteObject(info.hbmColor);
  DestroyIcon(cursor);
}

TEST(IconFileTest, PngEntriesAndDamagedFilesAreRefused) {
  auto png = IconFile({{16, 32, 0, true}});
  EXPECT_EQ(icons::IconFromFileData(png.data(), png.size(), IMAGE_ICON, 16, 16, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));

  auto good = IconFile({{16, 8, RGB(5, 5, 5)}});
  struct Damage {
    const char* what;
    std::size_t at;
    BYTE value;
  };
  const Damage damages[] = {
      {"entry count beyond the file", 4, 200}, {"offset beyond the file", 6 + 15, 0x7F}, {"type 3", 2, 3},
      {"header width huge", 22 + 5, 0x40},     {"header height 0", 22 + 8, 0},           {"bit count 7", 22 + 14, 7},
      {"colour count 1000", 22 + 33, 3}};
  for (const Damage& d : damages) {
    auto file = good;
    file[d.at] = d.value;
    if (d.at == 22 + 8) file[22 + 9] = 0;
    EXPECT_EQ(icons::IconFromFileData(file.data(), file.size(), IMAGE_ICON, 16, 16, 0), nullptr) << d.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << d.what;
  }
  for (std::size_t cut : {std::size_t{3}, std::size_t{21}, std::size_t{60}, good.size() - 40 - 64}) {
    HICON icon = icons::IconFromFileData(good.data(), cut, IMAGE_ICON, 16, 16, 0);
    EXPECT_EQ(icon, nullptr) << cut;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << cut;
  }
  // A file whose AND mask is cut short still loads, the missing part opaque.
  HICON shortMask = icons::IconFromFileData(good.data(), good.size() - 20, IMAGE_ICON, 16, 16, 0);
  EXPECT_NE(shortMask, nullptr);
  DestroyIcon(shortMask);
}

TEST(IconFileTest, LoadImageReadsOnlyFiles) {
  EXPECT_EQ(LoadImageA(nullptr, "c:\\no such.ico", IMAGE_ICON, 16, 16, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImageA(nullptr, "ICON1", IMAGE_ICON, 16, 16, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

}  // namespace
