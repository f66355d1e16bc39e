#pragma once
// The six kernels of the filtered resampling and the per-line lists of source weights they give.
#include <cstdint>
#include <vector>

// 1 triangle, 2 Hermite, 3 bell, 4 B-spline, 5 Lanczos3, 6 Mitchell; 0 is the platform's halftone
// stretching, which has no kernel.
constexpr int kResampleFilterCount = 6;
bool IsKernelFilter(int filter);
double FilterKernel(int filter, double x);
double FilterSupport(int filter);

struct TContributor {
  int index;  // source pixel
  double weight;
  int position;  // where the kernel met the line before mirroring (outside 0..size-1 at the edges)
};
using TContributorList = std::vector<TContributor>;

// One list per destination pixel along a line of `sourceSize` pixels resampled to `destSize`;
// indexes outside the line are mirrored back into it. Empty when either size is below 1.
std::vector<TContributorList> BuildContributors(int filter, int sourceSize, int destSize);
