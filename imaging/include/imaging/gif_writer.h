#pragma once
// Our GIF writer: the LZW encoder of GIF image data, and GIF89a files of one or more frames over
// one global colour table, such as the slot manager's pictures are stored as.
// Limits: frames of at most 65535 x 65535 indexes; up to 256 colours.
#include <cstdint>
#include <vector>

#include "imaging/io_params.h"

struct GifLzwOptions {
  int minimumCodeSize = 8;  // 1 to 8 (files use 2 and up); indexes lie below 2^minimumCodeSize
  bool leadingClear = true;
  bool clearWhenFull = true;  // false: the table stays full and codes stay 12 bits wide
  bool endCode = true;
  int subBlockSize = 255;  // 1 to 255
};

// The image data of Pixels, one index per byte: the code-size byte, the data sub-blocks and the
// terminator. Code widths grow when the decoder's table reaches the next power of two.
std::vector<std::uint8_t> GifLzwEncode(const std::vector<std::uint8_t>& Pixels, const GifLzwOptions& Options = {});

struct TGifFrame {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  std::vector<std::uint8_t> Indexes;  // Width x Height, rows top to bottom
  int Delay = 0;  // hundredths of a second
  int Transparent = -1;  // the transparent index, or none
};

// A GIF89a file of Width x Height with Palette (at most 256 colours, padded to a power of two and
// to every index the frames use) as its global table and the frames in order, each behind a graphic control extension;
// with more than one frame and Loop set, a looping application extension makes them repeat for ever.
std::vector<std::uint8_t> GifFileBytes(int Width, int Height, const std::vector<TColorTriple>& Palette,
                                       const std::vector<TGifFrame>& Frames, bool Loop = true);
