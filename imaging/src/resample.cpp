#include "imaging/resample.h"

#include <cmath>

#include "imaging/bitmap_rows.h"
#include "imaging/resample_filters.h"
#include "vcl/system.h"

namespace {

std::uint8_t ClampToByte(double sum) {
  if (sum > 255) return 255;
  if (sum < 0) return 0;
  return static_cast<std::uint8_t>(std::nearbyint(sum));  // halves to even
}

// Weighs the pixels `stride` bytes apart at the list's indexes into one output pixel.
void Weigh(const TContributorList& list, const std::uint8_t* line, std::ptrdiff_t stride, std::uint8_t* out) {
  double b = 0, g = 0, r = 0;
  for (const TContributor& c : list) {
    const std::uint8_t* p = line + stride * c.index;
    b += c.weight * p[0];
    g += c.weight * p[1];
    r += c.weight * p[2];
  }
  out[0] = ClampToByte(b);
  out[1] = ClampToByte(g);
  out[2] = ClampToByte(r);
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
  const auto columns = BuildContributors(filter, sw, dw);
  for (int y = 0; y < sh; ++y) {
    const std::uint8_t* in = from.Row(y);
    std::uint8_t* out = work.Row(y);
    for (int x = 0; x < dw; ++x) Weigh(columns[x], in, 3, out + 3 * x);
    if (progress) progress.Report(static_cast<int>(Trunc((y + 1) * 100 / total)));
  }

  const auto rows = BuildContributors(filter, sh, dh);
  for (int x = 0; x < dw; ++x) {
    const std::uint8_t* column = work.Row(0) + 3 * x;
    std::uint8_t* out = to.Row(0) + 3 * x;
    for (int y = 0; y < dh; ++y) Weigh(rows[y], column, work.step, out + to.step * y);
    if (progress) progress.Report(static_cast<int>(Trunc((sh + x + 1) * 100 / total)));
  }
}
