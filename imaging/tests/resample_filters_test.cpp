#include "imaging/resample_filters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <numbers>
#include <stdexcept>
#include <thread>
#include <vector>

#include "imaging/resample.h"
#include "test_pictures.h"

namespace {

// The kernels as written in the textbook, independently of the library's arrangement.
double ReferenceKernel(int filter, double t) {
  double x = std::abs(t);
  auto sinc = [](double v) { return v == 0 ? 1.0 : std::sin(std::numbers::pi * v) / (std::numbers::pi * v); };
  switch (filter) {
    case 1: return x < 1 ? 1 - x : 0;
    case 2: return x < 1 ? 2 * x * x * x - 3 * x * x + 1 : 0;
    case 3: return x < 0.5 ? 0.75 - x * x : x < 1.5 ? 0.5 * (x - 1.5) * (x - 1.5) : 0;
    case 4: return x < 1 ? x * x * x / 2 - x * x + 2.0 / 3 : x < 2 ? std::pow(2 - x, 3) / 6 : 0;
    case 5: return x < 3 ? sinc(x) * sinc(x / 3) : 0;
    case 6: {
      const double b = 1.0 / 3, c = 1.0 / 3;
      if (x < 1) return ((12 - 9 * b - 6 * c) * x * x * x + (-18 + 12 * b + 6 * c) * x * x + (6 - 2 * b)) / 6;
      if (x < 2)
        return ((-b - 6 * c) * x * x * x + (6 * b + 30 * c) * x * x + (-12 * b - 48 * c) * x + (8 * b + 24 * c)) / 6;
      return 0;
    }
  }
  return 0;
}
const double kSupport[] = {0, 1, 1, 1.5, 2, 3, 2};

int Mirror(long j, int n) {
  long k = j < 0 ? -j : j >= n ? 2L * n - 1 - j : j;
  return static_cast<int>(std::clamp(k, 0L, static_cast<long>(n - 1)));
}

double ReferenceSample(int filter, int n, int m, int i, const std::function<double(int)>& at) {
  double scale = static_cast<double>(m) / n, s = kSupport[filter];
  double w = scale >= 1 ? s : s / scale, f = scale >= 1 ? 1 : 1 / scale, centre = i / scale, sum = 0;
  for (long j = static_cast<long>(std::floor(centre - w)); j <= static_cast<long>(std::ceil(centre + w)); ++j)
    sum += ReferenceKernel(filter, (centre - j) / f) / f * at(Mirror(j, n));
  return sum;
}

double ToByte(double v) { return v > 255 ? 255 : v < 0 ? 0 : std::nearbyint(v); }

// Two passes in plain double precision, rounding to bytes between them as the work bitmap does.
std::vector<double> ReferenceResample(TBitmap& src, int filter, int dw, int dh) {
  int sw = src.Width(), sh = src.Height();
  std::vector<double> work(static_cast<std::size_t>(dw) * sh * 3), out(static_cast<std::size_t>(dw) * dh * 3);
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < dw; ++x)
      for (int c = 0; c < 3; ++c)
        work[(y * dw + x) * 3 + c] =
            ToByte(ReferenceSample(filter, sw, dw, x, [&](int j) { return RowOf(src, y)[3 * j + c]; }));
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x)
      for (int c = 0; c < 3; ++c)
        out[(y * dw + x) * 3 + c] =
            ToByte(ReferenceSample(filter, sh, dh, y, [&](int k) { return work[(k * dw + x) * 3 + c]; }));
  return out;
}

TEST(ResampleFilterTest, KernelsMatchTheirFormulas) {
  for (int filter = 1; filter <= 6; ++filter)
    for (double x = -3.25; x <= 3.25; x += 0.125)
      EXPECT_NEAR(FilterKernel(filter, x), ReferenceKernel(filter, x), 1e-12) << "filter " << filter << " at " << x;
  EXPECT_DOUBLE_EQ(FilterKernel(5, 0), 1);
  EXPECT_NEAR(FilterKernel(5, 2), 0, 1e-15);
  EXPECT_DOUBLE_EQ(FilterKernel(3, 1), 0.125);
  EXPECT_EQ(FilterSupport(5), 3.0);
  EXPECT_EQ(FilterSupport(0), 0.0);
}

struct Sizes {
  int sw, sh, dw, dh;
};

TEST(ResampleFilterTest, AllFiltersMatchTheDoublePrecisionReference) {
  const Sizes cases[] = {{17, 13, 40, 29}, {40, 30, 11, 7}, {9, 20, 9, 5}, {3, 2, 8, 7}, {23, 19, 23, 19}};
  for (const Sizes& size : cases) {
    TBitmap source;
    Paint(source, size.sw, size.sh, PhotoLike);
    for (int filter = 1; filter <= 6; ++filter) {
      auto destBitmap = Sized24(size.dw, size.dh);
      TBitmap& dest = *destBitmap;
      ResampleFiltered(source, dest, filter, {});
      auto expected = ReferenceResample(source, filter, size.dw, size.dh);
      for (int y = 0; y < size.dh; ++y)
        for (int x = 0; x < size.dw; ++x)
          for (int c = 0; c < 3; ++c)
            ASSERT_NEAR(RowOf(dest, y)[3 * x + c], expected[(y * size.dw + x) * 3 + c], 1)
                << "filter " << filter << " " << size.sw << "x" << size.sh << " to " << size.dw << "x" << size.dh
                << " at " << x << "," << y;
    }
  }
}

// The resampling written out plainly, pixel by pixel and sum by sum in double precision, the
// kernels in the forms the weights are defined by (powers as products from the left).
namespace plain {

double Kernel(int filter, double t) {
  const double x = std::fabs(t);
  auto sinc = [](double v) { return v == 0 ? 1.0 : std::sin(v * std::numbers::pi) / (v * std::numbers::pi); };
  switch (filter) {
    case 1: return x < 1 ? 1 - x : 0;
    case 2: return x < 1 ? (2 * x - 3) * (x * x) + 1 : 0;
    case 3: return x < 0.5 ? 0.75 - x * x : x < 1.5 ? 0.5 * ((x - 1.5) * (x - 1.5)) : 0;
    case 4: return x < 1 ? 0.5 * (x * x * x) - x * x + 2.0 / 3 : x < 2 ? (2 - x) * (2 - x) * (2 - x) / 6 : 0;
    case 5: return x < 3 ? sinc(x) * sinc(x / 3) : 0;
    case 6:
      if (x < 1) return (7 * (x * x * x) - 12 * (x * x) + 16.0 / 3) / 6;
      if (x < 2) return (-7.0 / 3 * (x * x * x) + 12 * (x * x) - 20 * x + 32.0 / 3) / 6;
      return 0;
  }
  return 0;
}

BYTE Clamp(double sum) { return sum > 255 ? 255 : sum >= 0 ? static_cast<BYTE>(std::nearbyint(sum)) : 0; }

BYTE Sample(int filter, int n, int m, int i, const std::function<BYTE(int)>& at) {
  const double scale = static_cast<double>(m) / n, s = kSupport[filter];
  const double w = scale >= 1 ? s : s / scale, f = scale >= 1 ? 1 : 1 / scale, centre = i / scale;
  double sum = 0;
  for (long j = static_cast<long>(std::floor(centre - w)); j <= static_cast<long>(std::ceil(centre + w)); ++j) {
    const double weight = scale >= 1 ? Kernel(filter, centre - j) : Kernel(filter, (centre - j) / f) / f;
    if (weight != 0) sum += weight * at(Mirror(j, n));
  }
  return Clamp(sum);
}

std::vector<BYTE> Resample(TBitmap& src, int filter, int dw, int dh) {
  const int sw = src.Width(), sh = src.Height();
  std::vector<BYTE> work(static_cast<std::size_t>(dw) * sh * 3), out(static_cast<std::size_t>(dw) * dh * 3);
  for (int y = 0; y < sh; ++y)
    for (int x = 0; x < dw; ++x)
      for (int c = 0; c < 3; ++c)
        work[(static_cast<std::size_t>(y) * dw + x) * 3 + c] =
            Sample(filter, sw, dw, x, [&](int j) { return RowOf(src, y)[3 * j + c]; });
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x)
      for (int c = 0; c < 3; ++c)
        out[(static_cast<std::size_t>(y) * dw + x) * 3 + c] =
            Sample(filter, sh, dh, y, [&](int k) { return work[(static_cast<std::size_t>(k) * dw + x) * 3 + c]; });
  return out;
}

}  // namespace plain

// At the slot's size and the preview's, from larger and smaller pictures, every filter gives the
// plain computation's bytes exactly: sums that land near a half must round the same way, since
// the 8-bit logo's palette is learnt from these bytes.
TEST(ResampleFilterTest, SlotSizesGiveThePlainComputationsBytesExactly) {
  struct Picture {
    const char* name;
    int width, height;
    std::function<COLORREF(int, int)> colour;
  };
  const Picture pictures[] = {
      {"photograph-like, larger", 640, 480, PhotoLike},
      {"two colours, larger", 403, 517,
       [](int x, int y) { return ((x / 3 + y / 5) % 2) ? RGB(255, 255, 255) : RGB(0, 0, 128); }},
      {"photograph-like, smaller", 150, 113, PhotoLike},
  };
  const Sizes slotSizes[] = {{0, 0, 320, 400}, {0, 0, 215, 269}};
  for (const Picture& picture : pictures) {
    TBitmap source;
    Paint(source, picture.width, picture.height, picture.colour);
    for (const Sizes& size : slotSizes)
      for (int filter = 1; filter <= 6; ++filter) {
        SCOPED_TRACE(testing::Message() << picture.name << " to " << size.dw << "x" << size.dh << ", filter "
                                        << filter);
        auto destBitmap = Sized24(size.dw, size.dh);
        ResampleFiltered(source, *destBitmap, filter, {});
        const std::vector<BYTE> expected = plain::Resample(source, filter, size.dw, size.dh);
        int differing = 0;
        for (int y = 0; y < size.dh; ++y)
          differing += std::memcmp(RowOf(*destBitmap, y), &expected[static_cast<std::size_t>(y) * size.dw * 3],
                                   static_cast<std::size_t>(size.dw) * 3) != 0;
        EXPECT_EQ(differing, 0) << "rows that differ";
      }
  }
}

// A wide row is weighed in runs of columns, and a column whose kernel alone spans more than the
// lanes may hold is weighed from its bytes one row at a time: the same bytes either way.
TEST(ResampleFilterTest, WideRowsGiveThePlainComputationsBytes) {
  TBitmap source;
  Paint(source, 70001, 3, [](int x, int y) { return PhotoLike(x % 997, y); });
  for (int filter : {1, 5})
    for (int columns : {320, 4}) {
      SCOPED_TRACE(testing::Message() << "filter " << filter << ", " << columns << " columns");
      auto destBitmap = Sized24(columns, 4);
      ResampleFiltered(source, *destBitmap, filter, {});
      const std::vector<BYTE> expected = plain::Resample(source, filter, columns, 4);
      for (int y = 0; y < 4; ++y)
        EXPECT_EQ(std::memcmp(RowOf(*destBitmap, y), &expected[static_cast<std::size_t>(y) * columns * 3],
                              static_cast<std::size_t>(columns) * 3),
                  0)
            << y;
    }
}

// A picture of over a million pixels is weighed on several threads: the same bytes, and progress
// still row by row, in order, from the calling thread.
TEST(ResampleFilterTest, LargePicturesGiveThePlainBytesAndProgressInOrderFromTheCaller) {
  TBitmap source;
  Paint(source, 1283, 1001, PhotoLike);
  auto destBitmap = Sized24(320, 400);
  std::vector<int> reports;
  const std::thread::id caller = std::this_thread::get_id();
  int fromElsewhere = 0;
  ResampleFiltered(source, *destBitmap, 5,
                   {[&](TObject*, int per) {
                      reports.push_back(per);
                      fromElsewhere += std::this_thread::get_id() != caller;
                    },
                    nullptr});
  const std::vector<BYTE> expected = plain::Resample(source, 5, 320, 400);
  for (int y = 0; y < 400; ++y)
    ASSERT_EQ(std::memcmp(RowOf(*destBitmap, y), &expected[static_cast<std::size_t>(y) * 320 * 3], 320 * 3), 0) << y;
  EXPECT_EQ(fromElsewhere, 0);
  ASSERT_EQ(reports.size(), 1001u + 320u);
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
  EXPECT_EQ(reports[1000], static_cast<int>(1001 * 100 / (1001 + 320 + 0.5L)));
}

// A handler that raises ends the resampling with its exception; the helpers are gone with it.
TEST(ResampleFilterTest, AProgressHandlerThatRaisesEndsALargeResampling) {
  TBitmap source;
  Paint(source, 1283, 1001, PhotoLike);
  auto destBitmap = Sized24(320, 400);
  int calls = 0;
  EXPECT_THROW(ResampleFiltered(source, *destBitmap, 5,
                                {[&](TObject*, int) {
                                   if (++calls == 100) throw std::runtime_error("stop");
                                 },
                                 nullptr}),
               std::runtime_error);
  EXPECT_EQ(calls, 100);
}

TEST(ResampleFilterTest, Lanczos3AtTheSameSizeReproducesThePicture) {
  TBitmap source;
  auto destBitmap = Sized24(320, 400);
  TBitmap& dest = *destBitmap;
  Paint(source, 320, 400, PhotoLike);
  ResampleFiltered(source, dest, 5, {});
  for (int y = 0; y < 400; ++y) ASSERT_EQ(0, std::memcmp(RowOf(source, y), RowOf(dest, y), 320 * 3)) << "row " << y;
}

TEST(ResampleFilterTest, TriangleDoublingInterpolatesHalfwayAndMirrorsTheRightEdge) {
  TBitmap source;
  auto destBitmap = Sized24(8, 1);
  TBitmap& dest = *destBitmap;
  const BYTE values[] = {0, 100, 50, 200};
  Paint(source, 4, 1, [&](int x, int) { return RGB(values[x], values[x], values[x]); });
  ResampleFiltered(source, dest, 1, {});
  // Column 7 lies at source 3.5, between pixel 3 and its mirror image, pixel 3 again.
  const int expected[] = {0, 50, 100, 75, 50, 125, 200, 200};
  for (int x = 0; x < 8; ++x) EXPECT_EQ(RowOf(dest, 0)[3 * x], expected[x]) << x;
}

// A kernel wider than the picture mirrors past the far edge; every index must stay inside.
TEST(ResampleFilterTest, ContributorsStayInsideNarrowPictures) {
  for (int filter = 1; filter <= 6; ++filter)
    for (int n : {1, 2, 3})
      for (int m : {1, 5, 40}) {
        auto lists = BuildContributors(filter, n, m);
        ASSERT_EQ(lists.size(), static_cast<std::size_t>(m));
        for (const auto& list : lists)
          for (const TContributor& c : list) ASSERT_TRUE(c.index >= 0 && c.index < n) << filter << " " << n << " " << m;
      }
  EXPECT_TRUE(BuildContributors(5, 0, 10).empty());
  EXPECT_TRUE(BuildContributors(5, 10, 0).empty());
}

TEST(ResampleFilterTest, ProgressRisesToJustBelowAHundred) {
  TBitmap source;
  auto destBitmap = Sized24(30, 20);
  TBitmap& dest = *destBitmap;
  Paint(source, 60, 50, PhotoLike);
  std::vector<int> reports;
  ResampleFiltered(source, dest, 5, {[&](TObject*, int per) { reports.push_back(per); }, nullptr});
  ASSERT_EQ(reports.size(), 50u + 30u);
  EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
  EXPECT_EQ(reports.back(), 99);  // 80 x 100 / 80.5
}

}  // namespace
