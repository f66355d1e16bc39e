#pragma once
// Windows and OS/2 bitmap files: the reader into the work bitmap (24 bits, or 1 bit for black and
// white files) and the writer at 1, 4, 8 or 24 bits as the parameter record asks.
// Limits: pictures that fit a DIB section (1 GiB at 24 bits) with at least a byte of data per
// 256 pixels; missing bytes of a truncated file read as zeros.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/io_params.h"
#include "imaging/progress.h"
#include "vcl/graphics_images.h"
#include "vcl/streams.h"

// Reads one bitmap file from the stream's position; `Size` is the number of bytes it may take
// (below 1: the file header's size). EInvalidGraphic "unrecognized BMP" for what is no bitmap
// file or describes a picture its data cannot hold.
void BMPReadStream(TStream* Stream, TBitmap& Bitmap, std::int64_t Size, const TProgressRec& Progress,
                   TVelmoraIOParams& Params);
// Writes the bitmap at the record's bits, header kind, compression and resolution; 4 and 8 bits
// get a NeuQuant palette, which replaces the record's ColorMap.
void BMPWriteStream(TStream* Stream, TBitmap& Bitmap, TVelmoraIOParams& Params, const TProgressRec& Progress);

// One row of palette indexes (a byte each) run-length encoded, ending with the end-of-line
// escape; `out` needs room for 2 x count + 4 bytes. Returns the bytes written.
std::size_t BMPEncodeRLE8Row(const std::uint8_t* row, int count, std::uint8_t* out);
std::size_t BMPEncodeRLE4Row(const std::uint8_t* row, int count, std::uint8_t* out);
// Decodes run-length data into a 24-bit bitmap through a 256-entry colour table; runs, absolute
// runs and deltas are clipped to the picture and reads to the data, and the pixels they skip
// are entry 0.
void BMPDecodeRLE8(TBitmap& Bitmap, const std::uint8_t* data, std::size_t size, const TProgressRec& Progress,
                   const TColorTriple* colorTable);
void BMPDecodeRLE4(TBitmap& Bitmap, const std::uint8_t* data, std::size_t size, const TProgressRec& Progress,
                   const TColorTriple* colorTable);
