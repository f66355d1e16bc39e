#pragma once
// Both metafile targets: load the bytes as a metafile file and, when that succeeds, draw it.
#include <cstdint>

#include "vcl/metafile.h"

inline void LoadAndDrawMetafile(const uint8_t* data, size_t size) {
  TMemoryStream stream;
  stream.Write(data, static_cast<std::int64_t>(size));
  stream.SetPosition(0);
  TMetafile metafile;
  try {
    metafile.LoadFromStream(&stream);
  } catch (const EInvalidGraphic&) {
    return;
  }
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetWidth(48);
  bitmap.SetHeight(32);
  bitmap.Canvas()->StretchDraw({0, 0, 48, 32}, &metafile);
  bitmap.Canvas()->StretchDraw({40, 30, -200, -100}, &metafile);
}
