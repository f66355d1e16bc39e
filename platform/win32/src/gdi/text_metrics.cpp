// What a program learns of the selected font: extents, metrics and the face name.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "gdi/font_match.h"
#include "gdi/font_object.h"
#include "gdi/text_codec.h"
#include "gdi/text_render.h"

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  gdi::DeviceContext* dc = gdi::FindDC(hdc);
  if (!dc || !size || count < 0 || (count > 0 && !text)) return FALSE;
  std::lock_guard lock(fonts::EngineMutex());
  fonts::FontFace& face = fonts::SelectedFace(*dc);
  const fonts::GlyphRun run =
      fonts::MeasuredRun(face, fonts::DecodeText(std::string_view(text, static_cast<std::size_t>(count))).chars);
  size->cx = run.positions.back();
  size->cy = face.Metrics().tmHeight;
  return TRUE;
}

BOOL GetTextExtentPointA(HDC dc, LPCSTR text, int count, LPSIZE size) {
  return GetTextExtentPoint32A(dc, text, count, size);
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA metrics) {
  gdi::DeviceContext* dc = gdi::FindDC(hdc);
  if (!dc || !metrics) return FALSE;
  std::lock_guard lock(fonts::EngineMutex());
  *metrics = fonts::SelectedFace(*dc).Metrics();
  return TRUE;
}

int GetTextFaceA(HDC hdc, int count, LPSTR faceName) {
  gdi::DeviceContext* dc = gdi::FindDC(hdc);
  if (!dc) return 0;
  std::lock_guard lock(fonts::EngineMutex());
  const std::string& name = fonts::SelectedFace(*dc).FaceName();
  if (!faceName) return static_cast<int>(name.size()) + 1;
  if (count <= 0) return 0;
  const std::size_t n = std::min(name.size(), static_cast<std::size_t>(count - 1));
  std::memcpy(faceName, name.data(), n);
  faceName[n] = '\0';
  return static_cast<int>(n) + 1;
}
