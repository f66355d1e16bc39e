#pragma once
// The PCX reader: 1-bit one-plane files into a 1-bit bitmap, 4- and 8-bit one-plane and 8-bit
// three-plane files into 24 bits.
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
