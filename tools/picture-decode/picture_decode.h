#pragma once
// The work of picture-decode: a picture file in, the decoded pixels as a binary Netpbm file out.
#include <string>

#include "vcl/graphics_images.h"

// "P6" with RGB samples for a 24-bit bitmap, "P5" with 0 and 255 for a 1-bit (black and white) one.
std::string NetpbmFromDib(TBitmap& bitmap);

// Decodes the file at a host path as the slot manager loads pictures (LoadPicture): the imaging
// library's readers by extension, GIF and TIFF LZW data decoded, ".sys" files read as bitmaps.
// The reader's own exception passes through; an extension without a reader raises
// EInvalidGraphic.
std::string DecodeToNetpbmWithImaging(const std::string& hostPath);
