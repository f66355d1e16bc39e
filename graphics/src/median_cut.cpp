// Median cut over a 5-6-5 histogram of a 24-bit source, and the palette set-up around both
// reduction methods.
#include "graphics/median_cut.h"

#include <algorithm>
#include <array>

#include "graphics/palettes.h"
#include "median_cut_private.h"

namespace {

constexpr int kAxisMax[3] = {31, 63, 31};  // red, green, blue cells
// A box's extent per axis in one measure: green cells are half as wide as red and blue ones (8
// per red unit), and greens count one and a half times, as the eye tells them apart best.
constexpr int kAxisScale[3] = {16, 12, 16};
enum { kRed, kGreen, kBlue };

using THistogram = std::vector<std::uint16_t>;

int CellIndex(int r, int g, int b) { return r << 11 | g << 5 | b; }

struct TBox {
  int Min[3] = {0, 0, 0};
  int Max[3] = {31, 63, 31};
  std::int64_t Size = 0;
  std::int64_t Volume = 0;

  int Extent(int axis) const { return Max[axis] - Min[axis]; }
  void Measure() {
    Size = 0;
    Volume = 1;
    for (int a = 0; a < 3; ++a) {
      std::int64_t e = std::int64_t{kAxisScale[a]} * Extent(a);
      Size += e * e;
      Volume *= Extent(a) + 1;
    }
  }
};

// Whether the plane `value` of `axis` holds a counted cell within the box's other bounds.
bool PlaneUsed(const THistogram& h, const TBox& box, int axis, int value) {
  int lo[3] = {box.Min[0], box.Min[1], box.Min[2]}, hi[3] = {box.Max[0], box.Max[1], box.Max[2]};
  lo[axis] = hi[axis] = value;
  for (int r = lo[kRed]; r <= hi[kRed]; ++r)
    for (int g = lo[kGreen]; g <= hi[kGreen]; ++g)
      for (int b = lo[kBlue]; b <= hi[kBlue]; ++b)
        if (h[static_cast<std::size_t>(CellIndex(r, g, b))]) return true;
  return false;
}

void Shrink(const THistogram& h, TBox& box) {
  for (int axis : {kBlue, kGreen, kRed}) {
    if (box.Min[axis] >= box.Max[axis]) continue;
    int lo = box.Min[axis], hi = box.Max[axis];
    while (lo < hi && !PlaneUsed(h, box, axis, lo)) ++lo;
    box.Min[axis] = lo;
    while (hi > lo && !PlaneUsed(h, box, axis, hi)) --hi;
    box.Max[axis] = hi;
  }
  box.Measure();
}

int ChooseBox(const std::vector<TBox>& boxes, int wanted) {
  bool bySize = wanted < 2 * static_cast<int>(boxes.size());
  int chosen = -1;
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    if (boxes[i].Size <= 0) continue;
    if (chosen < 0) {
      chosen = static_cast<int>(i);
      continue;
    }
    const TBox& best = boxes[static_cast<std::size_t>(chosen)];
    if (bySize ? boxes[i].Size > best.Size : boxes[i].Volume > best.Volume) chosen = static_cast<int>(i);
  }
  return chosen;
}

int ChooseAxis(const TBox& box) {
  int b = 16 * box.Extent(kBlue), g = 12 * box.Extent(kGreen), r = 16 * box.Extent(kRed);
  if (b > g && b > r) return kBlue;
  return g < r ? kRed : kGreen;
}

TColor MeanColor(const THistogram& h, const TBox& box) {
  // 64-bit sums: a box may count billions of pixels.
  std::int64_t n = 0, sr = 0, sg = 0, sb = 0;
  for (int r = box.Min[kRed]; r <= box.Max[kRed]; ++r)
    for (int g = box.Min[kGreen]; g <= box.Max[kGreen]; ++g)
      for (int b = box.Min[kBlue]; b <= box.Max[kBlue]; ++b) {
        std::int64_t c = h[static_cast<std::size_t>(CellIndex(r, g, b))];
        n += c;
        sr += (8 * r + 4) * c;
        sg += (4 * g + 2) * c;
        sb += (8 * b + 4) * c;
      }
  if (n == 0) return 0;
  return RGBToColor(static_cast<int>((sr + n / 2) / n), static_cast<int>((sg + n / 2) / n),
                    static_cast<int>((sb + n / 2) / n));
}

}  // namespace

bool CountingAborted(TPixelGraphic& Target, TPixelGraphic& Source, int y) {
  bool abort = false;
  if (Target.OnProgress) Target.OnProgress(&Target, y, Source.GetHeight() - 1, abort);
  return abort;
}

std::vector<TColor> MedianCutColors(TPixelGraphic& Target, TPixelGraphic& Source, int Wanted) {
  THistogram h(65536, 0);
  for (int y = 0; y < Source.GetHeight(); ++y) {
    const std::uint8_t* p = Source.ScanLine(y);
    for (int x = 0; x < Source.GetWidth(); ++x, p += 3) {
      std::uint16_t& cell = h[static_cast<std::size_t>((p[2] >> 3) << 11 | (p[1] >> 2) << 5 | p[0] >> 3)];
      if (cell != 65535) ++cell;
    }
    if (CountingAborted(Target, Source, y)) break;
  }
  std::vector<TBox> boxes(1);
  Shrink(h, boxes[0]);
  while (static_cast<int>(boxes.size()) < Wanted) {
    int chosen = ChooseBox(boxes, Wanted);
    if (chosen < 0) break;
    TBox& box = boxes[static_cast<std::size_t>(chosen)];
    int axis = ChooseAxis(box);
    int m = (box.Min[axis] + box.Max[axis]) / 2;
    TBox upper = box;
    upper.Min[axis] = m + 1;
    box.Max[axis] = m;
    Shrink(h, box);
    Shrink(h, upper);
    boxes.push_back(upper);
  }
  std::vector<TColor> colors;
  for (const TBox& box : boxes) colors.push_back(MeanColor(h, box));
  return colors;
}

void MedianCutQuantize(TPixelGraphic* Target, TPixelGraphic* Source, int ColorCount, bool KeepSys16) {
  Target->GetBits();  // flushes pending drawing
  int capacity = Target->GetPaletteCapacity();
  ColorCount = std::clamp(ColorCount, 1, capacity > 0 ? capacity : 256);
  int wanted = KeepSys16 ? ColorCount - 16 : ColorCount;
  // Colours first, so that a source that is the target still has its palette while counting.
  std::vector<TColor> colors;
  if (Source->GetWidth() >= 1 && Source->GetHeight() >= 1 && !Source->GetEmpty() && wanted >= 1)
    colors = Source->GetBitCount() == pgbc24 ? MedianCutColors(*Target, *Source, wanted)
                                             : ColorTreeColors(*Target, *Source, wanted);
  // Nothing to reduce (no pixels, no room, or a palette source without entries).
  if (colors.empty()) {
    Target->SetPaletteIdent(pSys16);
    Target->SetPaletteCount(std::min(ColorCount, 16));
    return;
  }
  Target->SetPaletteCount(0);
  Target->SetPaletteCount(static_cast<int>(colors.size()));
  for (std::size_t i = 0; i < colors.size(); ++i) Target->SetPaletteEntry(static_cast<int>(i), colors[i]);
  if (KeepSys16) {
    for (int i = 0; i < 16 && Target->PaletteCount() < ColorCount; ++i) {
      Target->SetPaletteCount(Target->PaletteCount() + 1);
      Target->SetPaletteEntry(Target->PaletteCount() - 1, Special252Entry(i));
    }
  }
}
