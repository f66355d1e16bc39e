#pragma once
// The LZW decoder of GIF image data, plugged into the parameter record's GifLzwDecoder.
#include <cstdint>
#include <functional>

#include "vcl/streams.h"

// Decodes the image data that starts at the stream's code-size byte into Width x Height colour
// indexes, rows top to bottom (interlaced data in its four passes). Decoding ends early, leaving
// the rest of Dest as it was, at the end of the data, at an end code or at a code the table does
// not hold yet; the stream then stands past the data's terminator sub-block where there is one.
// EInvalidGraphic "unrecognized GIF" for a code size outside 1..11 or a sub-block cut short.
void GifLzwDecode(TStream* Source, int Height, int Width, bool Interlaced, std::uint8_t* Dest);

// GifLzwDecode with OnRow called after each row with the number of rows filled so far; its
// false stops decoding there (the stream is then left inside the data).
using TGifRowCallback = std::function<bool(int RowsDone)>;
void GifLzwDecodeRows(TStream* Source, int Height, int Width, bool Interlaced, std::uint8_t* Dest,
                      const TGifRowCallback& OnRow);

// Steps over data sub-blocks up to their terminator; false, at the stream's end, when the data
// ends first.
bool GifSkipSubBlocks(TStream* Source);
