#include "imaging/jpeg_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "vcl/graphics_images.h"
#include "test_pictures.h"

#include <jpeglib.h>

namespace {

struct JpegOptions {
  int width = 24, height = 16;
  bool grey = false, progressive = false;
  int densityUnit = 1, xDensity = 72, yDensity = 72;
};

// A file written by libjpeg's compressor: left half red, right half blue (grey: dark and light).
std::vector<std::uint8_t> WriteJpeg(const JpegOptions& o) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* memory = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &memory, &size);
  info.image_width = static_cast<JDIMENSION>(o.width);
  info.image_height = static_cast<JDIMENSION>(o.height);
  info.input_components = o.grey ? 1 : 3;
  info.in_color_space = o.grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (o.progressive) jpeg_simple_progression(&info);
  info.density_unit = static_cast<UINT8>(o.densityUnit);
  info.X_density = static_cast<UINT16>(o.xDensity);
  info.Y_density = static_cast<UINT16>(o.yDensity);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(o.width * info.input_components));
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < o.width; ++x) {
      const bool left = x < o.width / 2;
      if (o.grey) row[static_cast<std::size_t>(x)] = left ? 40 : 220;
      else {
        row[static_cast<std::size_t>(3 * x)] = left ? 250 : 0;
        row[static_cast<std::size_t>(3 * x + 1)] = 0;
        row[static_cast<std::size_t>(3 * x + 2)] = left ? 0 : 250;
      }
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<std::uint8_t> out(memory, memory + size);
  std::free(memory);
  return out;
}

struct JpegLoad {
  TBitmap bitmap;
  TVelmoraIOParams params{nullptr};
  std::vector<int> progress;
  void Read(const std::vector<std::uint8_t>& bytes) {
    TMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    JPEGReadStream(&stream, bitmap, params, {[this](TObject*, int per) { progress.push_back(per); }, nullptr});
  }
};

bool Near(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) < 12 && std::abs(GetGValue(a) - GetGValue(b)) < 12 &&
         std::abs(GetBValue(a) - GetBValue(b)) < 12;
}

TEST(JpegReader, ColourGreyAndProgressiveFilesLoadInBlueGreenRedRows) {
  struct Case {
    const char* name;
    JpegOptions options;
    COLORREF left, right;
    int colorSpace;
  };
  const Case cases[] = {
      {"baseline colour", {}, RGB(250, 0, 0), RGB(0, 0, 250), 0},
      {"progressive colour", {.progressive = true}, RGB(250, 0, 0), RGB(0, 0, 250), 0},
      {"greyscale", {.grey = true}, RGB(40, 40, 40), RGB(220, 220, 220), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JpegLoad load;
    load.params.JpegColorSpace = 7;
    load.Read(WriteJpeg(c.options));
    ASSERT_EQ(load.bitmap.Width(), 24);
    ASSERT_EQ(load.bitmap.Height(), 16);
    EXPECT_EQ(load.bitmap.PixelFormat(), pf24bit);
    EXPECT_TRUE(Near(PixelAt(load.bitmap, 2, 5), c.left)) << std::hex << PixelAt(load.bitmap, 2, 5);
    EXPECT_TRUE(Near(PixelAt(load.bitmap, 21, 15), c.right)) << std::hex << PixelAt(load.bitmap, 21, 15);
    EXPECT_EQ(load.params.JpegColorSpace, c.colorSpace);
    EXPECT_EQ(load.params.JpegProgressive, c.options.progressive);
    EXPECT_EQ(load.params.Width, 24);
    EXPECT_EQ(load.params.BitsPerSample, 8);
    EXPECT_EQ(load.params.SamplesPerPixel, 3);
    ASSERT_EQ(load.progress.size(), 16u);
    EXPECT_EQ(load.progress.back(), 100);
  }
}

TEST(JpegReader, DensityBecomesDotsPerInch) {
  struct Case {
    int unit, x, y, dpiX, dpiY;
  };
  for (const Case& c : {Case{2, 118, 118, 299, 299}, Case{1, 72, 96, 72, 96}, Case{0, 1, 1, 1, 1}}) {
    SCOPED_TRACE(c.unit);
    JpegLoad load;
    load.Read(WriteJpeg({.densityUnit = c.unit, .xDensity = c.x, .yDensity = c.y}));
    EXPECT_EQ(load.params.DpiX, c.dpiX);
    EXPECT_EQ(load.params.DpiY, c.dpiY);
  }
}

TEST(JpegReader, LibraryErrorsBecomeGraphicErrors) {
  JpegLoad notJpeg;
  try {
    notJpeg.Read({'B', 'M', 1, 2, 3, 4, 5, 6});
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Unrecognized JPeg - JPEG error #", 0), 0u) << e.what();
  }
  // A file cut in its data loads what it has; one cut in its header is an error.
  auto whole = WriteJpeg({.width = 400, .height = 300});
  JpegLoad cutData;
  cutData.Read(std::vector<std::uint8_t>(whole.begin(), whole.end() - 100));
  EXPECT_EQ(cutData.bitmap.Width(), 400);
  JpegLoad cutHeader;
  EXPECT_THROW(cutHeader.Read(std::vector<std::uint8_t>(whole.begin(), whole.begin() + 30)), EInvalidGraphic);
}

TEST(JpegReader, AnExceptionOfTheProgressHandlerStillFreesTheDecompressor) {
  auto bytes = WriteJpeg({});
  TMemoryStream stream;
  stream.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  stream.SetPosition(0);
  TBitmap bitmap;
  TVelmoraIOParams params(nullptr);
  TProgressRec progress{[](TObject*, int) { throw Exception("stop"); }, nullptr};
  EXPECT_THROW(JPEGReadStream(&stream, bitmap, params, progress), Exception);  // the leak check sees the rest
}

}  // namespace
