#pragma once
// The animation bar's walk: S + 1 sections across Width columns (the last one only catches what
// truncation left), colour numbers 1, 2, ..., N, N-1, ..., 1, 2, ... without repeating the ends.
#include <cmath>

template <class Paint>
void ForEachBarSection(int Width, int S, int N, Paint paint) {
  const double w = static_cast<double>(Width) / S;
  int k = 1, step = 1;
  for (int i = 0; i <= S; ++i) {
    const int x0 = static_cast<int>(std::trunc(i * w));
    const int x1 = i < S ? static_cast<int>(std::trunc((i + 1) * w)) : Width;
    paint(x0, x1, k);
    k += step;
    if (k > N || k < 1) {
      step = -step;
      k += 2 * step;
    }
  }
}
