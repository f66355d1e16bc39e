// Floyd-Steinberg error diffusion into a palette image, with the carried error limited by a
// table chosen from the palette kind.
#include <algorithm>

#include "clamp_table.h"
#include "graphics/palettes.h"

namespace {

// The carried error by palette kind: about one and a half steps between neighbouring levels of
// the palette's grid (85 for four greys, 51 for six levels a channel, 64 for five), so an error
// can take a pixel to the next level without piling up into streaks; black and white carries it
// all, and palettes without a grid get a cautious 32.
int AutoErrorLimit(TPaletteIdent ident) {
  switch (ident) {
    case pBlackWhite: return 255;
    case pSysGray4:
    case pSys16:
    case pGray4: return 128;
    case pGray236: return 3;
    case pGray256: return 2;
    case pSpecial125:
    case pSpecial252: return 104;
    case pSpecial216: return 86;
    default: return 32;
  }
}

// Sixteenths to whole units, halves away from zero.
int WholeUnits(int e) { return e >= 0 ? (e + 8) / 16 : -((8 - e) / 16); }

}  // namespace

void TPixelGraphic::BuildDitherTables() {
  std::size_t rowSize = (static_cast<std::size_t>(width_) + 2) * 3;
  errorRows_[0].assign(rowSize, 0);
  errorRows_[1].assign(rowSize, 0);
  allGray_ = std::all_of(palette_.begin(), palette_.end(),
                         [](TColor c) { return RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c); });
  bool soft = ditherErrorLimitAuto_ || ditherErrorLimitSoft_;
  int limit = ditherErrorLimitAuto_ ? AutoErrorLimit(paletteIdent_) : ditherErrorLimit_;
  std::vector<int> positive(256);
  for (int e = 0; e <= 255; ++e) positive[static_cast<std::size_t>(e)] = e;
  if (limit != 255)
    for (int e = limit; e <= 255; ++e) positive[static_cast<std::size_t>(e)] = limit;
  if (soft)
    for (int i = limit / 2; i <= (limit * 3) / 2 && i < 255; ++i)
      positive[static_cast<std::size_t>(i)] = i / 2 + limit / 4;
  errorLimit_.assign(511, 0);
  for (int e = 0; e <= 255; ++e) {
    errorLimit_[static_cast<std::size_t>(255 + e)] = positive[static_cast<std::size_t>(e)];
    errorLimit_[static_cast<std::size_t>(255 - e)] = -positive[static_cast<std::size_t>(e)];
  }
}

void TPixelGraphic::NextDitherRow() {
  std::swap(errorRows_[0], errorRows_[1]);
  std::fill(errorRows_[1].begin(), errorRows_[1].end(), 0);
}

void TPixelGraphic::FreeDitherBuffers() {
  for (auto& row : errorRows_) std::vector<int>().swap(row);
  std::vector<int>().swap(errorLimit_);
}

void TPixelGraphic::DitherPixel(int X, int Y, int R, int G, int B) {
  if (X < 0 || X >= width_ || errorRows_[0].empty()) return;
  int* current = errorRows_[0].data();
  int* next = errorRows_[1].data();
  int here = (X + 1) * 3;
  int step = Y % 2 == 0 ? 3 : -3;  // odd rows run right to left
  auto limited = [&](int slot) {
    int e = std::clamp(WholeUnits(current[here + slot]), -255, 255);
    return errorLimit_[static_cast<std::size_t>(e + 255)];
  };
  auto spread = [&](int slot, int error) {
    current[here + step + slot] += 7 * error;
    next[here - step + slot] += 3 * error;
    next[here + slot] += 5 * error;
    next[here + step + slot] += error;
  };
  if (allGray_) {
    int level = PGClamp(Brightness(RGBToColor(R, G, B), rgbWeighting_) / 3 + limited(1));
    int index = ColorToIndex(RGBToColor(level, level, level));
    SetPixel(X, Y, static_cast<std::uint32_t>(index));
    spread(1, level - GreenOf(GetPaletteEntry(index)));
    return;
  }
  int r = PGClamp(R + limited(0)), g = PGClamp(G + limited(1)), b = PGClamp(B + limited(2));
  int index = ColorToIndex(RGBToColor(r, g, b));
  SetPixel(X, Y, static_cast<std::uint32_t>(index));
  TColor chosen = GetPaletteEntry(index);
  spread(0, r - RedOf(chosen));
  spread(1, g - GreenOf(chosen));
  spread(2, b - BlueOf(chosen));
}
