// TextOutA, ExtTextOutA and the text alignment.
#include <cstring>
#include <mutex>

#include "gdi/font_match.h"
#include "gdi/font_object.h"
#include "gdi/text_codec.h"
#include "gdi/text_render.h"

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const INT* dx) {
  gdi::DeviceContext* dc = gdi::FindDC(hdc);
  if (!dc || (count > 0 && !text)) return FALSE;
  std::lock_guard lock(fonts::EngineMutex());
  std::optional<RECT> clip;
  if (rect) {
    const RECT device = dc->ToDevice(*rect);
    if (options & ETO_OPAQUE) gdi::FillDeviceRect(*dc, device, gdi::PixelValue(*dc, dc->state.bkColor));
    if (options & ETO_CLIPPED) clip = device;
  }
  if (count == 0) return TRUE;

  fonts::FontFace& face = fonts::SelectedFace(*dc);
  const fonts::DecodedText decoded = fonts::DecodeText(std::string_view(text, count));
  fonts::GlyphRun run = fonts::MeasuredRun(face, decoded.chars);
  if (dx) {
    // The spacing is per byte; a character of several bytes takes the sum of its bytes'.
    for (std::size_t i = 0; i < decoded.chars.size(); ++i) {
      int advance = 0;
      for (std::size_t b = decoded.firstByte[i]; b < decoded.firstByte[i + 1]; ++b) advance += dx[b];
      run.positions[i + 1] = run.positions[i] + advance;
    }
  }

  const UINT align = dc->state.textAlign;
  const bool updateCp = align & TA_UPDATECP;
  const POINT reference = dc->ToDevice(updateCp ? dc->state.penPos : POINT{x, y});
  const bool opaqueCell = dc->state.bkMode == OPAQUE && !(rect && (options & ETO_OPAQUE));
  fonts::DrawRun(*dc, face, run, reference, align, opaqueCell, clip);
  if (updateCp && (align & TA_CENTER) != TA_CENTER) {
    const POINT step = fonts::RunAdvance(face, run.positions.back());
    const int sign = (align & TA_RIGHT) ? -1 : 1;
    dc->state.penPos.x += sign * step.x;
    dc->state.penPos.y += sign * step.y;
  }
  return TRUE;
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutA(dc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

UINT SetTextAlign(HDC hdc, UINT align) {
  gdi::DeviceContext* dc = gdi::FindDC(hdc);
  if (!dc) return GDI_ERROR;
  const UINT old = dc->state.textAlign;
  dc->state.textAlign = align & (TA_UPDATECP | TA_CENTER | TA_BASELINE);
  return old;
}

UINT GetTextAlign(HDC hdc) {
  gdi::DeviceContext* dc = gdi::FindDC(hdc);
  return dc ? dc->state.textAlign : GDI_ERROR;
}
