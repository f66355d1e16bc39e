// DrawTextA: the layout of text_layout.h drawn line by line into a rectangle.
#include <algorithm>
#include <cstring>
#include <mutex>

#include "gdi/font_match.h"
#include "gdi/font_object.h"
#include "gdi/text_codec.h"
#include "gdi/text_layout.h"
#include "gdi/text_render.h"

namespace {

// DT_MODIFYSTRING: the shown form of a single line goes back into the caller's buffer, which
// Win32 asks to have room for four more bytes than the text.
void RewriteText(LPCSTR text, std::size_t length, const std::string& shown) {
  const std::size_t room = length + 4;
  const std::size_t n = std::min(shown.size(), room - 1);
  char* buffer = const_cast<char*>(text);
  std::memcpy(buffer, shown.data(), n);
  buffer[n] = '\0';
}

}  // namespace

int DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
  gdi::DeviceContext* dc = gdi::FindDC(hdc);
  if (!dc || !rect || (!text && count != 0)) return 0;
  const std::size_t length = count < 0 ? std::strlen(text) : static_cast<std::size_t>(count);
  std::lock_guard lock(fonts::EngineMutex());
  fonts::FontFace& face = fonts::SelectedFace(*dc);
  const TEXTMETRICA& m = face.Metrics();
  const fonts::DecodedText decoded = fonts::DecodeText(std::string_view(text ? text : "", length));

  fonts::LayoutRules rules;
  rules.format = format;
  rules.width = rect->right - rect->left;
  rules.tabWidth = 8 * std::max<LONG>(1, m.tmAveCharWidth);
  const fonts::AdvanceOf advance = [&](char32_t c) { return face.Advance(c); };
  const std::vector<fonts::LayoutLine> lines = fonts::LayoutText(decoded.chars, advance, rules);

  if ((format & DT_MODIFYSTRING) && (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS)) && lines.size() == 1 &&
      lines[0].chars != decoded.chars)
    RewriteText(text, length, fonts::EncodeText(lines[0].chars, decoded.utf8));

  const int lineHeight = m.tmHeight + ((format & DT_EXTERNALLEADING) ? m.tmExternalLeading : 0);
  const int height = static_cast<int>(lines.size()) * lineHeight;
  if (format & DT_CALCRECT) {
    int width = 0;
    for (const fonts::LayoutLine& line : lines) width = std::max(width, line.width);
    rect->right = rect->left + width;
    rect->bottom = rect->top + height;
    return height;
  }

  int top = rect->top;
  const bool singleLine = format & DT_SINGLELINE;
  if (singleLine && (format & DT_VCENTER)) top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
  else if (singleLine && (format & DT_BOTTOM))
    top = rect->bottom - lineHeight;

  std::optional<RECT> clip;
  if (!(format & DT_NOCLIP)) clip = dc->ToDevice(*rect);
  const bool opaque = dc->state.bkMode == OPAQUE;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const fonts::LayoutLine& line = lines[i];
    fonts::GlyphRun run;
    run.chars = line.chars;
    run.positions = fonts::CharPositions(line.chars, advance, rules);
    run.underlined = line.underlined;
    int x = rect->left;
    if (format & DT_CENTER) x = rect->left + (rules.width - line.width) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - line.width;
    const POINT at = dc->ToDevice(POINT{x, top + static_cast<int>(i) * lineHeight});
    fonts::DrawRun(*dc, face, run, at, TA_LEFT | TA_TOP, opaque, clip);
  }
  return singleLine && (format & (DT_VCENTER | DT_BOTTOM)) ? top - rect->top + height : height;
}
