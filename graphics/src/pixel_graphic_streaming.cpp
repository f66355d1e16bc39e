// Streaming and the clipboard of TPixelGraphic; the bitmap codec that they use comes next.
#include "graphics/exceptions.h"
#include "graphics/pixel_graphic.h"

void TPixelGraphic::LoadFromStream(TStream*) { throw EPixelGraphic("Loading is not available yet"); }
void TPixelGraphic::SaveToStream(TStream*) { throw EPixelGraphic("Saving is not available yet"); }
void TPixelGraphic::LoadFromClipboardFormat(WORD, HANDLE, HPALETTE) {
  throw EPixelGraphic("The clipboard is not available yet");
}
void TPixelGraphic::SaveToClipboardFormat(WORD&, HANDLE&, HPALETTE&) {
  throw EPixelGraphic("The clipboard is not available yet");
}
