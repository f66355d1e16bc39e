// Animated GIFs written by an independent encoder (convert) with every disposal, transparency and
// interlace: each frame the control composes must equal the encoder's coalesced frame on the pixels
// it calls opaque. Skipped without convert.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/testing/outside_tools.h"
#include "imaging/anim_gif.h"
#include "test_pictures.h"
#include "window_fixture.h"

namespace {

namespace fs = std::filesystem;

// A binary PPM of few colours, so the encoder keeps them exactly; pure red marks holes.
void WritePpm(const fs::path& path, int w, int h, int seed) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << w << " " << h << "\n255\n";
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool hole = (x + y + seed) % 5 == 0;
      const unsigned char rgb[3] = {static_cast<unsigned char>(hole ? 255 : (x * 40 + seed * 60) % 200),
                                    static_cast<unsigned char>(hole ? 0 : (y * 50 + seed * 30) % 250),
                                    static_cast<unsigned char>(hole ? 0 : 100 + seed * 30)};
      out.write(reinterpret_cast<const char*>(rgb), 3);
    }
}

class AnimGifToolTest : public WindowTest {
 protected:
  void SetUp() override {
    if (!HaveTool("convert")) GTEST_SKIP() << "no convert";
    dir_ = fs::temp_directory_path() / ("animgif-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    if (!dir_.empty()) fs::remove_all(dir_, ec);
  }
  std::string P(const std::string& name) const { return (dir_ / name).string(); }

  fs::path dir_;
};

TEST_F(AnimGifToolTest, ComposedFramesEqualTheEncodersCoalescedFrames) {
  constexpr int kW = 40, kH = 30;
  WritePpm(P("f0.ppm"), kW, kH, 0);
  WritePpm(P("f1.ppm"), 16, 12, 1);
  WritePpm(P("f2.ppm"), 14, 10, 2);
  WritePpm(P("f3.ppm"), 20, 8, 3);
  WritePpm(P("f4.ppm"), 10, 10, 4);
  for (const char* interlace : {"None", "GIF"}) {
    const std::string gif = P(std::string("anim-") + interlace + ".gif");
    // Each image is placed on the 40 x 30 screen after it is read; -dispose applies to the images after it.
    const auto placed = [&](const char* file, const char* at, bool holes) {
      return " \\( " + P(file) + (holes ? " -transparent red" : "") + " -repage " + std::to_string(kW) + "x" +
             std::to_string(kH) + at + " \\)";
    };
    const std::string make = "convert -interlace " + std::string(interlace) + " -delay 10 -dispose None" +
                             placed("f0.ppm", "+0+0", false) + " -dispose Background" + placed("f1.ppm", "+5+4", true) +
                             " -dispose Previous" + placed("f2.ppm", "+20+10", true) + " -dispose None" +
                             placed("f3.ppm", "+2+20", false) + " -dispose Background" +
                             placed("f4.ppm", "+28+3", true) + " " + gif + " 2>/dev/null";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;
    const std::string theirs = ToolOutput("convert " + gif + " -coalesce -depth 8 rgba:- 2>/dev/null");
    const std::size_t frameBytes = static_cast<std::size_t>(kW) * kH * 4;
    ASSERT_EQ(theirs.size(), 5 * frameBytes) << "the encoder's coalesced frames";

    TAnimGIF control(form_.get());
    std::ifstream in(gif, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    TMemoryStream file;
    file.Write(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    ASSERT_TRUE(control.LoadFromStream(&file));
    ASSERT_EQ(control.FrameCount(), 5);
    ASSERT_EQ(control.PictureWidth(), kW);
    ASSERT_EQ(control.Frame(2).Disposal, 2);
    ASSERT_EQ(control.Frame(3).Disposal, 3);
    ASSERT_TRUE(control.Frame(2).Transparent);
    EXPECT_EQ(control.Frame(1).Interlaced, std::string(interlace) == "GIF");
    int compared = 0;
    for (int k = 1; k <= 5; ++k) {
      control.SetCurrentFrame(k);
      const auto* frame = reinterpret_cast<const unsigned char*>(theirs.data()) + (k - 1) * frameBytes;
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
          const unsigned char* p = frame + (static_cast<std::size_t>(y) * kW + x) * 4;
          if (p[3] != 255) continue;
          ++compared;
          ASSERT_EQ(PixelAt(*control.Composed(), x, y), RGB(p[0], p[1], p[2]))
              << interlace << " frame " << k << " at " << x << "," << y;
        }
    }
    EXPECT_GT(compared, 5 * kW * kH / 2);
  }
}

}  // namespace
