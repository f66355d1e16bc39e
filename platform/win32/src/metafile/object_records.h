#pragma once
// Making the table objects that both formats describe alike.
#include "metafile/dib_source.h"
#include "metafile/player.h"

namespace metafile {

// LOGBRUSH styles with a colour or a hatch (BS_SOLID, BS_NULL, BS_HATCHED); others draw solid.
SharedHandle MakeBrush(UINT style, COLORREF color, ULONG_PTR hatch);
SharedHandle MakePatternBrush(const DibSource& dib);
// A clip or fill region's rectangles; false when the data does not hold them.
bool ReadRegionRects(RecordReader& r, std::size_t at, std::size_t count, std::vector<RECT>& rects);

}  // namespace metafile
