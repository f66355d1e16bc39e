// StretchCopyRect: resamples a block onto another size with integer weights: nearest sample,
// box (each source column weighs its overlap) or linear interpolation, chosen per axis by the
// stretch mode and the direction.
#include <algorithm>
#include <vector>

#include "graphics/palettes.h"
#include "pixel_access.h"
#include "vcl/scope_exit.h"

namespace {

enum TSampleKind { skOne, skEnds, skEndsAndBetween };

// The source range of one target column (or row).
struct TSampleRange {
  int First = 0, Last = 0;
  std::int64_t FirstWeight = 1, LastWeight = 1, BetweenWeight = 0;
  TSampleKind Kind = skOne;
  bool Valid = false;
};

enum TResampling { rsDirect, rsNearest, rsBox, rsLinear };

TResampling ResamplingOf(TStretchMode mode, int S, int D) {
  if (S == D) return rsDirect;
  if (mode == smFast) return rsNearest;
  bool shrinking = D < S;
  if (mode == smMedium) return shrinking ? rsLinear : rsBox;
  return shrinking ? rsBox : rsLinear;
}

std::int64_t DivisorOf(TResampling resampling, int S, int D) {
  switch (resampling) {
    case rsBox: return S;
    case rsLinear: return 2 * std::int64_t{D};
    default: return 1;
  }
}

// i is the target position within the block (x'), start the block's first source position,
// limit the source's extent on this axis.
TSampleRange RangeOf(TResampling resampling, std::int64_t i, int start, std::int64_t S, std::int64_t D, int limit) {
  TSampleRange r;
  std::int64_t first = 0, last = 0;
  switch (resampling) {
    case rsDirect: first = last = start + i; break;
    case rsNearest: first = last = start + (S * i) / D; break;
    case rsBox: {
      first = start + (S * i) / D;
      std::int64_t end = S * (i + 1);
      last = start + end / D - (end % D == 0 ? 1 : 0);
      if (first == last) {
        r.FirstWeight = r.LastWeight = S;
      } else {
        r.FirstWeight = D * (first - start + 1) - S * i;
        r.LastWeight = end - D * (last - start);
        r.BetweenWeight = D;
        r.Kind = skEndsAndBetween;
      }
      break;
    }
    case rsLinear: {
      std::int64_t p = S * (2 * i + 1);
      first = start + (p - D) / (2 * D);
      last = start + (p + D) / (2 * D);
      bool firstOut = first < 0 || first >= limit, lastOut = last < 0 || last >= limit;
      if (D > S && firstOut != lastOut) {
        first = std::clamp<std::int64_t>(first, 0, limit - 1);
        last = std::clamp<std::int64_t>(last, 0, limit - 1);
      }
      if (first == last || p == D + 2 * D * (first - start)) {
        last = first;
        r.FirstWeight = r.LastWeight = 2 * D;
      } else {
        r.FirstWeight = 2 * D - (p - (D + 2 * D * (first - start)));
        r.LastWeight = 2 * D - ((D + 2 * D * (last - start)) - p);
        r.Kind = skEnds;
      }
      break;
    }
  }
  r.First = static_cast<int>(std::clamp<std::int64_t>(first, -1, limit));
  r.Last = static_cast<int>(std::clamp<std::int64_t>(last, -1, limit));
  r.Valid = first >= 0 && first < limit && last >= 0 && last < limit;
  return r;
}

// Calls visit(position, weight) for the source positions of a range that count.
template <class Visit>
void ForEachSample(const TSampleRange& r, Visit visit) {
  visit(r.First, r.FirstWeight);
  if (r.Kind == skOne) return;
  if (r.Kind == skEndsAndBetween)
    for (int k = r.First + 1; k < r.Last; ++k) visit(k, r.BetweenWeight);
  visit(r.Last, r.LastWeight);
}

struct TMean {
  int R, G, B;
};

// The weighted mean of the source pixels under one target pixel. Each row's sum is divided by the
// column divisor before its row weight applies: the rounding is part of the result.
TMean MeanOf(TSourcePixels& source, const TSampleRange& rows, const TSampleRange& cols, std::int64_t colDivisor,
             std::int64_t rowDivisor) {
  std::int64_t total[3] = {0, 0, 0};
  ForEachSample(rows, [&](int sy, std::int64_t rowWeight) {
    std::int64_t sum[3] = {0, 0, 0};
    ForEachSample(cols, [&](int sx, std::int64_t colWeight) {
      int r, g, b;
      source.Read(sx, sy, r, g, b);
      sum[0] += r * colWeight;
      sum[1] += g * colWeight;
      sum[2] += b * colWeight;
    });
    for (int k = 0; k < 3; ++k) total[k] += sum[k] / colDivisor * rowWeight;
  });
  return {static_cast<int>(total[0] / rowDivisor), static_cast<int>(total[1] / rowDivisor),
          static_cast<int>(total[2] / rowDivisor)};
}

}  // namespace

void TPixelGraphic::StretchCopy(TPixelGraphic* Source) {
  StretchCopyRect(0, 0, width_, height_, Source, 0, 0, Source->width_, Source->height_);
}

void TPixelGraphic::StretchCopyRect(int DstX, int DstY, int DstWidth, int DstHeight, TPixelGraphic* Source, int SrcX,
                                    int SrcY, int SrcWidth, int SrcHeight) {
  if (DstWidth == SrcWidth && DstHeight == SrcHeight) {
    CopyRect(DstX, DstY, Source, SrcX, SrcY, DstWidth, DstHeight);
    return;
  }
  FlushGdi();
  if (width_ < 1 || !Source || Source->width_ < 1) return;
  // A block without extent has nothing to sample (and would divide by zero).
  if (height_ < 1 || Source->height_ < 1 || !bits_ || !Source->bits_ || DstWidth < 1 || DstHeight < 1 || SrcWidth < 1 ||
      SrcHeight < 1) {
    Changed();
    return;
  }
  Source->FlushGdi();
  std::int64_t firstCol = std::max(DstX, 0),
               lastCol = std::min<std::int64_t>(std::int64_t{DstX} + DstWidth - 1, width_ - 1);
  std::int64_t firstRow = std::max(DstY, 0),
               lastRow = std::min<std::int64_t>(std::int64_t{DstY} + DstHeight - 1, height_ - 1);
  bool dithering = dither_ && format_ != pgbc24;
  {
    ScopeExit freeDither([&] { FreeDitherBuffers(); });
    if (dithering) BuildDitherTables();
    else
      FreeDitherBuffers();
    TResampling colResampling = ResamplingOf(stretchMode_, SrcWidth, DstWidth);
    TResampling rowResampling = ResamplingOf(stretchMode_, SrcHeight, DstHeight);
    std::int64_t colDivisor = DivisorOf(colResampling, SrcWidth, DstWidth);
    std::int64_t rowDivisor = DivisorOf(rowResampling, SrcHeight, DstHeight);
    std::vector<TSampleRange> columns;
    for (std::int64_t x = firstCol; x <= lastCol; ++x)
      columns.push_back(RangeOf(colResampling, x - DstX, SrcX, SrcWidth, DstWidth, Source->width_));
    if (OnProgressStart) OnProgressStart(this);
    TSourcePixels source(*Source);
    for (std::int64_t y = firstRow; y <= lastRow; ++y) {
      if (dithering) NextDitherRow();
      TSampleRange rows = RangeOf(rowResampling, y - DstY, SrcY, SrcHeight, DstHeight, Source->height_);
      if (!rows.Valid) continue;
      bool forward = y % 2 == 0;
      int count = static_cast<int>(columns.size());
      for (int i = 0; i < count; ++i) {
        int c = forward ? i : count - 1 - i;
        const TSampleRange& cols = columns[static_cast<std::size_t>(c)];
        if (!cols.Valid) continue;
        const TMean mean = MeanOf(source, rows, cols, colDivisor, rowDivisor);
        WriteColor(static_cast<int>(firstCol) + c, static_cast<int>(y), mean.R, mean.G, mean.B);
      }
      if (ReportRowDone(static_cast<int>(y - firstRow), static_cast<int>(lastRow - firstRow))) break;
    }
    if (OnProgressEnd) OnProgressEnd(this);
  }
  Changed();
}
