// The inverse colour map of arbitrary palettes: one entry index per 5-6-5 cell, filled around
// each entry's own cell out to four cell steps, and by exhaustive search for the rest on demand.
#include <cstring>

#include "graphics/palettes.h"

namespace {

constexpr int kCells = 65536;
// Cells this many steps around an entry's own cell are filled at once: enough for the dense
// palettes, while far cells of sparse ones are rare enough to search when first asked.
constexpr int kRadius = 4;

int CellOf(int r, int g, int b) { return r << 11 | g << 5 | b; }

}  // namespace

void TPixelGraphic::FreeColorMap() {
  colorMapStale_ = true;
  colorMap_.reset();
  colorMapKnown_.reset();
}

void TPixelGraphic::BuildColorMap() {
  colorMap_ = std::make_unique<std::uint8_t[]>(kCells);
  colorMapKnown_ = std::make_unique<std::uint8_t[]>(kCells / 8);
  std::uint8_t* map = colorMap_.get();
  std::uint8_t* known = colorMapKnown_.get();
  auto visit = [&](int r, int g, int b, int entry) {
    if (r < 0 || r > 31 || g < 0 || g > 63 || b < 0 || b > 31) return;
    int cell = CellOf(r, g, b);
    if (known[cell >> 3] & (1 << (cell & 7))) return;
    map[cell] = static_cast<std::uint8_t>(entry);
    known[cell >> 3] |= static_cast<std::uint8_t>(1 << (cell & 7));
  };
  // Entries past 255 cannot be stored in a cell; they are only found by the search.
  int entries = std::min(paletteCount_, 256);
  for (int radius = 0; radius <= kRadius; ++radius) {
    for (int e = 0; e < entries; ++e) {
      TColor c = palette_[static_cast<std::size_t>(e)];
      int cr = RedOf(c) / 8, cg = GreenOf(c) / 4, cb = BlueOf(c) / 8;
      for (int side : {-radius, radius}) {
        for (int g = cg - radius; g <= cg + radius; ++g)
          for (int b = cb - radius; b <= cb + radius; ++b) visit(cr + side, g, b, e);
      }
      for (int side : {-radius, radius}) {
        for (int r = cr - radius; r <= cr + radius; ++r)
          for (int b = cb - radius; b <= cb + radius; ++b) visit(r, cg + side, b, e);
      }
      for (int side : {-radius, radius}) {
        for (int r = cr - radius; r <= cr + radius; ++r)
          for (int g = cg - radius; g <= cg + radius; ++g) visit(r, g, cb + side, e);
      }
    }
  }
  colorMapStale_ = false;
}

int TPixelGraphic::ColorMapLookup(TColor Color) {
  if (colorMapStale_) BuildColorMap();
  int cell = CellOf(RedOf(Color) / 8, GreenOf(Color) / 4, BlueOf(Color) / 8);
  std::uint8_t& bits = colorMapKnown_[static_cast<std::size_t>(cell >> 3)];
  auto flag = static_cast<std::uint8_t>(1 << (cell & 7));
  if (bits & flag) return colorMap_[static_cast<std::size_t>(cell)];
  int result = NearestEntry(Color);
  if (result > 255) return result;
  colorMap_[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(result);
  bits |= flag;
  return result;
}
