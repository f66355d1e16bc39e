#include <gtest/gtest.h>

#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/png_format.h"
#include "png_test_files.h"
#include "vcl/testing/dialogs.h"

namespace {

std::string Row(std::initializer_list<int> bytes) {
  std::string row;
  for (int b : bytes) row += static_cast<char>(b);
  return row;
}

void Load(TPixelGraphic& image, const std::string& bytes) {
  TMemoryStream stream;
  FillStream(stream, bytes);
  image.LoadFromStream(&stream);
}

std::string ReadFault(const std::string& bytes, TPGWarningAction action) {
  TPixelGraphic image;
  image.SetReadWarningAction(action);
  TMemoryStream stream;
  FillStream(stream, bytes);
  try {
    TPNGFileFormatReader().Read(&stream, &image, 0);
  } catch (const EPGPNGFileFormatReaderWriter& e) {
    return e.Message;
  }
  return "(no error)";
}

TEST(PngReaderTest, GreyDepthsGivePaletteFormatsAndTwoBitsSpreadToFour) {
  TPNGFile two;
  two.Width = 5, two.BitDepth = 2, two.ColorType = PNG_COLOR_TYPE_GRAY;
  two.Rows = {Row({0b00011011, 0b11000000})};  // 0 1 2 3 3
  TPixelGraphic image;
  Load(image, two.Bytes());
  EXPECT_EQ(image.GetBitCount(), pgbc4);
  EXPECT_EQ(image.PaletteIdent(), pGray4);
  for (int x = 0; x < 5; ++x) EXPECT_EQ(image.GetPixel(x, 0), static_cast<std::uint32_t>(std::min(x, 3))) << x;

  struct Case {
    int depth;
    TPGBitCount format;
    TPaletteIdent ident;
    std::string row;
    std::uint32_t first;
  };
  for (const Case& c :
       {Case{1, pgbc1, pBlackWhite, Row({0x80}), 1}, Case{4, pgbc4, pGray16, Row({0xA0}), 10},
        Case{8, pgbc8, pGray256, Row({200}), 200}, Case{16, pgbc8, pGray256, Row({0x12, 0xFF}), 0x12}}) {
    TPNGFile grey;
    grey.BitDepth = c.depth, grey.ColorType = PNG_COLOR_TYPE_GRAY, grey.Rows = {c.row};
    Load(image, grey.Bytes());
    EXPECT_EQ(image.GetBitCount(), c.format) << c.depth;
    EXPECT_EQ(image.PaletteIdent(), c.ident) << c.depth;
    EXPECT_EQ(image.GetPixel(0, 0), c.first) << c.depth;
  }
}

TEST(PngReaderTest, ColourFilesAreTrueColourInTheirOwnColoursAndPaletteFilesKeepTheirEntries) {
  TPNGFile rgb16;
  rgb16.Width = 2, rgb16.Height = 2, rgb16.BitDepth = 16;
  rgb16.Rows = {Row({0x10, 0xFF, 0x20, 0xFF, 0x30, 0xFF, 0xFF, 0, 0, 0, 0, 0}),
                Row({0, 0, 0, 0, 0xFF, 0, 1, 2, 3, 4, 5, 6})};
  TPixelGraphic image;
  Load(image, rgb16.Bytes());
  EXPECT_EQ(image.GetBitCount(), pgbc24);
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(0x10, 0x20, 0x30));
  EXPECT_EQ(image.GetPixelColor(1, 0), RGBToColor(0xFF, 0, 0));
  EXPECT_EQ(image.GetPixelColor(0, 1), RGBToColor(0, 0, 0xFF));
  EXPECT_EQ(image.GetPixelColor(1, 1), RGBToColor(1, 3, 5));

  TPNGFile palette;
  palette.Width = 3, palette.BitDepth = 4, palette.ColorType = PNG_COLOR_TYPE_PALETTE;
  palette.Palette = {{255, 0, 0}, {0, 255, 0}, {1, 2, 3}};
  palette.Rows = {Row({0x21, 0x00})};
  Load(image, palette.Bytes());
  EXPECT_EQ(image.GetBitCount(), pgbc4);
  EXPECT_EQ(image.PaletteCount(), 3);
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(1, 2, 3));
  EXPECT_EQ(image.GetPixelColor(1, 0), RGBToColor(0, 255, 0));
  EXPECT_EQ(image.GetPixelColor(2, 0), RGBToColor(255, 0, 0));
}

// Transparency is composed over the file's bKGD in the file's own sample scale, and that colour
// becomes the image's background; without bKGD over the image's own background colour.
TEST(PngReaderTest, TransparencyIsComposedOverTheBackgroundInTheFilesScale) {
  struct Case {
    const char* name;
    int depth;
    bool fileBackground;
  };
  for (const Case& c : {Case{"8-bit bKGD", 8, true}, Case{"16-bit bKGD", 16, true}, Case{"8-bit own", 8, false},
                        Case{"16-bit own", 16, false}}) {
    TPNGFile rgba;
    rgba.Width = 2, rgba.BitDepth = c.depth, rgba.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
    rgba.Rows = {c.depth == 8 ? Row({9, 8, 7, 255, 9, 8, 7, 0})
                              : Row({9, 0, 8, 0, 7, 0, 255, 255, 9, 0, 8, 0, 7, 0, 0, 0})};
    const int scale = c.depth == 16 ? 257 : 1;
    if (c.fileBackground) {
      rgba.HasBackground = true;
      rgba.Background.red = static_cast<png_uint_16>(200 * scale);
      rgba.Background.green = static_cast<png_uint_16>(100 * scale);
      rgba.Background.blue = static_cast<png_uint_16>(50 * scale);
    }
    TPixelGraphic image;
    image.SetBackGroundColor(RGBToColor(10, 20, 30));
    TMemoryStream stream;
    FillStream(stream, rgba.Bytes());
    TPNGFileFormatReader().Read(&stream, &image, 0);
    const TColor expected = c.fileBackground ? RGBToColor(200, 100, 50) : RGBToColor(10, 20, 30);
    EXPECT_EQ(image.GetBitCount(), pgbc24) << c.name;
    EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(9, 8, 7)) << c.name;
    EXPECT_EQ(image.GetPixelColor(1, 0), expected) << c.name;
    EXPECT_EQ(image.GetBackGroundColor(), expected) << c.name;
  }

  // Low-depth grey: a transparent level becomes the background's level at that depth.
  TPNGFile grey;
  grey.Width = 2, grey.BitDepth = 2, grey.ColorType = PNG_COLOR_TYPE_GRAY;
  grey.HasTransColor = true, grey.TransColor.gray = 1;
  grey.Rows = {Row({0b01100000})};  // 1 (transparent), 2
  TPixelGraphic image;
  image.SetBackGroundColor(RGBToColor(255, 255, 255));
  TMemoryStream stream;
  FillStream(stream, grey.Bytes());
  TPNGFileFormatReader().Read(&stream, &image, 0);
  EXPECT_EQ(image.GetPixel(0, 0), 3u);
  EXPECT_EQ(image.GetPixel(1, 0), 2u);
}

TEST(PngReaderTest, PaletteTransparencyShowsInThePaletteAndTheBackgroundIsItsEntry) {
  TPNGFile file;
  file.Width = 2, file.ColorType = PNG_COLOR_TYPE_PALETTE;
  file.Palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  file.TransAlpha = {255, 0};
  file.HasBackground = true, file.Background.index = 2;
  file.Rows = {Row({0, 1})};
  TPixelGraphic image;
  Load(image, file.Bytes());
  EXPECT_EQ(image.GetBitCount(), pgbc8);
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(255, 0, 0));
  EXPECT_EQ(image.GetPixelColor(1, 0), RGBToColor(0, 0, 255));
  EXPECT_EQ(image.GetBackGroundColor(), RGBToColor(0, 0, 255));
}

TEST(PngReaderTest, InterlacedFilesReportEveryPassAndComeOutWhole) {
  TPNGFile file;
  file.Width = 9, file.Height = 100, file.ColorType = PNG_COLOR_TYPE_GRAY, file.Interlace = PNG_INTERLACE_ADAM7;
  for (int y = 0; y < 100; ++y) {
    std::string row;
    for (int x = 0; x < 9; ++x) row += static_cast<char>((x * 20 + y) & 0xFF);
    file.Rows.push_back(row);
  }
  TPixelGraphic image;
  std::vector<int> steps;
  int max = 0, starts = 0, ends = 0;
  image.OnProgressStart = [&](TObject*) { ++starts; };
  image.OnProgressEnd = [&](TObject*) { ++ends; };
  image.OnProgress = [&](TObject*, int step, int m, bool&) { steps.push_back(step), max = m; };
  Load(image, file.Bytes());
  EXPECT_EQ(max, 700);
  ASSERT_EQ(steps.size(), 700u);
  EXPECT_EQ(steps.front(), 0);
  EXPECT_EQ(steps.back(), 699);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(ends, 1);
  for (int y = 0; y < 100; y += 7)
    for (int x = 0; x < 9; ++x) EXPECT_EQ(image.GetPixel(x, y), static_cast<std::uint32_t>((x * 20 + y) & 0xFF));
}

TEST(PngReaderTest, AnAbortKeepsTheRowsReadSoFar) {
  TPNGFile file;
  file.Height = 4, file.ColorType = PNG_COLOR_TYPE_GRAY, file.Rows = {Row({1}), Row({2}), Row({3}), Row({4})};
  TPixelGraphic image;
  image.OnProgress = [&](TObject*, int step, int, bool& abort) { abort = step == 1; };
  bool ended = false;
  image.OnProgressEnd = [&](TObject*) { ended = true; };
  Load(image, file.Bytes());
  EXPECT_TRUE(ended);
  EXPECT_EQ(image.GetPixel(0, 1), 2u);
  EXPECT_EQ(image.GetPixel(0, 2), 0u);
}

TEST(PngReaderTest, GetInfoDescribesTheHeaderAndItsChunks) {
  TPNGFile file;
  file.ColorType = PNG_COLOR_TYPE_PALETTE, file.Palette = {{1, 2, 3}}, file.TransAlpha = {0}, file.Gamma = 0.45455;
  file.Rows = {Row({0})};
  TMemoryStream stream;
  FillStream(stream, file.Bytes());
  TPGImageInfo info;
  TPNGFileFormatReader reader;
  reader.GetInfo(&stream, 0, info);
  EXPECT_EQ(info.SubFormatText, "palette");
  EXPECT_EQ(info.DetailsText, "(gama, plte, trns)");
  EXPECT_EQ(info.ColorsText, "256");
  EXPECT_EQ(info.BitsPerPixel, 8);
  EXPECT_EQ(info.ImageCount, 1);

  TPNGFile rgba;
  rgba.Width = 3, rgba.Height = 2, rgba.BitDepth = 16, rgba.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
  rgba.Interlace = PNG_INTERLACE_ADAM7, rgba.Rows = {std::string(24, '\0'), std::string(24, '\0')};
  FillStream(stream, rgba.Bytes());
  reader.GetInfo(&stream, 0, info);
  EXPECT_EQ(info.SubFormatText, "RGB, alpha, interlaced");
  EXPECT_EQ(info.DetailsText, "");
  EXPECT_EQ(info.Width, 3);
  EXPECT_EQ(info.Height, 2);
  EXPECT_EQ(info.BitsPerPixel, 64);
  EXPECT_EQ(info.ColorsText, "?");

  try {
    reader.GetInfo(&stream, 1, info);
    FAIL();
  } catch (const EPGPNGFileFormatReaderWriter& e) {
    EXPECT_EQ(e.Message, "PNG: Invalid value for Index");
  }
  EXPECT_EQ(ReadFault(file.Bytes(), pgwaIgnore), "(no error)");
  TPixelGraphic image;
  try {
    reader.Read(&stream, &image, 1);
    FAIL();
  } catch (const EPGPNGFileFormatReaderWriter& e) {
    EXPECT_EQ(e.Message, "PNG: Index invalid");
  }
}

// A text chunk whose checksum is wrong: libpng warns and goes on.
std::string WithBrokenTextChecksum() {
  TPNGFile file;
  file.ColorType = PNG_COLOR_TYPE_GRAY, file.Rows = {Row({7})}, file.Text = "hello";
  std::string bytes = file.Bytes();
  const std::size_t text = bytes.find("tEXt");
  const std::size_t length = static_cast<unsigned char>(bytes[text - 1]);
  bytes[text + 4 + length] ^= 0x55;
  return bytes;
}

TEST(PngReaderTest, WarningsFollowTheImagesWarningAction) {
  const std::string file = WithBrokenTextChecksum();
  EXPECT_EQ(ReadFault(file, pgwaRaise), "PNG: tEXt: CRC error");
  EXPECT_EQ(ReadFault(file, pgwaIgnore), "(no error)");
  {
    TDialogRecorder dialogs(mrCancel);
    EXPECT_EQ(ReadFault(file, pgwaOKCancelBox), "PNG: Operation aborted on user request");
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].Caption, "PNG Warning");
    EXPECT_EQ(dialogs.Calls()[0].Text, "tEXt: CRC error");
    EXPECT_EQ(dialogs.Calls()[0].Flags, 49u);
  }
  {
    TDialogRecorder dialogs(mrCancel);
    EXPECT_EQ(ReadFault(file, pgwaOKBox), "(no error)");
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].Flags, 48u);
  }
  // Describing a file never fails on a warning.
  TMemoryStream stream;
  FillStream(stream, file);
  TPGImageInfo info;
  TPNGFileFormatReader().GetInfo(&stream, 0, info);
  EXPECT_EQ(info.SubFormatText, "GrayScale");
}

class TFailingStream : public TMemoryStream {
 public:
  std::int64_t Read(void* Buffer, std::int64_t Count) override {
    if (Position() > 20) throw EReadError("Stream read error");
    return TMemoryStream::Read(Buffer, Count);
  }
};

TEST(PngReaderTest, DamagedFilesAndFailingStreamsRaiseTheirOwnErrors) {
  TPNGFile file;
  file.Width = 4, file.Height = 4, file.ColorType = PNG_COLOR_TYPE_GRAY, file.Rows.assign(4, std::string(4, 'x'));
  const std::string bytes = file.Bytes();
  EXPECT_EQ(ReadFault(bytes.substr(0, bytes.size() - 30), pgwaIgnore), "PNG: Read Error");
  EXPECT_EQ(ReadFault(bytes.substr(0, 12), pgwaIgnore), "PNG: Read Error");
  std::string badSignature = bytes;
  badSignature[1] = 'Q';
  EXPECT_EQ(ReadFault(badSignature, pgwaIgnore), "PNG: Not a PNG file");

  TFailingStream failing;
  failing.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  failing.SetPosition(0);
  TPixelGraphic image;
  EXPECT_THROW(TPNGFileFormatReader().Read(&failing, &image, 0), EReadError);
}

// Header sizes meet the image's own limit, not libpng's default one.
TEST(PngReaderTest, SizesFromTheHeaderGoThroughTheImagesLimit) {
  TPNGFile wide;
  wide.Width = 1200000, wide.ColorType = PNG_COLOR_TYPE_GRAY, wide.Rows = {std::string(1200000, '\x05')};
  TPixelGraphic image;
  Load(image, wide.Bytes());
  EXPECT_EQ(image.GetWidth(), 1200000);
  EXPECT_EQ(image.GetPixel(1199999, 0), 5u);

  // Only the header of a 100000 x 100000 file: refused before any row is read.
  std::string header;
  {
    TPNGFile small;
    small.Rows = {Row({1, 2, 3})};
    header = small.Bytes();
  }
  // Patch the size into the IHDR of a small file and fix its checksum.
  std::string ihdr = header.substr(12, 17);
  for (int i = 0; i < 4; ++i) {
    ihdr[static_cast<std::size_t>(4 + i)] = static_cast<char>((100000u >> (24 - 8 * i)) & 0xFF);
    ihdr[static_cast<std::size_t>(8 + i)] = static_cast<char>((100000u >> (24 - 8 * i)) & 0xFF);
  }
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(ihdr.data()), 17);
  header.replace(12, 17, ihdr);
  for (int i = 0; i < 4; ++i)
    header[static_cast<std::size_t>(29 + i)] = static_cast<char>((crc >> (24 - 8 * i)) & 0xFF);
  try {
    Load(image, header);
    FAIL();
  } catch (const EPixelGraphic& e) {
    EXPECT_EQ(e.Message, "CreateDIBSection failed");
  }
}

TEST(PngReaderTest, TheSignatureFindsTheReaderWhateverTheExtension) {
  TPNGFile file;
  file.ColorType = PNG_COLOR_TYPE_GRAY, file.Rows = {Row({42})};
  TMemoryStream stream;
  FillStream(stream, file.Bytes());
  TPixelGraphic image;
  image.LoadFromStreamExt(&stream, "bmp", 0);
  EXPECT_EQ(image.GetPixel(0, 0), 42u);
}

}  // namespace
