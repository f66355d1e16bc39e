#include "imaging/resample.h"

#include <cmath>

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

void ResampleFiltered(const DibBitmap& source, DibBitmap& dest, int filter, const TProgressRec& progress) {
  if (source.Bits() != 24 || dest.Bits() != 24 || !IsKernelFilter(filter)) return;
  const int sw = source.Width(), sh = source.Height(), dw = dest.Width(), dh = dest.Height();
  if (sw < 1 || sh < 1 || dw < 1 || dh < 1) return;
  const long double total = dw + sh + 0.5L;

  DibBitmap work(dw, sh, 24);
  const auto columns = BuildContributors(filter, sw, dw);
  for (int y = 0; y < sh; ++y) {
    const std::uint8_t* in = source.ScanLine(y);
    std::uint8_t* out = work.ScanLine(y);
    for (int x = 0; x < dw; ++x) Weigh(columns[x], in, 3, out + 3 * x);
    if (progress) progress.Report(static_cast<int>(Trunc((y + 1) * 100 / total)));
  }

  const auto rows = BuildContributors(filter, sh, dh);
  // Rows of the DIB are bottom-up: row k lies -k strides from row 0.
  const std::ptrdiff_t down = -static_cast<std::ptrdiff_t>(work.Stride());
  const std::ptrdiff_t destDown = -static_cast<std::ptrdiff_t>(dest.Stride());
  for (int x = 0; x < dw; ++x) {
    const std::uint8_t* column = work.ScanLine(0) + 3 * x;
    std::uint8_t* out = dest.ScanLine(0) + 3 * x;
    for (int y = 0; y < dh; ++y) Weigh(rows[y], column, down, out + destDown * y);
    if (progress) progress.Report(static_cast<int>(Trunc((sh + x + 1) * 100 / total)));
  }
}
