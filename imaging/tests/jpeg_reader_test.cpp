#include "imaging/jpeg_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/jpeg_scans.h"
#include "formats/testing/jpeg_scans_file.h"
#include "host/testing/resource_use.h"
#include "vcl/graphics_images.h"
#include "jpeg_file_writer.h"
#include "test_pictures.h"

#include <jpeglib.h>
#include <jerror.h>

namespace {

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

TEST(JpegReader, PicturesTooLargeForTheBitmapAreRefusedBeforeDecoding) {
  // 20000 x 20000 declared in the frame header of a small progressive file: refused before the
  // library would reserve room for every coefficient.
  auto bytes = WriteJpeg({.progressive = true});
  std::size_t frame = 0;
  while (frame + 9 < bytes.size() && !(bytes[frame] == 0xFF && bytes[frame + 1] == 0xC2)) ++frame;
  ASSERT_LT(frame + 9, bytes.size());
  for (std::size_t at : {frame + 5, frame + 7}) {
    bytes[at] = 20000 >> 8;
    bytes[at + 1] = 20000 & 0xFF;
  }
  JpegLoad load;
  try {
    load.Read(bytes);
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Unrecognized JPeg - JPEG error #", 0), 0u) << e.what();
  }
  EXPECT_EQ(load.bitmap.Width(), 0);
}

// A file of far more scans than the limit is refused after the limit, at a cost close to that of a
// file whose scans the limit lets through, measured in the same run.
TEST(JpegReader, AFileOfTooManyScansIsRefusedAndCostsNoMoreThanTheScansAllowed) {
  constexpr int kHostileScans = 50000;
  constexpr double kSlack = 10;
  const auto picture = WriteJpeg({.width = 512, .height = 512, .progressive = true});
  const std::string bytes(picture.begin(), picture.end());
  const auto decode = [](const std::string& file) {
    return MeasureInChild([&]() -> std::string {
      JpegLoad load;
      try {
        load.Read({file.begin(), file.end()});
      } catch (const EInvalidGraphic& e) {
        return e.what();
      }
      return "read " + std::to_string(load.bitmap.Width());
    });
  };
  const ResourceUse allowed = decode(WithEmptyScans(bytes, jpeg::kMaxScans / 2));
  ASSERT_EQ(allowed.Outcome, "read 512");
  const ResourceUse hostile = decode(WithEmptyScans(bytes, kHostileScans));
  EXPECT_EQ(hostile.Outcome, "Unrecognized JPeg - JPEG error #" + std::to_string(JERR_BAD_PROGRESSION));
  EXPECT_LT(hostile.Seconds, kSlack * allowed.Seconds) << "against " << allowed.Seconds << " s";
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
