// The standard palettes: building them, recognising them, and the brightness measure.
#include <cmath>

#include "graphics/palettes.h"
#include "palette252_entries.h"

int Brightness(TColor Color, bool Weighted) {
  int r = RedOf(Color), g = GreenOf(Color), b = BlueOf(Color);
  return Weighted ? (897 * r + 1761 * g + 342 * b) / 1000 : r + g + b;
}

TColor Special252Entry(int Index) {
  std::uint32_t rgb = Special252RGB[static_cast<std::size_t>(Index)];
  return RGBToColor(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
}

namespace {

TColor Grey(int level) { return RGBToColor(level, level, level); }

std::vector<TColor> Greys(int count, int (*level)(int)) {
  std::vector<TColor> entries;
  for (int i = 0; i < count; ++i) entries.push_back(Grey(level(i)));
  return entries;
}

std::vector<TColor> Cube(int steps, int (*level)(int)) {
  std::vector<TColor> entries;
  for (int r = 0; r < steps; ++r)
    for (int g = 0; g < steps; ++g)
      for (int b = 0; b < steps; ++b) entries.push_back(RGBToColor(level(r), level(g), level(b)));
  return entries;
}

}  // namespace

std::vector<TColor> StandardPaletteEntries(TPaletteIdent Ident) {
  switch (Ident) {
    case pBlackWhite: return {Grey(0), Grey(255)};
    case pSysGray4: return {Grey(0), Grey(128), Grey(192), Grey(255)};
    case pSys16: {
      std::vector<TColor> entries;
      for (int i = 0; i < 16; ++i) entries.push_back(Special252Entry(i));
      return entries;
    }
    case pGray4: return Greys(4, [](int i) { return i * 255 / 3; });
    case pGray16: return Greys(16, [](int i) { return i * 255 / 15; });
    case pGray236: return Greys(236, [](int i) { return static_cast<int>(std::lround(i * 255.0 / 235)); });
    case pGray256: return Greys(256, [](int i) { return i; });
    case pSpecial125: return Cube(5, [](int n) { return (n * 255 + 3) >> 2; });
    case pSpecial216: return Cube(6, [](int n) { return (n * 255 + 4) / 5; });
    case pSpecial252: {
      std::vector<TColor> entries;
      for (int i = 0; i < 252; ++i) entries.push_back(Special252Entry(i));
      return entries;
    }
    default: return {};
  }
}

void TPixelGraphic::SetPaletteIdent(TPaletteIdent Ident) {
  if (Ident == paletteIdent_) return;
  switch (Ident) {
    case pNone:
    case pTrueColor:
      SetPaletteCount(0);
      paletteIdent_ = Ident;
      break;
    case pUnknown: paletteIdent_ = Ident; break;
    case pOptimized252Sys16:
    case pSource: break;
    default: {
      std::vector<TColor> entries = StandardPaletteEntries(Ident);
      SetPaletteCount(static_cast<int>(entries.size()));
      for (std::size_t i = 0; i < entries.size(); ++i) SetPaletteEntry(static_cast<int>(i), entries[i]);
      paletteIdent_ = Ident;
    }
  }
  InvalidateLastQuery();
  paletteChanged_ = true;
  FreeColorMap();
}

void TPixelGraphic::DetectPaletteIdent() {
  allGray_ = false;
  if (format_ != pgbc24) {
    allGray_ = true;
    for (TColor c : palette_)
      if (RedOf(c) != GreenOf(c) || GreenOf(c) != BlueOf(c)) allGray_ = false;
  }
  static constexpr TPaletteIdent kOrder[] = {pBlackWhite, pGray4, pSysGray4,   pGray16,     pGray236,
                                             pGray256,    pSys16, pSpecial216, pSpecial125, pSpecial252};
  for (TPaletteIdent ident : kOrder) {
    if (StandardPaletteEntries(ident) == palette_) {
      paletteIdent_ = ident;
      return;
    }
  }
  if (palette_.empty()) paletteIdent_ = format_ == pgbc24 ? pTrueColor : pNone;
  else
    paletteIdent_ = pUnknown;
}
