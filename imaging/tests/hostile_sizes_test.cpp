// Every reader of the library against headers that declare huge pictures over little or no data:
// each is refused with the codec's own message, or read within a second and 256 MiB.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "host/testing/resource_use.h"
#include "imaging/anim_gif.h"
#include "imaging/bmp_codec.h"
#include "imaging/gif_lzw.h"
#include "imaging/gif_reader.h"
#include "imaging/jpeg_reader.h"
#include "imaging/pcx_reader.h"
#include "imaging/tiff_reader.h"
#include "imaging/velmora_io.h"
#include "jpeg_file_writer.h"
#include "vcl/graphics_images.h"
#include "win32/machine.h"
#include "win32/testing/machine_root.h"
#include "win32/testing/metafile_writer.h"

#include <jerror.h>
#include "vcl/graphics_images.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, int v) {
  b.push_back(static_cast<std::uint8_t>(v & 0xFF));
  b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(Bytes& b, std::uint32_t v) {
  Put16(b, static_cast<int>(v & 0xFFFF));
  Put16(b, static_cast<int>(v >> 16));
}

Bytes BMPDeclaring(int width, int height, int bits, int compression, const Bytes& data) {
  Bytes b = {'B', 'M'};
  Put32(b, static_cast<std::uint32_t>(54 + data.size()));
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(height));
  Put16(b, 1);
  Put16(b, bits);
  Put32(b, static_cast<std::uint32_t>(compression));
  for (int i = 0; i < 5; ++i) Put32(b, 0);
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

// A screen of Width x Height with one frame, of the screen's size unless given.
Bytes GIFDeclaring(int width, int height, int frameWidth = 0, int frameHeight = 0) {
  Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(b, width);
  Put16(b, height);
  b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});  // a global table of two entries
  b.push_back(',');
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, frameWidth ? frameWidth : width);
  Put16(b, frameHeight ? frameHeight : height);
  b.insert(b.end(), {0, 2, 2, 0x4C, 0x01, 0, ';'});  // code size 2: clear, end
  return b;
}

Bytes PCXDeclaring(int width, int height, int planes) {
  Bytes b(128, 0);
  b[0] = 10, b[1] = 5, b[2] = 1, b[3] = 8;
  b[8] = static_cast<std::uint8_t>((width - 1) & 0xFF), b[9] = static_cast<std::uint8_t>((width - 1) >> 8);
  b[10] = static_cast<std::uint8_t>((height - 1) & 0xFF), b[11] = static_cast<std::uint8_t>((height - 1) >> 8);
  b[65] = static_cast<std::uint8_t>(planes);
  b[66] = static_cast<std::uint8_t>(width & 0xFF), b[67] = static_cast<std::uint8_t>(width >> 8);
  b[68] = 1;
  b.insert(b.end(), {0xC1, 0x00});
  if (planes == 1) {  // the 256-colour table at the end
    b.push_back(12);
    b.insert(b.end(), 768, 0x40);
  }
  return b;
}

Bytes TIFFDeclaring(std::uint32_t width, std::uint32_t height, int samples, int compression) {
  struct Entry {
    int tag, type;
    std::uint32_t value;
  };
  const std::vector<Entry> entries = {{256, 4, width},
                                      {257, 4, height},
                                      {258, 3, 8},
                                      {259, 3, static_cast<std::uint32_t>(compression)},
                                      {262, 3, 2},
                                      {273, 4, 8},
                                      {277, 3, static_cast<std::uint32_t>(samples)},
                                      {278, 4, height},
                                      {279, 4, 16}};
  Bytes b = {'I', 'I', 42, 0};
  Put32(b, 8 + 16);
  b.insert(b.end(), 16, 0x55);  // the strip
  Put16(b, static_cast<int>(entries.size()));
  for (const Entry& e : entries) {
    Put16(b, e.tag);
    Put16(b, e.type);
    Put32(b, 1);
    Put32(b, e.value);
  }
  Put32(b, 0);
  return b;
}

// An 8 x 8 file of libjpeg's own with its frame made Width x Height.
Bytes JPEGDeclaring(int width, int height, bool progressive) {
  JpegOptions options;
  options.progressive = progressive;
  Bytes b = WriteJpeg(options);
  for (std::size_t i = 0; i + 9 < b.size(); ++i)
    if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC2)) {
      b[i + 5] = static_cast<std::uint8_t>(height >> 8), b[i + 6] = static_cast<std::uint8_t>(height & 0xFF);
      b[i + 7] = static_cast<std::uint8_t>(width >> 8), b[i + 8] = static_cast<std::uint8_t>(width & 0xFF);
      break;
    }
  return b;
}

using metafile_test::EmfWriter;

// An enhanced metafile of the frame (0.01 mm) whose records each paint the whole of it, by turns
// a rectangle, an ellipse and a stretched bitmap.
Bytes EMFPainting(RECTL frame, int records, const EmfWriter::Reference& device = {}) {
  EmfWriter w;
  w.Record(EMR_CREATEBRUSHINDIRECT, {1, BS_SOLID, RGB(200, 30, 30), 0});
  w.Record(EMR_SELECTOBJECT, {1});
  const DWORD right = static_cast<DWORD>(frame.right / 26 + 1), bottom = static_cast<DWORD>(frame.bottom / 26 + 1);
  const std::vector<BYTE> dib =
      metafile_test::Dib24({{RGB(1, 2, 3), RGB(200, 0, 0)}, {RGB(0, 200, 0), RGB(0, 0, 200)}});
  for (int i = 0; i < records; ++i) {
    if (i % 3 == 0) w.Record(EMR_RECTANGLE, {0, 0, right, bottom});
    else if (i % 3 == 1)
      w.Record(EMR_ELLIPSE, {0, 0, right, bottom});
    else
      w.Record(EMR_STRETCHDIBITS,
               {0, 0, right, bottom, 0, 0, 0, 0, 2, 2, 80, 40, 120, static_cast<DWORD>(dib.size() - 40), DIB_RGB_COLORS,
                SRCCOPY, right, bottom},
               dib);
  }
  const std::vector<BYTE> bytes = w.Finish(frame, device);
  return {bytes.begin(), bytes.end()};
}

// The 1,224-byte file found by fuzzing, as far as its header goes: the writer's bounds of
// 0, 0, 960, 960, a frame from 117,440,512 hundredths of a millimetre left of its origin to an
// inch right of it, half an inch high (4,438,792 x 47 pixels), and a reference device of 0 by
// 65,278 millimetres.
Bytes EMFFarLeftFrame() { return EMFPainting({-117440512, 0, 2540, 1270}, 3, {.millimetres = {0, 65278}}); }

// A case may cost this many times a true-colour picture as large as the largest one these cases show.
constexpr double kCheaply = 10;
constexpr int kShownSide = 2000;

enum class Reader { Bmp, Gif, AnimGif, Pcx, Tiff, Jpeg, Metafile };

struct HostileCase {
  const char* name;
  Reader reader;
  Bytes bytes;
  std::string refusal;  // the codec's message, or empty when the picture is read
};

const char kNotLoaded[] = "not loaded";

void ReadWith(Reader reader, TStream& stream, TBitmap& bitmap) {
  TVelmoraIOParams params(nullptr);
  params.GifLzwDecoder = GifLzwDecode;
  int count = 0;
  switch (reader) {
    case Reader::Bmp: BMPReadStream(&stream, bitmap, stream.Size(), {}, params); break;
    case Reader::Gif: GIFReadStream(&stream, bitmap, count, {}, params); break;
    case Reader::AnimGif: {
      TAnimGIF gif(nullptr);
      if (!gif.LoadFromStream(&stream)) throw Exception(kNotLoaded);
      bitmap.Assign(gif.Composed());
      break;
    }
    case Reader::Pcx: PCXReadStream(&stream, bitmap, params, {}, stream.Size()); break;
    case Reader::Tiff: TIFFReadStream(bitmap, &stream, count, {}, params); break;
    case Reader::Jpeg: JPEGReadStream(&stream, bitmap, params, {}); break;
    case Reader::Metafile: {  // from a file, as the slot manager loads one
      ScopedMachineRoot root;
      std::ofstream(root.DriveC() / "drawing.emf", std::ios::binary)
          .write(static_cast<const char*>(static_cast<TMemoryStream&>(stream).Memory()), stream.Size());
      TVelmoraTarget image(nullptr);
      TVelmoraIO io(nullptr);
      io.SetAttachedVelmora(&image);
      io.LoadFromFile("c:\\drawing.emf");
      bitmap.Assign(&image.Bitmap());
      break;
    }
  }
}

std::vector<HostileCase> Cases() {
  const std::string kJpegEndOfFile = "Unrecognized JPeg - JPEG error #" + std::to_string(JERR_INPUT_EOF);
  return {
      {"BmpUncompressed", Reader::Bmp, BMPDeclaring(16000, 16000, 24, 0, {}), "unrecognized BMP"},
      {"BmpRunLength", Reader::Bmp, BMPDeclaring(16000, 16000, 8, 1, Bytes(1024 + 2, 0)), "unrecognized BMP"},
      {"Gif", Reader::Gif, GIFDeclaring(65535, 65535), "unrecognized GIF"},
      {"GifWideAndFlat", Reader::Gif, GIFDeclaring(65535, 2), "unrecognized GIF"},
      {"GifSmallWithNoDataIsRead", Reader::Gif, GIFDeclaring(100, 100), ""},
      {"AnimatedGif", Reader::AnimGif, GIFDeclaring(65535, 65535), kNotLoaded},
      {"AnimatedGifScreenPastItsData", Reader::AnimGif, GIFDeclaring(18759, 14406, 10, 10), kNotLoaded},
      {"AnimatedGifSmallScreenIsShown", Reader::AnimGif, GIFDeclaring(kShownSide, kShownSide, 10, 10), ""},
      {"PcxTrueColor", Reader::Pcx, PCXDeclaring(16000, 16000, 3), "unrecognized PCX"},
      {"PcxPaletted", Reader::Pcx, PCXDeclaring(16000, 16000, 1), "unrecognized PCX"},
      {"TiffUncompressed", Reader::Tiff, TIFFDeclaring(16000, 16000, 3, 1), "Invalid TIFF stream"},
      {"TiffPackBits", Reader::Tiff, TIFFDeclaring(16000, 16000, 3, 32773), "Invalid TIFF stream"},
      {"TiffLzw", Reader::Tiff, TIFFDeclaring(16000, 16000, 3, 5), "Invalid TIFF stream"},
      {"TiffFax", Reader::Tiff, TIFFDeclaring(60000, 60000, 1, 4), "Invalid TIFF stream"},
      {"TiffWideAndFlat", Reader::Tiff, TIFFDeclaring(134233354, 2, 4, 1), "Invalid TIFF stream"},
      {"JpegBaseline", Reader::Jpeg, JPEGDeclaring(16000, 16000, false), kJpegEndOfFile},
      {"JpegProgressive", Reader::Jpeg, JPEGDeclaring(16000, 16000, true), kJpegEndOfFile},
      {"EmfFrameFarToTheLeft", Reader::Metafile, EMFFarLeftFrame(), "unrecognized WMF or EMF"},
      {"EmfPastA0", Reader::Metafile, EMFPainting({0, 0, 84100, 119000}, 1), "unrecognized WMF or EMF"},
      {"EmfSquareOfA0sLongSide", Reader::Metafile, EMFPainting({0, 0, 118900, 118900}, 1), "unrecognized WMF or EMF"},
  };
}

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.name; }

class HostileSizes : public testing::TestWithParam<HostileCase> {};

// What reading the bytes costs, and what it gave: the codec's message or the size read.
ResourceUse Read(Reader reader, const Bytes& bytes) {
  return MeasureInChild([&]() -> std::string {
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    TBitmap bitmap;
    try {
      ReadWith(reader, stream, bitmap);
    } catch (const Exception& e) {
      return e.Message;
    }
    return "read " + std::to_string(bitmap.Width()) + "x" + std::to_string(bitmap.Height());
  });
}

TEST_P(HostileSizes, AreRefusedWithTheCodecsMessageOrReadCheaply) {
  const HostileCase& c = GetParam();
  const ResourceUse use = Read(c.reader, c.bytes);
  // Read beside the case, so that a busy machine slows both alike.
  const ResourceUse control =
      Read(Reader::Bmp, BMPDeclaring(kShownSide, kShownSide, 24, 0, Bytes(kShownSide * 3 * kShownSide, 0)));
  ASSERT_EQ(control.Outcome, "read " + std::to_string(kShownSide) + "x" + std::to_string(kShownSide));
  if (!c.refusal.empty()) EXPECT_EQ(use.Outcome, c.refusal);
  else
    EXPECT_EQ(use.Outcome.rfind("read ", 0), 0u) << use.Outcome;
  EXPECT_LT(use.Seconds, kCheaply * control.Seconds);
  EXPECT_LT(use.PeakMiB, 256.0);
}

INSTANTIATE_TEST_SUITE_P(EveryReader, HostileSizes, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<HostileCase>& test) { return test.param.name; });

}  // namespace
