// UTF-16 to UTF-8 for the wide text records.
#include "metafile/text_encoding.h"

#include "gdi/text_codec.h"

namespace metafile {

std::string Utf16ToUtf8(const std::u16string& text, const std::vector<int>& dx, std::vector<int>& byteDx) {
  std::string out;
  byteDx.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    int advance = i < dx.size() ? dx[i] : 0;
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
      if (i < dx.size()) advance += dx[i];
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    fonts::AppendUtf8(out, c);
    byteDx.push_back(advance);
    byteDx.resize(out.size(), 0);
  }
  if (dx.empty()) byteDx.clear();
  return out;
}

}  // namespace metafile
