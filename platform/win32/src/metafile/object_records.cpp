// Brushes and regions of the object records.
#include "metafile/object_records.h"

#include <cstring>

namespace metafile {

SharedHandle MakeBrush(UINT style, COLORREF color, ULONG_PTR hatch) {
  if (style == BS_NULL) return Player::Own(GetStockObject(NULL_BRUSH));
  if (style == BS_HATCHED && hatch <= static_cast<ULONG_PTR>(HS_DIAGCROSS))
    return Player::Own(CreateHatchBrush(static_cast<int>(hatch), color));
  return Player::Own(CreateSolidBrush(color));
}

SharedHandle MakePatternBrush(const DibSource& dib) {
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, dib.Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  const BITMAPINFOHEADER& h = dib.Info()->bmiHeader;
  std::size_t stride = ((static_cast<std::size_t>(h.biWidth) * h.biBitCount + 31) / 32) * 4;
  std::memcpy(bits, dib.bits, stride * static_cast<std::size_t>(dib.height));
  SharedHandle brush = Player::Own(CreatePatternBrush(bitmap));
  DeleteObject(bitmap);
  return brush;
}

bool ReadRegionRects(RecordReader& r, std::size_t at, std::size_t count, std::vector<RECT>& rects) {
  if (!r.HasArray(at, count, 16)) return false;
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t p = at + i * 16;
    RECT rect{r.S32(p), r.S32(p + 4), r.S32(p + 8), r.S32(p + 12)};
    if (rect.left < rect.right && rect.top < rect.bottom) rects.push_back(rect);
  }
  return !r.Bad();
}

}  // namespace metafile
