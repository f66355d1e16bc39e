#pragma once
// The PCX reader: 1-bit one-plane files into a 1-bit bitmap, 4- and 8-bit one-plane and 8-bit
// three-plane files into 24 bits.
// Limits: pictures that fit a DIB section (1 GiB at 24 bits) and whose data is at least 1/32 of
// their lines (a run gives 63 bytes for two); lines missing from a truncated file stay black.
#include <cstdint>
#include <string>

#include "imaging/bitmap_rows.h"
#include "imaging/io_params.h"
#include "imaging/progress.h"
#include "vcl/streams.h"

// Reads the file of Size bytes from the stream's position. EInvalidGraphic "unrecognized PCX" for
// a header it cannot decode or a file too short for its header and palette; rows the data does
// not reach stay black.
void PCXReadStream(TStream* Source, TBitmap& Bitmap, TVelmoraIOParams& Params, const TProgressRec& Progress,
                   std::int64_t Size);
void PCXReadFile(const std::string& FileName, TBitmap& Bitmap, TVelmoraIOParams& Params, const TProgressRec& Progress);
