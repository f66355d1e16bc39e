#include "imaging/neuquant.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>
#include <vector>

#include "imaging/bit_routines.h"
#include "imaging/hash_set.h"
#include "test_pictures.h"

namespace {

std::uint32_t PixelValue(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16; }

// Peak signal-to-noise ratio of the picture mapped through the palette.
double QuantisedPsnr(TBitmap& picture, const TNeuQuant& quant, const std::vector<std::uint8_t>& map) {
  double squares = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint8_t* p = RowOf(picture, y) + 3 * x;
      const std::uint8_t* q = &map[3 * quant.Index(PixelValue(p))];
      for (int c = 0; c < 3; ++c) squares += (p[c] - q[c]) * (p[c] - q[c]);
    }
  double mse = squares / (3.0 * picture.Width() * picture.Height());
  return 10 * std::log10(255.0 * 255.0 / mse);
}

TEST(NeuQuantTest, SampleFactorFromQualityAndPixelCount) {
  EXPECT_EQ(NeuQuantSampleFactor(-1, 320 * 400), 13);
  EXPECT_EQ(NeuQuantSampleFactor(-1, 40 * 40), 1);
  EXPECT_EQ(NeuQuantSampleFactor(-1, 4000 * 3000), 30);
  EXPECT_EQ(NeuQuantSampleFactor(50, 0), 15);
  EXPECT_EQ(NeuQuantSampleFactor(100, 0), 1);
  EXPECT_EQ(NeuQuantSampleFactor(0, 0), 30);
}

TEST(NeuQuantTest, OneColourPictureMapsToOneEntryOfThatColour) {
  TBitmap picture;
  Paint(picture, 64, 48, [](int, int) { return RGB(200, 40, 90); });
  std::vector<std::uint8_t> map(256 * 3);
  auto quant = NeuQuantBuild(RowsOf(picture), map.data(), -1, 256);
  int index = NeuQuantIndex(*quant, 90 << 0 | 40 << 8 | 200 << 16);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(quant->Index(PixelValue(RowOf(picture, y) + 3 * x)), index);
  EXPECT_NEAR(map[3 * index], 90, 2);
  EXPECT_NEAR(map[3 * index + 1], 40, 2);
  EXPECT_NEAR(map[3 * index + 2], 200, 2);
}

// Every green value has a start for the search, so pixels greener or less green than any neuron
// still find their nearest entry.
TEST(NeuQuantTest, SearchFindsTheNearestEntryForEveryGreen) {
  TBitmap picture;
  Paint(picture, 50, 40, [](int x, int) { return x < 25 ? RGB(10, 150, 10) : RGB(240, 200, 30); });
  std::vector<std::uint8_t> map(16 * 3);
  auto quant = NeuQuantBuild(RowsOf(picture), map.data(), 100, 16);
  for (int g = 0; g < 256; g += 5)
    for (int rb : {0, 128, 255}) {
      std::uint32_t pixel = rb | g << 8 | rb << 16;
      int best = 0, bestDistance = 1 << 30;
      for (int i = 0; i < 16; ++i) {
        int d = std::abs(map[3 * i] - rb) + std::abs(map[3 * i + 1] - g) + std::abs(map[3 * i + 2] - rb);
        if (d < bestDistance) bestDistance = d, best = i;
      }
      int found = quant->Index(pixel);
      ASSERT_GE(found, 0);
      int d = std::abs(map[3 * found] - rb) + std::abs(map[3 * found + 1] - g) + std::abs(map[3 * found + 2] - rb);
      EXPECT_EQ(d, bestDistance) << "green " << g << " rb " << rb << " best " << best;
    }
}

// The frequency bias must spread a logo's 256 neurons over the picture's colours instead of
// letting the neuron that wins often win everything. (Sixteen neurons merge red and yellow here.)
TEST(NeuQuantTest, FourColourPictureGetsFourEntries) {
  const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
  TBitmap picture;
  Paint(picture, 32, 32, [&](int x, int y) { return colours[(x / 16) + 2 * (y / 16)]; });
  std::vector<std::uint8_t> map(256 * 3);
  auto quant = NeuQuantBuild(RowsOf(picture), map.data(), 100, 256);
  std::set<int> used;
  for (COLORREF c : colours) {
    std::uint32_t pixel = GetBValue(c) | GetGValue(c) << 8 | GetRValue(c) << 16;
    int i = quant->Index(pixel);
    used.insert(i);
    EXPECT_NEAR(map[3 * i], GetBValue(c), 24);
    EXPECT_NEAR(map[3 * i + 1], GetGValue(c), 24);
    EXPECT_NEAR(map[3 * i + 2], GetRValue(c), 24);
  }
  EXPECT_EQ(used.size(), 4u);
}

// 25 samples: fewer than one per step of the learning schedule.
TEST(NeuQuantTest, TinyPicturesLearn) {
  TBitmap picture;
  Paint(picture, 5, 5, [](int x, int) { return x < 2 ? RGB(0, 0, 0) : RGB(250, 250, 250); });
  std::vector<std::uint8_t> map(16 * 3);
  auto quant = NeuQuantBuild(RowsOf(picture), map.data(), -1, 16);
  int dark = quant->Index(0), light = quant->Index(0xFAFAFA);
  EXPECT_LT(map[3 * dark + 1], 40);
  EXPECT_GT(map[3 * light + 1], 210);
}

TEST(NeuQuantTest, PhotoLikePictureQuantisesWell) {
  TBitmap picture;
  Paint(picture, 320, 400, PhotoLike);
  std::vector<std::uint8_t> map(256 * 3);
  auto quant = NeuQuantBuild(RowsOf(picture), map.data(), -1, 256);
  EXPECT_GT(QuantisedPsnr(picture, *quant, map), 24.0);
}

// The learning written out plainly in the quantiser's own integer arithmetic: a grey ramp, one
// pass of samples at a prime step, the contest with its frequency and bias, the winner and its
// neighbours moved, the schedule every hundredth of the pass. The bias enters the contest shifted
// as an unsigned value, or, to show that the pictures below tell the two apart, as a signed one.
std::vector<std::uint8_t> PlainPalette(TBitmap& picture, int quality, int colors, bool signedBiasShift = false) {
  struct Neuron {
    std::int64_t c[3];
  };
  std::vector<Neuron> net(static_cast<std::size_t>(colors));
  std::vector<std::int32_t> bias(net.size(), 0), freq(net.size());
  for (int i = 0; i < colors; ++i) {
    const std::int64_t grey = i * 4096 / colors;
    net[static_cast<std::size_t>(i)] = {{grey, grey, grey}};
    freq[static_cast<std::size_t>(i)] = 65536 / colors;
  }
  const std::int64_t width = picture.Width(), pixels = width * picture.Height(), length = 3 * pixels;
  const int factor = NeuQuantSampleFactor(quality, pixels);
  const std::int64_t samples = length / (3 * factor), every = samples / 100;
  const int alphadec = 30 + (factor - 1) / 3;
  std::int64_t alpha = 1024, radius = colors / 8 * 64, rad = 0;
  std::vector<std::int64_t> radpower(static_cast<std::size_t>(colors / 8 + 1));
  const auto schedule = [&] {
    rad = radius < 128 ? 0 : radius / 64;
    for (std::int64_t i = 0; i < rad; ++i)
      radpower[static_cast<std::size_t>(i)] = ((rad * rad - i * i) * 256 / (rad * rad)) * alpha;
  };
  schedule();
  const std::int64_t step = length % 499 ? 499 : length % 491 ? 491 : length % 487 ? 487 : 503;
  std::int64_t position = 0;
  for (std::int64_t n = 1; n <= samples; ++n) {
    const std::uint8_t* p = RowOf(picture, static_cast<int>(position / width)) + 3 * (position % width);
    const std::int64_t sample[3] = {p[0] << 4, p[1] << 4, p[2] << 4};
    std::int64_t bestd = INT64_MAX, bestbiasd = INT64_MAX;
    std::size_t nearest = 0, winner = 0;
    for (std::size_t i = 0; i < net.size(); ++i) {
      std::int64_t dist = 0;
      for (int c = 0; c < 3; ++c) dist += std::abs(net[i].c[c] - sample[c]);
      const std::int64_t shifted = signedBiasShift ? std::int64_t{bias[i] >> 12}
                                                   : std::int64_t{static_cast<std::uint32_t>(bias[i]) >> 12};
      if (dist < bestd) bestd = dist, nearest = i;
      if (dist - shifted < bestbiasd) bestbiasd = dist - shifted, winner = i;
      const std::int32_t old = freq[i];
      freq[i] -= old / 1024;
      bias[i] += old / 1024 * 1024;
    }
    freq[nearest] += 64;
    bias[nearest] -= 65536;
    for (int c = 0; c < 3; ++c) net[winner].c[c] -= (net[winner].c[c] - sample[c]) * alpha / 1024;
    const auto move = [&](std::int64_t at, std::int64_t factorOf262144) {
      for (int c = 0; c < 3; ++c) {
        std::int64_t& v = net[static_cast<std::size_t>(at)].c[c];
        v -= (v - sample[c]) * factorOf262144 / 262144;
      }
    };
    const std::int64_t w = static_cast<std::int64_t>(winner);
    const std::int64_t hi = std::min<std::int64_t>(colors, w + rad), lo = std::max<std::int64_t>(w - rad, -1);
    for (std::int64_t j = w + 1, k = w - 1, m = 1; rad > 0 && (j < hi || k > lo); ++j, --k, ++m) {
      if (j < hi) move(j, radpower[static_cast<std::size_t>(m)]);
      if (k > lo) move(k, radpower[static_cast<std::size_t>(m)]);
    }
    position += step;
    if (position >= pixels) position -= pixels;
    if (n % every == 0) {
      alpha -= alpha / alphadec;
      radius -= radius / 30;
      schedule();
    }
  }
  std::vector<std::uint8_t> map;
  for (const Neuron& n : net)
    for (int c = 0; c < 3; ++c) map.push_back(static_cast<std::uint8_t>(n.c[c] >> 4));
  return map;
}

// The search as a walk: neurons sorted by green (a selection sort), a start per green, then outward
// up and down by turns, each side stopping once its green alone is too far, the first of the
// smallest distance kept.
class WalkingSearch {
 public:
  WalkingSearch(const std::vector<std::uint8_t>& map, int colors) {
    for (int i = 0; i < colors; ++i) net_.push_back({map[3 * i], map[3 * i + 1], map[3 * i + 2], i});
    int previous = 0, start = 0;
    const int last = colors - 1;
    for (int i = 0; i < colors; ++i) {
      int smallest = i;
      for (int j = i + 1; j < colors; ++j)
        if (net_[j][1] < net_[smallest][1]) smallest = j;
      std::swap(net_[i], net_[smallest]);
      if (net_[i][1] != previous) {
        start_[previous] = (start + i) / 2;
        for (int j = previous + 1; j < net_[i][1]; ++j) start_[j] = i;
        previous = net_[i][1];
        start = i;
      }
    }
    start_[previous] = (start + last) / 2;
    for (int j = previous + 1; j < 256; ++j) start_[j] = last;
  }
  int Index(int b, int g, int r) const {
    const int n = static_cast<int>(net_.size());
    int bestd = 1000, best = -1, up = start_[g], down = up - 1;
    auto consider = [&](const std::array<int, 4>& e) {
      const int d = std::abs(e[0] - b) + std::abs(e[1] - g) + std::abs(e[2] - r);
      if (d < bestd) bestd = d, best = e[3];
    };
    while (up < n || down >= 0) {
      if (up < n) {
        if (net_[up][1] - g >= bestd) up = n;
        else
          consider(net_[up++]);
      }
      if (down >= 0) {
        if (g - net_[down][1] >= bestd) down = -1;
        else
          consider(net_[down--]);
      }
    }
    return best;
  }

 private:
  std::vector<std::array<int, 4>> net_;
  std::array<int, 256> start_{};
};

// Many entries lie at one distance from a pixel: the tie goes to the one the walk meets first.
TEST(NeuQuantTest, SearchAgreesWithTheWalkOnEveryPixelAndTie) {
  for (int colors : {256, 37}) {
    TBitmap picture;
    Paint(picture, 160, 120, PhotoLike);
    std::vector<std::uint8_t> map(256 * 3);
    auto quant = NeuQuantBuild(RowsOf(picture), map.data(), 100, colors);
    const WalkingSearch walk(map, colors);
    int ties = 0;
    for (int g = 0; g < 256; g += 3)
      for (int b = 0; b < 256; b += 7)
        for (int r = 0; r < 256; r += 11) {
          const int found = quant->Index(b | g << 8 | r << 16);
          ASSERT_EQ(found, walk.Index(b, g, r)) << colors << " colours, pixel " << b << " " << g << " " << r;
          for (int i = 0; i < colors && ties < 1000; ++i)
            if (i != found &&
                std::abs(map[3 * i] - b) + std::abs(map[3 * i + 1] - g) + std::abs(map[3 * i + 2] - r) ==
                    std::abs(map[3 * found] - b) + std::abs(map[3 * found + 1] - g) + std::abs(map[3 * found + 2] - r))
              ++ties;
        }
    EXPECT_GT(ties, 100) << "the pixels must include ties to tell the orders apart";
  }
}

// Flat areas in a few colours with hard edges, as a drawing has.
COLORREF DrawingLike(int x, int y) {
  const int dx = x - 160, dy = y - 150;
  if (dx * dx + dy * dy < 90 * 90) return (x + y) % 9 == 0 ? RGB(250, 240, 0) : RGB(230, 30, 40);
  if (y > 300) return x < 100 ? RGB(20, 60, 200) : RGB(40, 160, 60);
  return (x / 40 + y / 40) % 2 ? RGB(255, 255, 255) : RGB(200, 200, 210);
}

TEST(NeuQuantTest, PaletteAndIndexesAreThoseOfThePlainArithmetic) {
  struct Case {
    const char* name;
    int width, height;
    COLORREF (*paint)(int, int);
    int quality, colors;
  };
  const Case cases[] = {
      {"a logo-sized photograph, one pixel in 13", 320, 400, PhotoLike, -1, 256},
      {"a logo-sized drawing", 320, 400, DrawingLike, -1, 256},
      {"every pixel into sixteen colours", 90, 70, PhotoLike, 100, 16},
      {"37 colours at quality 40", 200, 150, DrawingLike, 40, 37},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap picture;
    Paint(picture, c.width, c.height, c.paint);
    std::vector<std::uint8_t> map(static_cast<std::size_t>(3 * c.colors));
    auto quant = NeuQuantBuild(RowsOf(picture), map.data(), c.quality, c.colors);
    EXPECT_EQ(map, PlainPalette(picture, c.quality, c.colors));
    EXPECT_NE(map, PlainPalette(picture, c.quality, c.colors, true)) << "the picture must tell the shifts apart";
    const WalkingSearch walk(map, c.colors);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x) {
        const std::uint8_t* p = RowOf(picture, y) + 3 * x;
        ASSERT_EQ(quant->Index(PixelValue(p)), walk.Index(p[0], p[1], p[2])) << "pixel " << x << ", " << y;
      }
  }
}

TEST(Hash1Test, InsertCountsDistinctKeysAcrossChains) {
  THash1 hash(2);
  EXPECT_TRUE(hash.Insert(5));
  EXPECT_TRUE(hash.Insert(1));
  EXPECT_FALSE(hash.Insert(5));
  EXPECT_EQ(hash.Count(), 2);
  EXPECT_TRUE(hash.Insert(9));  // third key of bucket 1
  EXPECT_FALSE(hash.Insert(1));
  EXPECT_FALSE(hash.Insert(9));
  EXPECT_TRUE(hash.Insert(2));
  EXPECT_EQ(hash.Count(), 4);
}

TEST(BitRoutinesTest, MaskWidthStrideAndReversal) {
  EXPECT_EQ(MaskWidth(0x7C00), 5);
  EXPECT_EQ(MaskWidth(0x3E0), 5);
  EXPECT_EQ(MaskWidth(0x1F), 5);
  EXPECT_EQ(MaskWidth(0xFF0000), 8);
  EXPECT_EQ(MaskWidth(0), 0);
  EXPECT_EQ(RowStride(5, 4), 4);
  EXPECT_EQ(RowStride(320, 8), 320);
  EXPECT_EQ(RowStride(1, 24), 4);
  EXPECT_EQ(RowStride(33, 1), 8);
  EXPECT_EQ(ReverseBits32(1), 0x80000000u);
  EXPECT_EQ(ReverseBits32(0x0000F00Du), 0xB00F0000u);
}

}  // namespace
