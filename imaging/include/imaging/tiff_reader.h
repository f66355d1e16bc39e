#pragma once
// The TIFF reader: one image of a TIFF file (strips, either byte order) into the work bitmap:
// RGB, palette, grey and bilevel pictures, uncompressed, CCITT, LZW (through the record's
// TiffLzwDecoder) or PackBits. Tiled images are refused.
// Limits: pictures that fit a DIB section (1 GiB at 24 bits); past 4M pixels the file must hold
// a byte per 4096 pixels. "Invalid TIFF stream" otherwise.
#include "imaging/bitmap_rows.h"
#include "imaging/io_params.h"
#include "imaging/progress.h"
#include "vcl/streams.h"

inline constexpr char kUnrecognizedTiff[] = "unrecognized TIFF";

// Reads the directory the record's TiffImageIndex names; DirectoryCount receives the length of
// the directory chain (a chain that loops is cut where it comes back). A directory beyond the
// chain changes nothing else. EInvalidGraphic kUnrecognizedTiff for a wrong byte order mark, a
// tiled image or one whose pixels it cannot turn into colours,
// "Invalid TIFF stream" for a picture of no pixels or too many or with differing sample sizes,
// "LZW Decompressor not found" for LZW strips without a decoder.
void TIFFReadStream(TBitmap& Bitmap, TStream* Source, int& DirectoryCount, const TProgressRec& Progress,
                    TVelmoraIOParams& Params);
