#pragma once
// Reading BITMAPINFO blocks: the format they describe and their colour tables.
#include "dc.h"

namespace gdi {

// Fills the format fields of `out` (size, depth, row order, stride, colour table, masks; not the
// bits) from `info`. DIB_PAL_COLORS tables are indexes into the DC's selected palette. False for
// what cannot be drawn: bad sizes, depths other than 1/4/8/16/24/32, RLE or unknown compression.
bool ReadDibFormat(const BITMAPINFO* info, UINT usage, const DeviceContext* dc, Surface& out);
// The byte size of the bits of such a DIB.
std::size_t DibImageSize(const Surface& format);
// A colour table for `bpp` bits when none is given: black and white, the 16 VGA colours, or the
// 256-colour halftone table (static colours at 0-9 and 246-255, a 6x6x6 cube, greys).
std::vector<RGBQUAD> StandardTable(int bpp);

}  // namespace gdi
