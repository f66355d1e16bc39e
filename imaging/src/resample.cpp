#include "imaging/resample.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "imaging/bitmap_rows.h"
#include "imaging/resample_filters.h"
#include "ordered_bands.h"
#include "vcl/system.h"

// Every sum is formed in double precision, term by term in its contributor list's order, exactly
// as a plain loop over the list would: the slot's 8-bit palette is learnt from these bytes, so a
// sum landing on the other side of a half changes far more than one pixel. The speed comes from
// doing many independent sums side by side (rows of a band, bytes of a row), which vector units
// do in doubles without changing any single sum. This file is built without contracting a
// multiply and an add into one rounding.
namespace {

// A sum as a byte: above 255 255, negative 0, else the nearest integer with halves to even.
// Adding and taking away 1.5 x 2^52 leaves a unit in the last place of 1, so the addition
// rounds to an integer by the default rounding, halves to even, as nearbyint would, but inline.
inline std::uint8_t ToByte(double sum) {
  constexpr double kRounder = 6755399441055744.0;
  if (sum > 255) return 255;
  if (sum >= 0) return static_cast<std::uint8_t>((sum + kRounder) - kRounder);
  return 0;
}

// The horizontal pass takes kRows source rows at a time, laid out position by position with the
// rows' blue, green and red side by side, so each column's contributors weigh kLanes values that
// lie together.
constexpr int kRows = 8;
constexpr int kLanes = 3 * kRows;
// Eight lanes side by side, each multiplied and added on its own as a double: the sums are those
// of one lane at a time, in vector registers (in parts where the processor's are narrower).
using Lanes = double __attribute__((vector_size(64), aligned(8)));  // no more than a double needs
constexpr int kVectors = kLanes / 8;

// Output columns go in runs whose contributors lie within kSpan source positions, so a band's
// lanes hold only its run's positions: each thread's buffer stays small and in the cache.
constexpr int kSpan = 512;
// A single column reaching further (a wide row shrunk to a few columns) would make the lanes
// outgrow the picture's rows by far; such rows are weighed from their bytes one at a time.
constexpr int kWidestSpan = 1 << 16;

struct ColumnRun {
  std::size_t first, last;  // columns [first, last)
  int lo, hi;  // the source positions they weigh, lo..hi
};

std::vector<ColumnRun> ColumnRuns(const std::vector<TContributorList>& columns) {
  std::vector<ColumnRun> runs;
  for (std::size_t i = 0; i < columns.size(); ++i) {
    int lo = INT_MAX, hi = INT_MIN;
    for (const TContributor& t : columns[i]) lo = std::min(lo, t.index), hi = std::max(hi, t.index);
    if (lo > hi) lo = hi = runs.empty() ? 0 : runs.back().lo;  // weighs nothing: fits any run
    if (!runs.empty() && std::max(hi, runs.back().hi) - std::min(lo, runs.back().lo) < kSpan) {
      ColumnRun& run = runs.back();
      run.last = i + 1;
      run.lo = std::min(run.lo, lo);
      run.hi = std::max(run.hi, hi);
    } else {
      runs.push_back({i, i + 1, lo, hi});
    }
  }
  return runs;
}

void HorizontalPassByRow(const PixelRows& from, const PixelRows& work, int sh,
                         const std::vector<TContributorList>& columns, const TProgressRec& progress,
                         long double total) {
  for (int y = 0; y < sh; ++y) {
    const std::uint8_t* in = from.Row(y);
    std::uint8_t* out = work.Row(y);
    for (std::size_t i = 0; i < columns.size(); ++i) {
      double sums[3] = {};
      for (const TContributor& t : columns[i])
        for (int c = 0; c < 3; ++c) sums[c] += t.weight * in[3 * static_cast<std::size_t>(t.index) + c];
      for (int c = 0; c < 3; ++c) out[3 * i + c] = ToByte(sums[c]);
    }
    if (progress) progress.Report(static_cast<int>(Trunc((y + 1) * 100 / total)));
  }
}

// Weighs a run of columns for the band of kRows rows from y0. Built for the wider vector units
// too, chosen when the program starts; the same sums either way.
[[gnu::target_clones("avx512f", "avx2", "default")]] void WeighBand(const PixelRows& from, const PixelRows& work,
                                                                    int sh, int y0,
                                                                    const std::vector<TContributorList>& columns,
                                                                    const ColumnRun& run, double* lanes) {
  const int rows = std::min(kRows, sh - y0);
  // Position by position, so each one's lanes are written together.
  const std::uint8_t* in[kRows];
  for (int r = 0; r < kRows; ++r) in[r] = from.Row(y0 + std::min(r, rows - 1));  // repeats feed unused lanes
  for (int x = run.lo; x <= run.hi; ++x) {
    double* at = lanes + static_cast<std::size_t>(x - run.lo) * kLanes;
    for (int r = 0; r < kRows; ++r)
      for (int c = 0; c < 3; ++c) at[3 * r + c] = in[r][3 * x + c];
  }
  for (std::size_t i = run.first; i < run.last; ++i) {
    Lanes sums[kVectors] = {};
    for (const TContributor& t : columns[i]) {
      const Lanes w = t.weight - Lanes{};  // the weight in every lane (w - 0 is w)
      const Lanes* p = reinterpret_cast<const Lanes*>(lanes + static_cast<std::size_t>(t.index - run.lo) * kLanes);
      for (int k = 0; k < kVectors; ++k) sums[k] += w * p[k];
    }
    for (int r = 0; r < rows; ++r) {
      std::uint8_t* out = work.Row(y0 + r) + 3 * i;
      for (int c = 0; c < 3; ++c) out[c] = ToByte(sums[(3 * r + c) / 8][(3 * r + c) % 8]);
    }
  }
}

// Below this many source pixels a pass runs on the calling thread alone: starting helpers would
// cost more than they save.
constexpr std::int64_t kPixelsForHelpers = std::int64_t{1} << 20;

// Each band is weighed run by run; a band's progress comes once its last run is done.
void HorizontalPass(const PixelRows& from, const PixelRows& work, int sw, int sh,
                    const std::vector<TContributorList>& columns, const TProgressRec& progress, long double total) {
  const std::vector<ColumnRun> runs = ColumnRuns(columns);
  int widest = 0;
  for (const ColumnRun& run : runs) widest = std::max(widest, run.hi - run.lo + 1);
  if (widest > kWidestSpan) return HorizontalPassByRow(from, work, sh, columns, progress, total);
  const int bands = (sh + kRows - 1) / kRows, tiles = bands * static_cast<int>(runs.size());
  const unsigned threads = ThreadsFor(std::int64_t{sw} * sh, kPixelsForHelpers, tiles);
  std::vector<std::vector<double>> buffers(threads, std::vector<double>(static_cast<std::size_t>(widest) * kLanes));
  const int perBand = static_cast<int>(runs.size());
  ForEachBand(
      tiles, threads,
      [&](int tile, unsigned thread) {
        WeighBand(from, work, sh, tile / perBand * kRows, columns, runs[static_cast<std::size_t>(tile % perBand)],
                  buffers[thread].data());
      },
      [&](int tile) {
        if (!progress || tile % perBand != perBand - 1) return;
        const int band = tile / perBand;
        for (int y = band * kRows; y < std::min(sh, (band + 1) * kRows); ++y)
          progress.Report(static_cast<int>(Trunc((y + 1) * 100 / total)));
      });
}

// The vertical pass goes through the picture in bands of columns, each band row by row, so the
// sums of a destination row's bytes run side by side.
constexpr int kBand = 32;

[[gnu::target_clones("avx512f", "avx2", "default")]] void WeighColumns(const PixelRows& work, const PixelRows& to,
                                                                       int x0, int width,
                                                                       const std::vector<TContributorList>& rowLists) {
  double sums[3 * kBand];
  const int bytes = 3 * width;
  for (std::size_t y = 0; y < rowLists.size(); ++y) {
    std::fill(sums, sums + bytes, 0.0);
    for (const TContributor& t : rowLists[y]) {
      const double w = t.weight;
      const std::uint8_t* line = work.Row(t.index) + 3 * x0;
      for (int b = 0; b < bytes; ++b) sums[b] += w * line[b];
    }
    std::uint8_t* out = to.Row(static_cast<int>(y)) + 3 * x0;
    for (int b = 0; b < bytes; ++b) out[b] = ToByte(sums[b]);
  }
}

// Progress comes once per column, band by band.
void VerticalPass(const PixelRows& work, const PixelRows& to, int sw, int dw, int sh,
                  const std::vector<TContributorList>& rowLists, const TProgressRec& progress, long double total) {
  const int bands = (dw + kBand - 1) / kBand;
  auto widthOf = [&](int band) { return std::min(kBand, dw - band * kBand); };
  ForEachBand(
      bands, ThreadsFor(std::int64_t{sw} * sh, kPixelsForHelpers, bands),
      [&](int band, unsigned) { WeighColumns(work, to, band * kBand, widthOf(band), rowLists); },
      [&](int band) {
        if (progress)
          for (int x = band * kBand; x < band * kBand + widthOf(band); ++x)
            progress.Report(static_cast<int>(Trunc((sh + x + 1) * 100 / total)));
      });
}

}  // namespace

void ResampleFiltered(TBitmap& source, TBitmap& dest, int filter, const TProgressRec& progress) {
  if (source.PixelFormat() != pf24bit || dest.PixelFormat() != pf24bit || !IsKernelFilter(filter)) return;
  const int sw = source.Width(), sh = source.Height(), dw = dest.Width(), dh = dest.Height();
  if (sw < 1 || sh < 1 || dw < 1 || dh < 1) return;
  const long double total = dw + sh + 0.5L;

  TBitmap workBitmap;
  Reshape(workBitmap, pf24bit, dw, sh);
  const PixelRows from = RowsOf(source), work = RowsOf(workBitmap), to = RowsOf(dest);
  HorizontalPass(from, work, sw, sh, BuildContributors(filter, sw, dw), progress, total);
  VerticalPass(work, to, sw, dw, sh, BuildContributors(filter, sh, dh), progress, total);
}
