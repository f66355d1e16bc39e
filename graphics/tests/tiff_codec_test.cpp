#include <gtest/gtest.h>

#include <map>

#include "bmp_test_files.h"
#include "graphics/exceptions.h"
#include "graphics/palettes.h"
#include "graphics/tiff_format.h"
#include "vcl/testing/dialogs.h"

namespace {

// Stands for the offset of Data in a value.
constexpr std::uint32_t kAtData = 0xDA7A;

// A little-endian file: header, one directory of the given tags, Data, then the tags' arrays.
struct TTIFFFile {
  std::map<int, std::pair<int, std::vector<std::uint32_t>>> Tags;  // tag -> type, values
  std::string Data;
  void Set(int tag, int type, std::vector<std::uint32_t> values) { Tags[tag] = {type, std::move(values)}; }
  std::int64_t DataOffset() const { return 8 + 2 + 12 * static_cast<std::int64_t>(Tags.size()) + 4; }
  std::string Bytes() const {
    std::string s = "II";
    PutLE16(s, 42), PutLE32(s, 8);
    PutLE16(s, static_cast<std::uint32_t>(Tags.size()));
    std::string extra;
    const auto extraAt = static_cast<std::uint32_t>(DataOffset() + Data.size());
    for (const auto& [tag, typed] : Tags) {
      const auto& [type, values] = typed;
      PutLE16(s, static_cast<std::uint32_t>(tag)), PutLE16(s, static_cast<std::uint32_t>(type));
      PutLE32(s, static_cast<std::uint32_t>(values.size()));
      std::string packed;
      for (std::uint32_t v : values) {
        if (v == kAtData) v = static_cast<std::uint32_t>(DataOffset());
        if (type == 3) PutLE16(packed, v);
        else
          PutLE32(packed, v);
      }
      if (packed.size() <= 4) {
        packed.resize(4, '\0');
        s += packed;
      } else {
        PutLE32(s, extraAt + static_cast<std::uint32_t>(extra.size()));
        extra += packed;
      }
    }
    PutLE32(s, 0);
    return s + Data + extra;
  }
};

TTIFFFile Grey(int width, int height, const std::string& data, int compression = 1) {
  TTIFFFile f;
  f.Data = data;
  f.Set(256, 4, {static_cast<std::uint32_t>(width)});
  f.Set(257, 4, {static_cast<std::uint32_t>(height)});
  f.Set(258, 3, {8});
  f.Set(259, 3, {static_cast<std::uint32_t>(compression)});
  f.Set(262, 3, {1});
  f.Set(273, 4, {kAtData});
  f.Set(277, 3, {1});
  f.Set(278, 4, {static_cast<std::uint32_t>(height)});
  return f;
}

std::string ReadFault(const TTIFFFile& file, TPGWarningAction action = pgwaRaise) {
  const std::string bytes = file.Bytes();
  TPixelGraphic image;
  image.SetReadWarningAction(action);
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  try {
    TTIFFileFormatReader().Read(&stream, &image, 0);
  } catch (const EPixelGraphic& e) {
    return e.Message;
  }
  return "(no error)";
}

TEST(TiffCodecTest, GreyPaletteRgbAndCmykRows) {
  TPixelGraphic image;
  LoadBytes(image, Grey(3, 1, "\x01\x02\x03").Bytes());
  ASSERT_EQ(image.GetBitCount(), pgbc8);
  EXPECT_EQ(image.PaletteIdent(), pGray256);
  EXPECT_EQ(image.GetPixel(2, 0), 3u);

  TTIFFFile white = Grey(2, 1, std::string("\x00\x0f", 2));
  white.Set(262, 3, {0});
  LoadBytes(image, white.Bytes());
  EXPECT_EQ(image.GetPixel(1, 0), 240u);

  TTIFFFile palette = Grey(2, 1, std::string("\x00\x01", 2));
  palette.Set(262, 3, {3});
  std::vector<std::uint32_t> map(3 * 300, 0);  // more entries than 8 bits hold
  map[1] = 0xFF00, map[300 + 1] = 0x1200, map[600 + 1] = 0x3400;
  palette.Set(320, 3, map);
  LoadBytes(image, palette.Bytes());
  EXPECT_EQ(image.PaletteCount(), 256);
  EXPECT_EQ(image.GetPixelColor(1, 0), RGBToColor(0xFF, 0x12, 0x34));

  TTIFFFile cmyk = Grey(1, 1, "\x10\x20\x30\x05");
  cmyk.Set(258, 3, {8, 8, 8, 8});
  cmyk.Set(262, 3, {5});
  cmyk.Set(277, 3, {4});
  LoadBytes(image, cmyk.Bytes());
  EXPECT_EQ(image.GetPixelColor(0, 0), RGBToColor(255 - 0x15, 255 - 0x25, 255 - 0x35));
}

TEST(TiffCodecTest, PackBitsRowsAndTheirFaults) {
  TPixelGraphic image;
  // A literal of two, a run of three.
  LoadBytes(image, Grey(5, 1, "\x01\x07\x08\xfe\x09", 32773).Bytes());
  EXPECT_EQ(image.GetPixel(1, 0), 8u);
  EXPECT_EQ(image.GetPixel(4, 0), 9u);
  EXPECT_EQ(ReadFault(Grey(2, 1, "\xfd\x09", 32773)), "TIFF (PackBits): Invalid count of bytes in row 0");
  EXPECT_EQ(ReadFault(Grey(4, 1, "\x01\x07\x08", 32773)), "TIFF: Unexpected end of file");
}

TEST(TiffCodecTest, UncompressedRowsPastTheEndOfTheFileReadAsZeros) {
  TPixelGraphic image;
  LoadBytes(image, Grey(2, 4, "ab").Bytes());
  EXPECT_EQ(image.GetPixel(1, 0), static_cast<std::uint32_t>('b'));
  for (int y = 1; y < 4; ++y) EXPECT_EQ(image.GetPixel(0, y), 0u) << y;

  // Zeros as the photometric reads them: white-is-zero rows come out white.
  TTIFFFile white = Grey(2, 3, "ab");
  white.Set(262, 3, {0});
  LoadBytes(image, white.Bytes());
  EXPECT_EQ(image.GetPixel(0, 0), 255u - 'a');
  for (int y = 1; y < 3; ++y) EXPECT_EQ(image.GetPixel(1, y), 255u) << y;

  // A strip past the end does not end the reading while a later strip has data.
  TTIFFFile strips = Grey(2, 3, "abcd");
  strips.Set(278, 4, {1});
  const auto at = static_cast<std::uint32_t>(strips.DataOffset());
  strips.Set(273, 4, {at, 1u << 20, at + 2});
  LoadBytes(image, strips.Bytes());
  EXPECT_EQ(image.GetPixel(0, 0), static_cast<std::uint32_t>('a'));
  EXPECT_EQ(image.GetPixel(0, 1), 0u);
  EXPECT_EQ(image.GetPixel(1, 2), static_cast<std::uint32_t>('d'));
}

TEST(TiffCodecTest, DirectoryFaultsAreRefusedBeforeAnyDivisionOrAllocation) {
  TTIFFFile noRows = Grey(2, 2, "abcd");
  noRows.Set(278, 4, {0});
  noRows.Set(273, 4, {100, 200});
  TTIFFFile noLength = Grey(2, 0, "");
  TTIFFFile noWidth = Grey(0, 2, "");
  TTIFFFile noStrips = Grey(2, 2, "abcd");
  noStrips.Tags.erase(273);
  TTIFFFile mixedBits = Grey(1, 1, "abc");
  mixedBits.Set(258, 3, {8, 4, 8});
  mixedBits.Set(262, 3, {2});
  mixedBits.Set(277, 3, {3});
  TTIFFFile noSamples = Grey(1, 1, "a");
  noSamples.Tags.erase(277);
  TTIFFFile lzw = Grey(1, 1, "a", 5);
  TTIFFFile noCompression = Grey(1, 1, "a");
  noCompression.Tags.erase(259);
  TTIFFFile outside = Grey(1, 1, "a");
  outside.Set(320, 3, {0});
  outside.Tags[320].second.assign(3 * 256, 0);
  std::string cut = outside.Bytes();
  TTIFFFile rational = Grey(1, 1, "a");
  rational.Set(257, 5, {1});
  TTIFFFile planar = Grey(1, 1, "a");
  planar.Set(284, 3, {2});
  TTIFFFile huge = Grey(1, 1, "a");
  huge.Set(256, 4, {0x7FFFFFF0});
  huge.Set(257, 4, {0x7FFFFFF0});
  huge.Set(278, 4, {0x7FFFFFF0});
  const std::pair<TTIFFFile, std::string> cases[] = {
      {noRows, "TIFF: Invalid RowsPerStrip"},
      {noLength, "TIFF: ImageLength invalid"},
      {noWidth, "TIFF: ImageWidth invalid"},
      {noStrips, "TIFF: NumStripOffsets<>(ImageLength+RowsPerStrip-1) div RowsPerStrip"},
      {mixedBits, "TIFF: Invalid SamplesPerPixel"},
      {noSamples, "TIFF: Invalid SamplesPerPixel"},
      {lzw, "TIFF: Unsupported compression LZW"},
      {noCompression, "TIFF: Unsupported compression 0"},
      {rational, "TIFF: Unsupported field Type: 5"},
      {planar, "TIFF: PlanarConfiguration invalid"},
      {huge, "CreateDIBSection failed"},
  };
  for (const auto& [file, text] : cases) EXPECT_EQ(ReadFault(file), text);

  // An array whose data lies past the end of the stream.
  TPixelGraphic image;
  TMemoryStream stream;
  stream.Write(cut.data(), static_cast<std::int64_t>(cut.size()) - 100);
  stream.SetPosition(0);
  try {
    TTIFFileFormatReader().Read(&stream, &image, 0);
    FAIL();
  } catch (const EPGTIFFileFormatReader& e) {
    EXPECT_EQ(e.Message, "TIFF: Unexpected end of file");
  }
}

TEST(TiffCodecTest, RowsPerStripOfAllOnesIsOneStripAndAShortStripAsksTheWarningAction) {
  TTIFFFile all = Grey(2, 2, "abcd");
  all.Set(278, 4, {0xFFFFFFFF});
  EXPECT_EQ(ReadFault(all), "(no error)");

  TTIFFFile shortStrip = Grey(2, 4, "abcdefgh");
  shortStrip.Set(278, 4, {2});
  const std::string text = "TIFF: NumStripOffsets<>(ImageLength+RowsPerStrip-1) div RowsPerStrip";
  EXPECT_EQ(ReadFault(shortStrip, pgwaRaise), text);
  EXPECT_EQ(ReadFault(shortStrip, pgwaIgnore), "(no error)");
  {
    TDialogRecorder dialogs(mrOk);
    EXPECT_EQ(ReadFault(shortStrip, pgwaOKBox), "(no error)");
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_EQ(dialogs.Calls()[0].Caption, "TIFF-Warning");
    EXPECT_EQ(dialogs.Calls()[0].Flags, 48u);
  }
  TDialogRecorder cancel(mrCancel);
  EXPECT_EQ(ReadFault(shortStrip, pgwaOKCancelBox), text);
}

TEST(TiffCodecTest, CountedDirectoriesChooseTheIndex) {
  TTIFFFile first = Grey(1, 1, "a");
  std::string bytes = first.Bytes();
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  TPGImageInfo info;
  stream.SetPosition(0);
  TTIFFileFormatReader().GetInfo(&stream, 0, info);
  EXPECT_EQ(info.SubFormatText, "I, Uncompr., BlackIsZero");
  EXPECT_EQ(info.ImageCount, 1);
  EXPECT_EQ(info.ColorsText, "256");
  TPixelGraphic image;
  stream.SetPosition(0);
  EXPECT_THROW(TTIFFileFormatReader().Read(&stream, &image, 1), EPGTIFFileFormatReader);
}

TEST(TiffCodecTest, PackBitsEncodingOfRuns) {
  PGTIFFWriteCompression = 32773;
  TPixelGraphic image;
  image.SetSize(200, 1, pgbc8);
  image.SetPaletteIdent(pGray256);
  for (int x = 0; x < 200; ++x) image.SetPixel(x, 0, 7);
  TMemoryStream stream;
  TTIFFileFormatWriter().Write(&stream, &image);
  PGTIFFWriteCompression = 1;
  const std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
  EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string("\x81\x07\xb9\x07", 4));
}

TEST(TiffCodecTest, WriterLayoutAndRoundTripsOfEveryKind) {
  TPixelGraphic rgb;
  rgb.SetSize(100, 200, pgbc24);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 100; ++x) rgb.SetPixelColor(x, y, RGBToColor(x, y, (x * y) & 0xFF));
  TPixelGraphic bw;
  bw.SetSize(13, 3, pgbc1);
  bw.SetPaletteIdent(pBlackWhite);
  for (int x = 0; x < 13; x += 2) bw.SetPixel(x, 1, 1);
  TPixelGraphic sixteen;
  sixteen.SetSize(5, 2, pgbc4);
  sixteen.SetPaletteIdent(pSys16);
  for (int x = 0; x < 5; ++x) sixteen.SetPixel(x, 1, static_cast<std::uint32_t>(x + 9));
  TPixelGraphic grey;
  grey.SetSize(7, 2, pgbc8);
  grey.SetPaletteIdent(pGray256);
  for (int x = 0; x < 7; ++x) grey.SetPixel(x, 0, static_cast<std::uint32_t>(x * 30));

  for (int compression : {1, 32773})
    for (bool options : {false, true}) {
      PGTIFFWriteCompression = compression;
      PGTIFFWriteMotorola = PGTIFFWriteCMYK = PGTIFFWriteWhiteIsZero = options;
      for (TPixelGraphic* source : {&rgb, &bw, &sixteen, &grey}) {
        TMemoryStream stream;
        stream.Write("pre", 3);  // offsets count from the header
        TTIFFileFormatWriter().Write(&stream, source);
        const std::string bytes(static_cast<const char*>(stream.Memory()) + 3,
                                static_cast<std::size_t>(stream.Size() - 3));
        EXPECT_EQ(bytes.substr(0, 8),
                  options ? std::string("MM\0\x2a\0\0\0\x08", 8) : std::string("II\x2a\0\x08\0\0\0", 8));
        stream.SetPosition(3);
        TPixelGraphic back;
        TTIFFileFormatReader().Read(&stream, &back, 0);
        ASSERT_EQ(back.GetBitCount(), source->GetBitCount());
        for (int y = 0; y < source->GetHeight(); ++y)
          for (int x = 0; x < source->GetWidth(); ++x)
            ASSERT_EQ(back.GetPixelColor(x, y), source->GetPixelColor(x, y)) << compression << options << x << "," << y;
        if (source == &rgb && !options) {
          TPGImageInfo info;
          stream.SetPosition(3);
          TTIFFileFormatReader().GetInfo(&stream, 0, info);
          EXPECT_EQ(info.SubFormatText, compression == 1 ? "I, Uncompr., RGB" : "I, PackBits, RGB");
          // RowsPerStrip 109 (two strips) uncompressed, 54 (four strips) with PackBits.
          const std::string rows = compression == 1 ? std::string("\x16\x01\x04\0\x01\0\0\0\x6d\0\0\0", 12)
                                                    : std::string("\x16\x01\x04\0\x01\0\0\0\x36\0\0\0", 12);
          EXPECT_NE(bytes.find(rows), std::string::npos);
        }
      }
    }
  PGTIFFWriteCompression = 1;
  PGTIFFWriteMotorola = PGTIFFWriteCMYK = PGTIFFWriteWhiteIsZero = false;

  TPixelGraphic empty;
  TMemoryStream stream;
  try {
    TTIFFileFormatWriter().Write(&stream, &empty);
    FAIL();
  } catch (const EPGTIFFileFormatWriter& e) {
    EXPECT_EQ(e.Message, "TIFF: Width = 0 or Height = 0");
  }
}

}  // namespace
