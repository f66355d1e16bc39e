#include "imaging/resample.h"

#include <algorithm>
#include <utility>
#include <cmath>
#include <cstdint>
#include <vector>

#include "imaging/bitmap_rows.h"
#include "imaging/resample_filters.h"
#include "vcl/system.h"

// The weights are applied in fixed point: each double weight rounded to an integer at a scale of
// 2^shift, the sums in 32 bits. The scale is the largest (up to 2^22) that keeps every sum of
// 255 x |weight| in range, so a sum differs from the double one by a few ten-thousandths at most;
// exact halves (weights like 0.5) still round to even.
namespace {

constexpr int kMaxShift = 22;

// A line's contributors in fixed point.
struct FixedLines {
  int shift = 0;
  std::vector<TContributorList> lists;
  std::vector<std::vector<std::int32_t>> weights;  // per list, in the list's order
};

int ShiftFor(const std::vector<TContributorList>& lists) {
  double largestSum = 0;
  for (const TContributorList& list : lists) {
    double sum = 0;
    for (const TContributor& c : list) sum += std::fabs(c.weight);
    largestSum = std::max(largestSum, sum);
  }
  int shift = kMaxShift;
  while (shift > 0 && 255 * largestSum * (1 << shift) > 2.0e9) --shift;
  return shift;
}

FixedLines MakeFixed(int filter, int sourceSize, int destSize) {
  FixedLines lines;
  lines.lists = BuildContributors(filter, sourceSize, destSize);
  lines.shift = ShiftFor(lines.lists);
  for (const TContributorList& list : lines.lists) {
    std::vector<std::int32_t>& w = lines.weights.emplace_back();
    for (const TContributor& c : list) w.push_back(static_cast<std::int32_t>(std::lround(c.weight * (1 << lines.shift))));
  }
  return lines;
}

// A fixed-point sum as a byte: negative sums 0, above 255 255, else rounded with halves to even.
std::uint8_t ToByte(std::int32_t sum, int shift) {
  if (sum <= 0) return 0;
  std::int32_t whole = sum >> shift;
  const std::int32_t rest = sum & ((1 << shift) - 1), half = shift ? 1 << (shift - 1) : 1;
  if (shift && (rest > half || (rest == half && (whole & 1)))) ++whole;
  return static_cast<std::uint8_t>(std::min(whole, 255));
}

// The horizontal pass weighs a window of consecutive positions for every column. The source row
// is laid out per channel over all positions the windows reach, mirrored pixels included, so
// each column is three dot products over contiguous memory. A weight (at most 2^22) is split into
// a signed high and an 8-bit low part, so that both products are of 16-bit numbers, as vector
// units multiply.
class HorizontalPass {
 public:
  HorizontalPass(const FixedLines& lines, int sourceSize) : shift_(lines.shift), sourceSize_(sourceSize) {
    int lowest = 0, highest = sourceSize - 1;
    for (const TContributorList& list : lines.lists)
      for (const TContributor& c : list) {
        lowest = std::min(lowest, c.position);
        highest = std::max(highest, c.position);
      }
    for (std::size_t i = 0; i < lines.lists.size(); ++i) {
      const TContributorList& list = lines.lists[i];
      const int first = list.empty() ? 0 : list.front().position, last = list.empty() ? 0 : list.back().position;
      taps_ = std::max(taps_, last - first + 1);
    }
    taps_ = (taps_ + 7) / 8 * 8;
    length_ = highest - lowest + 1 + taps_;
    firsts_.resize(lines.lists.size());
    high_.assign(lines.lists.size() * static_cast<std::size_t>(taps_), 0);
    low_.assign(high_.size(), 0);
    for (std::size_t i = 0; i < lines.lists.size(); ++i) {
      const TContributorList& list = lines.lists[i];
      firsts_[i] = list.empty() ? 0 : list.front().position - lowest;
      for (std::size_t k = 0; k < list.size(); ++k) {
        const int at = list[k].position - lowest;
        if (list[k].position < 0 || list[k].position >= sourceSize) edges_.push_back({at, list[k].index});
        const std::size_t slot = i * static_cast<std::size_t>(taps_) + static_cast<std::size_t>(at - firsts_[i]);
        high_[slot] = static_cast<std::int16_t>(lines.weights[i][k] >> 8);
        low_[slot] = static_cast<std::int16_t>(lines.weights[i][k] & 0xFF);
      }
    }
    std::sort(edges_.begin(), edges_.end());
    edges_.erase(std::unique(edges_.begin(), edges_.end()), edges_.end());
    origin_ = -lowest;
    for (auto& plane : planes_) plane.assign(static_cast<std::size_t>(length_), 0);
  }

  void Run(const std::uint8_t* in, std::uint8_t* out) {
    std::int16_t *blue = planes_[0].data() + origin_, *green = planes_[1].data() + origin_,
                 *red = planes_[2].data() + origin_;
    for (int x = 0; x < sourceSize_; ++x) {
      blue[x] = in[3 * x];
      green[x] = in[3 * x + 1];
      red[x] = in[3 * x + 2];
    }
    for (const auto& [at, index] : edges_)
      for (int c = 0; c < 3; ++c) planes_[c][static_cast<std::size_t>(at)] = in[3 * index + c];
    const std::size_t columns = firsts_.size();
    for (std::size_t i = 0; i < columns; ++i) {
      const std::size_t slot = i * static_cast<std::size_t>(taps_), first = static_cast<std::size_t>(firsts_[i]);
      for (int c = 0; c < 3; ++c)
        out[3 * i + static_cast<std::size_t>(c)] = ToByte(Sum(slot, planes_[c].data() + first), shift_);
    }
  }

 private:
  // Windows of more taps than this (shrinking by thousands) add up in pieces, so that the sum
  // of low products, each at most 255 x 255, stays within 32 bits.
  static constexpr int kPiece = 32768;

  std::int32_t Sum(std::size_t slot, const std::int16_t* x) const {
    std::int64_t lowSum = 0, highSum = 0;
    for (int piece = 0; piece < taps_; piece += kPiece) {
      const auto [high, low] = Dot(&high_[slot + piece], &low_[slot + piece], x + piece, std::min(kPiece, taps_ - piece));
      highSum += high;
      lowSum += low;
    }
    return static_cast<std::int32_t>(highSum * 256 + lowSum);
  }

  static std::pair<std::int32_t, std::int32_t> Dot(const std::int16_t* high, const std::int16_t* low,
                                                   const std::int16_t* x, int n) {
    std::int32_t highSum = 0, lowSum = 0;
    for (int t = 0; t < n; ++t) {
      highSum += high[t] * x[t];
      lowSum += low[t] * x[t];
    }
    return {highSum, lowSum};
  }

  int shift_;
  int taps_ = 0;    // window length, a multiple of 8; weights past a column's list are 0
  int length_ = 0;  // positions laid out per channel
  int sourceSize_;
  int origin_ = 0;                          // where position 0 lies in the planes
  std::vector<std::pair<int, int>> edges_;  // positions off the picture and their mirrored pixels
  std::vector<int> firsts_;    // each column's window start
  std::vector<std::int16_t> high_, low_;
  std::vector<std::int16_t> planes_[3];
};

}  // namespace

void ResampleFiltered(TBitmap& source, TBitmap& dest, int filter, const TProgressRec& progress) {
  if (source.PixelFormat() != pf24bit || dest.PixelFormat() != pf24bit || !IsKernelFilter(filter)) return;
  const int sw = source.Width(), sh = source.Height(), dw = dest.Width(), dh = dest.Height();
  if (sw < 1 || sh < 1 || dw < 1 || dh < 1) return;
  const long double total = dw + sh + 0.5L;

  TBitmap workBitmap;
  Reshape(workBitmap, pf24bit, dw, sh);
  const PixelRows from = RowsOf(source), work = RowsOf(workBitmap), to = RowsOf(dest);
  {
    HorizontalPass pass(MakeFixed(filter, sw, dw), sw);
    for (int y = 0; y < sh; ++y) {
      pass.Run(from.Row(y), work.Row(y));
      if (progress) progress.Report(static_cast<int>(Trunc((y + 1) * 100 / total)));
    }
  }

  // The vertical pass goes through the picture in bands of columns, each band row by row, so the
  // inner loop runs along a row; progress still comes once per column.
  const FixedLines rows = MakeFixed(filter, sh, dh);
  constexpr int kBand = 32;
  std::int32_t sums[3 * kBand];
  for (int x0 = 0; x0 < dw; x0 += kBand) {
    const int width = std::min(kBand, dw - x0), bytes = 3 * width;
    for (int y = 0; y < dh; ++y) {
      std::fill(sums, sums + bytes, 0);
      const TContributorList& list = rows.lists[static_cast<std::size_t>(y)];
      for (std::size_t k = 0; k < list.size(); ++k) {
        const std::int32_t w = rows.weights[static_cast<std::size_t>(y)][k];
        const std::uint8_t* line = work.Row(list[k].index) + 3 * x0;
        for (int b = 0; b < bytes; ++b) sums[b] += w * line[b];
      }
      std::uint8_t* out = to.Row(y) + 3 * x0;
      for (int b = 0; b < bytes; ++b) out[b] = ToByte(sums[b], rows.shift);
    }
    if (progress)
      for (int x = x0; x < x0 + width; ++x) progress.Report(static_cast<int>(Trunc((sh + x + 1) * 100 / total)));
  }
}
