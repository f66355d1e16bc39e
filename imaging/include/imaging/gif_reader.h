#pragma once
// The GIF reader: one image of a GIF file, picked by the record's GifImageIndex, into the work
// bitmap (1 bit for black and white two-colour images, else 24 bits in the image's colours),
// through the record's GifLzwDecoder. The stream is read through a buffer of 64 KiB, so counting
// many frames is one pass of large reads.
// Limits: pictures that fit a DIB section (1 GiB at 24 bits) and whose data left can hold their
// codes (4096 pixels per 12-bit code); pixels past the end of damaged data take index 0.
#include <string>

#include "imaging/bitmap_rows.h"
#include "imaging/io_params.h"
#include "imaging/progress.h"
#include "vcl/streams.h"

// ImageCount receives the number of images met before the trailer or the end of the stream. A
// wanted image beyond them leaves the bitmap as it was. EInvalidGraphic "unrecognized GIF" for
// what is no GIF file or an image of no pixels or too many; "LZW decompressor not found" without a
// decoder.
void GIFReadStream(TStream* Source, TBitmap& Bitmap, int& ImageCount, const TProgressRec& Progress,
                   TVelmoraIOParams& Params);
void GIFReadFile(const std::string& FileName, TBitmap& Bitmap, int& ImageCount, const TProgressRec& Progress,
                 TVelmoraIOParams& Params);
