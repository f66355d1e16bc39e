#pragma once
// The JPEG reader: a JFIF stream through libjpeg into the 24-bit work bitmap (greyscale files too).
// Limits: pictures that fit a DIB section (1 GiB at 24 bits); past 4M pixels the file must hold a
// byte per 1024 pixels; at most jpeg::kMaxScans scans. A file that ends early gets the rest of its
// picture made up by the library.
#include "imaging/bitmap_rows.h"
#include "imaging/io_params.h"
#include "imaging/progress.h"
#include "vcl/streams.h"

// Reads from the stream's position. A library error raises EInvalidGraphic "Unrecognized JPeg - "
// followed by the library's message number; the decompressor is destroyed on every path.
void JPEGReadStream(TStream* Source, TBitmap& Bitmap, TVelmoraIOParams& Params, const TProgressRec& Progress);
