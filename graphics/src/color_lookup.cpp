// ColorToIndex: arithmetic for the grey and cube palettes, cell tables for the irregular ones,
// and the inverse colour map or an exhaustive search for arbitrary palettes.
#include <array>

#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/palettes.h"
#include "palette252_cells.h"

namespace {

// Three pSys16 entries per 64-level cell: a first guess and two alternatives.
constexpr std::uint8_t kSys16Cells[64][3] = {
    {0, 0, 0},   {4, 4, 4},  {4, 4, 4},   {12, 12, 12}, {2, 2, 2},    {6, 6, 6},   {6, 6, 6},   {6, 12, 12},
    {2, 2, 2},   {6, 6, 6},  {6, 6, 6},   {6, 14, 14},  {10, 10, 10}, {6, 10, 10}, {6, 14, 14}, {14, 14, 14},
    {1, 1, 1},   {5, 5, 5},  {5, 5, 5},   {5, 12, 12},  {3, 3, 3},    {8, 8, 8},   {8, 8, 8},   {8, 12, 12},
    {3, 3, 3},   {8, 8, 8},  {8, 8, 8},   {7, 8, 14},   {3, 10, 10},  {8, 10, 10}, {7, 8, 14},  {7, 14, 14},
    {1, 1, 1},   {5, 5, 5},  {5, 5, 5},   {5, 13, 13},  {3, 3, 3},    {8, 8, 8},   {8, 8, 8},   {7, 8, 13},
    {3, 3, 3},   {8, 8, 8},  {7, 8, 8},   {7, 7, 7},    {3, 11, 11},  {7, 8, 11},  {7, 7, 7},   {7, 7, 7},
    {9, 9, 9},   {5, 9, 9},  {5, 13, 13}, {13, 13, 13}, {3, 9, 9},    {8, 9, 9},   {7, 8, 13},  {7, 13, 13},
    {3, 11, 11}, {7, 8, 11}, {7, 7, 7},   {7, 7, 7},    {11, 11, 11}, {7, 11, 11}, {7, 7, 7},   {7, 15, 15},
};

// Brightness 0..765 to the pGray236 entry whose level x 3 is nearest, the lower one on ties.
const std::array<std::uint8_t, 766>& Gray236Table() {
  static const std::array<std::uint8_t, 766> table = [] {
    std::array<std::uint8_t, 766> t{};
    std::vector<TColor> greys = StandardPaletteEntries(pGray236);
    for (int b = 0; b < 766; ++b) {
      int best = 0;
      for (int i = 1; i < 236; ++i) {
        int d = RedOf(greys[static_cast<std::size_t>(i)]) * 3 - b,
            bestD = RedOf(greys[static_cast<std::size_t>(best)]) * 3 - b;
        if (d * d < bestD * bestD) best = i;
      }
      t[static_cast<std::size_t>(b)] = static_cast<std::uint8_t>(best);
    }
    return t;
  }();
  return table;
}

int Distance(TColor a, TColor b) {
  int dr = RedOf(a) - RedOf(b), dg = GreenOf(a) - GreenOf(b), db = BlueOf(a) - BlueOf(b);
  return dr * dr + dg * dg + db * db;
}

int Sys16Search(TColor color) {
  const std::uint8_t* cell = kSys16Cells[(RedOf(color) / 64) * 16 + (GreenOf(color) / 64) * 4 + BlueOf(color) / 64];
  int result = cell[0];
  int best = Distance(color, Special252Entry(result));
  for (int k = 1; k < 3; ++k) {
    if (cell[k] == cell[k - 1]) continue;
    int d = Distance(color, Special252Entry(cell[k]));
    if (d < best) best = d, result = cell[k];
  }
  return result;
}

int Special252Search(TColor color) {
  int cell = ((RedOf(color) + 16) / 32) * 81 + ((GreenOf(color) + 16) / 32) * 9 + (BlueOf(color) + 16) / 32;
  int first = Special252CellStarts[static_cast<std::size_t>(cell)],
      end = Special252CellStarts[static_cast<std::size_t>(cell) + 1];
  int result = Special252CellEntries[static_cast<std::size_t>(first)];
  int best = Distance(color, Special252Entry(result));
  for (int k = first + 1; k < end; ++k) {
    int candidate = Special252CellEntries[static_cast<std::size_t>(k)];
    int d = Distance(color, Special252Entry(candidate));
    if (d < best) best = d, result = candidate;
  }
  return result;
}

int Special125Level(int c) { return ((c == 224 ? 225 : c) + 31) / 64; }

}  // namespace

int TPixelGraphic::ColorToIndex(TColor Color) {
  if (!lastQueryInvalid_ && Color == lastQuery_) return lastResult_;
  lastQueryInvalid_ = true;
  int result = LookupColor(Color);
  lastQuery_ = Color;
  lastResult_ = result;
  lastQueryInvalid_ = false;
  return result;
}

int TPixelGraphic::LookupColor(TColor Color) {
  int brightness = Brightness(Color, rgbWeighting_);
  switch (paletteIdent_) {
    case pTrueColor: return Color;
    case pUnknown:
      // An unknown palette without entries has nothing to choose from, as pNone.
      if (paletteCount_ == 0) throw EPGNoPalette(PGLangStr(pgsNoPalette));
      return useColorMap_ ? ColorMapLookup(Color) : NearestEntry(Color);
    case pBlackWhite: return (brightness + 1) / 384;
    case pSysGray4: return brightness <= 192 ? 0 : brightness <= 480 ? 1 : brightness <= 670 ? 2 : 3;
    case pSys16: return Sys16Search(Color);
    case pGray4: return (brightness + 127) / 255;
    case pGray16: return (brightness + 25) / 51;
    case pGray236: return Gray236Table()[static_cast<std::size_t>(brightness)];
    case pGray256: return (brightness + 1) / 3;
    case pSpecial125:
      return Special125Level(RedOf(Color)) * 25 + Special125Level(GreenOf(Color)) * 5 + Special125Level(BlueOf(Color));
    case pSpecial216:
      return ((RedOf(Color) + 24) / 51) * 36 + ((GreenOf(Color) + 24) / 51) * 6 + (BlueOf(Color) + 24) / 51;
    case pSpecial252: return Special252Search(Color);
    default: throw EPGNoPalette(PGLangStr(pgsNoPalette));
  }
}

int TPixelGraphic::NearestEntry(TColor Color) const {
  int result = 0, best = Distance(Color, palette_[0]);
  for (int i = 1; i < paletteCount_; ++i) {
    int d = Distance(Color, palette_[static_cast<std::size_t>(i)]);
    if (d < best) best = d, result = i;
  }
  return result;
}

void TPixelGraphic::SetUseColorMap(bool Value) {
  if (Value == useColorMap_) return;
  useColorMap_ = Value;
  InvalidateLastQuery();
  Changed();
}

void TPixelGraphic::SetRGBWeighting(bool Value) {
  if (Value == rgbWeighting_) return;
  rgbWeighting_ = Value;
  InvalidateLastQuery();
}
