#pragma once
// The imaging readers' fuzz targets: a reader runs over the bytes into a plain work bitmap. The
// readers refuse pictures their data cannot stand for, so no budget of the target's own is needed.
#include <cstdint>
#include <cstdlib>

#include "imaging/io_params.h"
#include "vcl/graphics_images.h"
#include "vcl/streams.h"

// Runs `read(input, bitmap)` over the bytes. The reader's own error ends the run (false); a
// picture it reads must have the size it reports in `params`.
template <class Read>
bool ReadsAsReported(const uint8_t* data, size_t size, const TVelmoraIOParams& params, Read read) {
  TMemoryStream input;
  input.Write(data, static_cast<std::int64_t>(size));
  input.SetPosition(0);
  TBitmap bitmap;
  try {
    read(input, bitmap);
  } catch (const EInvalidGraphic&) {
    return false;
  }
  if (bitmap.Width() != params.Width || bitmap.Height() != params.Height) abort();
  return true;
}
