// CF_DIB in and out of the clipboard: a packed DIB in a global memory block.
#include "graphics/exceptions.h"
#include "graphics/messages.h"
#include "graphics/pixel_graphic.h"
#include "vcl/scope_exit.h"
#include "win32/clipboard.h"
#include "win32/globalmem.h"

void TPixelGraphic::SaveToClipboardFormat(WORD& AFormat, HANDLE& AData, HPALETTE& APalette) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, static_cast<SIZE_T>(GetDIBSize()));
  if (!block) throw EOutOfMemory("Out of memory");
  bool written = false;
  ScopeExit freeUnwritten([&] {
    if (!written) GlobalFree(block);
  });
  {
    TCustomMemoryStream stream;
    stream.SetPointer(GlobalLock(block), static_cast<std::int64_t>(GlobalSize(block)));
    ScopeExit unlock([&] { GlobalUnlock(block); });
    WriteDIB(&stream);
  }
  written = true;
  AFormat = CF_DIB;
  AData = block;
  APalette = nullptr;
}

void TPixelGraphic::LoadFromClipboardFormat(WORD AFormat, HANDLE AData, HPALETTE) {
  // A CF_BITMAP handle is a GDI bitmap, not a block holding a DIB.
  if (AFormat != CF_DIB || !AData) throw EPGUnknownClipboardFormat(PGLangStr(pgsUnknownClipboardFormat));
  FlushGdi();
  BeginUpdate();
  void* memory = GlobalLock(AData);
  ScopeExit endUpdate([&] {
    DetectPaletteIdent();
    GlobalUnlock(AData);
    EndUpdate();
  });
  TCustomMemoryStream stream;
  stream.SetPointer(memory, memory ? static_cast<std::int64_t>(GlobalSize(AData)) : 0);
  ReadDIB(&stream, false);
  gamma_ = PGDisplayGamma;
}
