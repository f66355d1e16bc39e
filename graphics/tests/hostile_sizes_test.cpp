// Every reader of the library against headers that declare huge pictures over little or no data:
// each is refused with the codec's own message, or read within a second and 256 MiB.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "bmp_test_files.h"
#include "graphics/exceptions.h"
#include "graphics/pixel_graphic.h"
#include "host/testing/resource_use.h"
#include "host/testing/time_limits.h"
#include "jpeg_test_files.h"
#include "png_test_files.h"

namespace {

std::string DecodeBase64(const std::string& text) {
  static const std::string digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  std::uint32_t bits = 0;
  int count = 0;
  for (char c : text) {
    const std::size_t v = digits.find(c);
    if (v == std::string::npos) break;  // the padding
    bits = bits << 6 | static_cast<std::uint32_t>(v);
    if ((count += 6) >= 8) out += static_cast<char>(bits >> (count -= 8));
  }
  return out;
}

std::string LE16(int v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string BE16(int v) { return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)}; }
std::string BE32(std::uint32_t v) { return BE16(static_cast<int>(v >> 16)) + BE16(static_cast<int>(v & 0xFFFF)); }

std::string TGAHeader(int type, int width, int height, int depth) {
  std::string h(18, '\0');
  h[2] = static_cast<char>(type);
  h.replace(12, 2, LE16(width));
  h.replace(14, 2, LE16(height));
  h[16] = static_cast<char>(depth);
  return h;
}

std::string PCXHeader(int width, int height, int bits, int planes) {
  std::string h(128, '\0');
  h[0] = 10, h[1] = 5, h[2] = 1, h[3] = static_cast<char>(bits);
  h.replace(8, 2, LE16(width - 1));
  h.replace(10, 2, LE16(height - 1));
  h[65] = static_cast<char>(planes);
  h.replace(66, 2, LE16((width * bits + 7) / 8));
  h.replace(68, 2, LE16(1));
  return h;
}

// A 1 x 1 file of libpng's own, with the header's size made Width x Height.
std::string PNGDeclaring(std::uint32_t width, std::uint32_t height) {
  TPNGFile file;
  file.Rows = {std::string(3, '\x40')};
  std::string bytes = file.Bytes();
  bytes.replace(16, 4, BE32(width));
  bytes.replace(20, 4, BE32(height));
  const auto crc = static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(bytes.data() + 12), 17));
  bytes.replace(29, 4, BE32(crc));
  return bytes;
}

// An 8 x 8 file of libjpeg's own, with its frame made Width x Height.
std::string JPEGDeclaring(int width, int height, bool progressive) {
  TJPEGFile file;
  file.Progressive = progressive;
  std::string bytes = file.Bytes();
  const std::size_t frame = bytes.find(progressive ? "\xFF\xC2" : "\xFF\xC0");
  bytes.replace(frame + 5, 2, BE16(height));
  bytes.replace(frame + 7, 2, BE16(width));
  return bytes;
}

// A little-endian file of one directory: 12-byte entries of (tag, type, count, value).
std::string TIFFDeclaring(std::uint32_t width, std::uint32_t height, int samples, int compression) {
  struct Entry {
    int tag, type;
    std::uint32_t count, value;
  };
  const std::vector<Entry> entries = {{256, 4, 1, width},
                                      {257, 4, 1, height},
                                      {258, 3, 1, 8},
                                      {259, 3, 1, static_cast<std::uint32_t>(compression)},
                                      {262, 3, 1, samples == 1 ? 1u : 2u},
                                      {273, 4, 1, 8},
                                      {277, 3, 1, static_cast<std::uint32_t>(samples)},
                                      {278, 4, 1, height},
                                      {279, 4, 1, 16}};
  auto le32 = [](std::uint32_t v) { return LE16(static_cast<int>(v & 0xFFFF)) + LE16(static_cast<int>(v >> 16)); };
  std::string s = "II*";
  s += '\0';
  s += le32(8 + 16);
  s += std::string(16, '\x55');  // the strip
  s += LE16(static_cast<int>(entries.size()));
  for (const Entry& e : entries) s += LE16(e.tag) + LE16(e.type) + le32(e.count) + le32(e.value);
  return s + le32(0);
}

struct HostileCase {
  const char* name;
  std::string bytes;
  const char* ext;
  const char* refusal;  // the codec's message, or nullptr when the picture is read
};

std::vector<HostileCase> Cases() {
  TInfoHeaderFile bmp;
  bmp.Width = bmp.Height = 16000;
  TInfoHeaderFile topDown = bmp;
  topDown.Height = -16000;
  TInfoHeaderFile rle = bmp;
  rle.BitCount = 8, rle.Compression = 1, rle.SizeImage = 4;
  TInfoHeaderFile fields = bmp;
  fields.BitCount = 32, fields.Compression = 3;
  TInfoHeaderFile small = bmp;
  small.Width = small.Height = 2000;  // 12 MB of black: a truncated file's tolerance, and cheap
  return {
      {"BmpUncompressed", bmp.Bytes(""), "bmp", "BMP: Unexpected end of file"},
      {"BmpTopDown", topDown.Bytes(std::string(100, '\x7F')), "bmp", "BMP: Unexpected end of file"},
      {"BmpRunLength", rle.Bytes(Quads(256, 1) + std::string("\x00\x01", 2)), "bmp", "BMP: Unexpected end of file"},
      {"BmpBitFields", fields.Bytes(std::string("\x00\x00\xFF\x00\x00\xFF\x00\x00\xFF\x00\x00\x00", 12)), "bmp",
       "BMP: Unexpected end of file"},
      {"BmpTruncatedButSmallIsBlack", small.Bytes(""), "bmp", nullptr},
      {"TgaTrueColor", TGAHeader(2, 18000, 18000, 24), "tga", "TGA: Unexpected end of file"},
      {"TgaSixteenBits", TGAHeader(2, 18000, 18000, 16) + std::string(64, '\x11'), "tga",
       "TGA: Unexpected end of file"},
      {"TgaRunLength", TGAHeader(10, 18000, 18000, 24) + std::string("\xFF\x01\x02\x03", 4), "tga",
       "TGA: Unexpected end of file"},
      {"TgaGreyRunLength", TGAHeader(11, 30000, 30000, 8) + "\x80", "tga", "TGA: Unexpected end of file"},
      {"PcxTrueColor", PCXHeader(16000, 16000, 8, 3) + "\xC1\x00", "pcx", "PCX: Unexpected end of file"},
      {"PcxMonochrome", PCXHeader(65535, 65535, 1, 1), "pcx", "PCX: Unexpected end of file"},
      {"PpmBinary", "P6\n16000 16000\n255\n", "ppm", "PBM, PGM, PPM: Unexpected end of file"},
      {"PgmBinary", "P5\n30000 30000\n255\n\x01\x02", "pgm", "PBM, PGM, PPM: Unexpected end of file"},
      {"PbmBinary", "P4\n60000 60000\n", "pbm", "PBM, PGM, PPM: Unexpected end of file"},
      {"PpmPlain", "P3\n16000 16000\n255\n1 2 3", "ppm", "PBM, PGM, PPM: Unexpected end of file"},
      {"PbmPlain", "P1\n60000 60000\n0101", "pbm", "PBM, PGM, PPM: Unexpected end of file"},
      {"Png", PNGDeclaring(16000, 16000), "png", "PNG: Read Error"},
      {"PngWideAndFlat", PNGDeclaring(100000000, 2), "png", "PNG: Read Error"},
      // Found by fuzzing: 42 bytes whose palette chunk declares 1.9 GB, allocated before reading.
      {"PngChunkFoundByFuzzing", DecodeBase64("iVBORw0KGgoAAAANSUhEUgAAAAUAAAAECAMAAABx7QVydq8AAHNQTFSC"), "png",
       "PNG: Read Error"},
      {"JpegBaseline", JPEGDeclaring(16000, 16000, false), "jpg", "JPG: Unexpected end of file"},
      {"JpegProgressive", JPEGDeclaring(16000, 16000, true), "jpg", "JPG: Unexpected end of file"},
      {"TiffUncompressed", TIFFDeclaring(16000, 16000, 1, 1), "tif", "TIFF: Unexpected end of file"},
      {"TiffPackBits", TIFFDeclaring(16000, 16000, 1, 32773), "tif", "TIFF: Unexpected end of file"},
      {"TiffWideAndFlat", TIFFDeclaring(300000000, 2, 1, 1), "tif", "TIFF: Unexpected end of file"},
      // Found by fuzzing: 245 big-endian bytes declaring 134,233,354 x 2 pixels of four samples
      // were read as an 805 MB picture.
      {"TiffFoundByFuzzing",
       DecodeBase64("TU0AKgAAAAgADQD+AAQAAAABQAAAAAEAAAQAAAABCAA9CgEBAAQAAAABAAAAAgECAAMAAAAEAAAAqgEDAAMAAAABAAEAAAEG"
                    "AAMAAAADAAUAAAERAAQAAAABAAAAwgEVAAMAAAABAAQAAAEWAAQAAAABAAAABgEXAAQAAAABAAAA8AEaAAUAAAABAAAAsgEb"
                    "AAWHAAABAAAAugEoAAMAAAABAAIAAAAAAAAACAAIAAgACAAQASwAAAABAAABLAAAAAEAAAD/AAAA/wAAAAD/AAD/////////"
                    "////gP////8S////AAAA/5EAcf8ATU0AKgAAAAg="),
       "tif", "TIFF: Unexpected end of file"},
  };
}

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }

class HostileSizes : public testing::TestWithParam<HostileCase> {};

TEST_P(HostileSizes, AreRefusedWithTheCodecsMessageOrReadCheaply) {
  const HostileCase& c = GetParam();
  const ResourceUse use = MeasureInChild([&]() -> std::string {
    TPixelGraphic image;
    image.SetReadWarningAction(pgwaIgnore);
    try {
      LoadBytes(image, c.bytes, c.ext);
    } catch (const EPixelGraphic& e) {
      return e.Message;
    }
    return "read " + std::to_string(image.GetWidth()) + "x" + std::to_string(image.GetHeight());
  });
  if (c.refusal) EXPECT_EQ(use.Outcome, c.refusal);
  else
    EXPECT_EQ(use.Outcome.rfind("read ", 0), 0u) << use.Outcome;
  EXPECT_LT(use.Seconds, BuildSeconds(1));
  EXPECT_LT(use.PeakMiB, 256.0);
}

INSTANTIATE_TEST_SUITE_P(EveryReader, HostileSizes, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<HostileCase>& test) { return test.param.name; });

}  // namespace
