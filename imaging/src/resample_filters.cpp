#include "imaging/resample_filters.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
double Sinc(double t) {
  if (t == 0) return 1;
  t *= std::numbers::pi;
  return std::sin(t) / t;
}
}  // namespace

bool IsKernelFilter(int filter) { return filter >= 1 && filter <= kResampleFilterCount; }

// Powers are products from the left (x^3 is x x x), so the kernels are the same doubles wherever
// they are written out.
double FilterKernel(int filter, double x) {
  x = std::fabs(x);
  const double x2 = x * x, x3 = x * x * x;
  switch (filter) {
    case 1: return x < 1 ? 1 - x : 0;
    case 2: return x < 1 ? (2 * x - 3) * x2 + 1 : 0;
    case 3:
      if (x < 0.5) return 0.75 - x2;
      if (x < 1.5) return 0.5 * ((x - 1.5) * (x - 1.5));
      return 0;
    case 4:
      if (x < 1) return 0.5 * x3 - x2 + 2.0 / 3;
      if (x < 2) return (2 - x) * (2 - x) * (2 - x) / 6;
      return 0;
    case 5: return x < 3 ? Sinc(x) * Sinc(x / 3) : 0;
    case 6:
      if (x < 1) return (7 * x3 - 12 * x2 + 16.0 / 3) / 6;
      if (x < 2) return (-7.0 / 3 * x3 + 12 * x2 - 20 * x + 32.0 / 3) / 6;
      return 0;
    default: return 0;
  }
}

double FilterSupport(int filter) {
  static constexpr double kSupport[] = {0, 1.0, 1.0, 1.5, 2.0, 3.0, 2.0};
  return IsKernelFilter(filter) ? kSupport[filter] : 0;
}

std::vector<TContributorList> BuildContributors(int filter, int sourceSize, int destSize) {
  std::vector<TContributorList> lists;
  if (sourceSize < 1 || destSize < 1 || !IsKernelFilter(filter)) return lists;
  lists.resize(destSize);
  const double scale = static_cast<double>(destSize) / sourceSize;
  const double support = FilterSupport(filter);
  // Shrinking widens the kernel by 1 / scale and lowers it by the same factor.
  const double width = scale >= 1 ? support : support / scale;
  const double stretch = scale >= 1 ? 1 : 1 / scale;
  for (int i = 0; i < destSize; ++i) {
    const double centre = i / scale;
    auto first = static_cast<std::int64_t>(std::floor(centre - width));
    auto last = static_cast<std::int64_t>(std::ceil(centre + width));
    TContributorList& list = lists[i];
    list.reserve(static_cast<std::size_t>(2 * width + 1));
    for (std::int64_t j = first; j <= last; ++j) {
      double weight = FilterKernel(filter, (centre - j) / stretch) / stretch;
      if (weight == 0) continue;
      std::int64_t k = j < 0 ? -j : j >= sourceSize ? 2 * std::int64_t{sourceSize} - 1 - j : j;
      // A kernel wider than the picture mirrors past the other edge; keep it inside.
      k = std::clamp<std::int64_t>(k, 0, sourceSize - 1);
      list.push_back({static_cast<int>(k), weight, static_cast<int>(j)});
    }
  }
  return lists;
}
