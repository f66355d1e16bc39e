#include <gtest/gtest.h>

#include "bmp_test_files.h"
#include "graphics/palettes.h"

namespace {

std::uint32_t LE32At(const std::string& s, std::size_t at) {
  return static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8 |
         static_cast<std::uint8_t>(s[at + 2]) << 16 |
         static_cast<std::uint32_t>(static_cast<std::uint8_t>(s[at + 3])) << 24;
}

TEST(BmpWriterTest, TheStartupLogoLayoutIsByteExact) {
  TPixelGraphic logo;
  logo.SetSize(320, 400, pgbc8);
  logo.SetPaletteCount(256);
  for (int i = 0; i < 256; ++i) logo.SetPaletteEntry(i, RGBToColor(i, 255 - i, i / 2));
  logo.SetPixel(0, 399, 7);  // first byte of the pixels: the bottom row comes first
  logo.SetPixel(319, 0, 9);  // last byte: the top row's end
  const std::string file = SavedBytes(logo);
  ASSERT_EQ(file.size(), 129078u);
  EXPECT_EQ(file.substr(0, 2), "BM");
  const std::pair<std::size_t, std::uint32_t> fields[] = {{2, 129078}, {6, 0},    {10, 1078}, {14, 40},
                                                          {18, 320},   {22, 400}, {30, 0},    {34, 128000},
                                                          {38, 0},     {42, 0},   {46, 256},  {50, 0}};
  for (auto [at, value] : fields) EXPECT_EQ(LE32At(file, at), value) << "offset " << at;
  EXPECT_EQ(file[26], 1);
  EXPECT_EQ(file[28], 8);
  // Entry 1 as blue, green, red, 0.
  EXPECT_EQ(file.substr(54 + 4, 4), std::string("\x00\xfe\x01\x00", 4));
  EXPECT_EQ(file[1078], 7);
  EXPECT_EQ(file[129077], 9);
}

TEST(BmpWriterTest, TableSizeFollowsThePaletteAndTrueColourHasNone) {
  TPixelGraphic colour;
  colour.SetSize(5, 2, pgbc24);
  std::string file = SavedBytes(colour);
  EXPECT_EQ(file.size(), 54u + 32u);
  EXPECT_EQ(LE32At(file, 10), 54u);
  EXPECT_EQ(LE32At(file, 46), 0u);

  TPixelGraphic part;
  part.SetSize(4, 4, pgbc8);
  part.SetPaletteCount(252);
  file = SavedBytes(part);
  EXPECT_EQ(LE32At(file, 10), 54u + 4 * 252);
  EXPECT_EQ(LE32At(file, 46), 252u);

  // Readers take biClrUsed 0 as the capacity, so an empty palette is written as 16 black entries.
  TPixelGraphic empty;
  empty.SetSize(3, 1, pgbc4);
  empty.SetPaletteCount(0);
  file = SavedBytes(empty);
  EXPECT_EQ(LE32At(file, 46), 16u);
  EXPECT_EQ(LE32At(file, 10), 54u + 64);
  EXPECT_EQ(file.size(), 54u + 64 + 4);
  EXPECT_EQ(file.substr(54, 64), std::string(64, '\0'));
}

TEST(BmpWriterTest, EveryFormatReadsBackIdentically) {
  for (TPGBitCount format : {pgbc1, pgbc4, pgbc8, pgbc24}) {
    TPixelGraphic image;
    image.SetSize(7, 3, format);
    const int entries = image.GetPaletteCapacity();
    if (entries) {
      image.SetPaletteCount(entries);
      for (int i = 0; i < entries; ++i) image.SetPaletteEntry(i, RGBToColor(i * 3 % 256, i, 255 - i));
    }
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x)
        image.SetPixel(x, y, entries ? static_cast<std::uint32_t>((x + 3 * y) % entries) : 0x010203u * (x + y));
    TPixelGraphic again;
    LoadBytes(again, SavedBytes(image));
    ASSERT_EQ(again.GetBitCount(), format);
    ASSERT_EQ(again.GetWidth(), 7);
    ASSERT_EQ(again.PaletteCount(), entries);
    for (int i = 0; i < entries; ++i) EXPECT_EQ(again.GetPaletteEntry(i), image.GetPaletteEntry(i));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 7; ++x) EXPECT_EQ(again.GetPixel(x, y), image.GetPixel(x, y)) << int{format};
  }
}

}  // namespace
