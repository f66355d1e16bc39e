#pragma once
// The one way Corvane reads a picture file, used by the swap dialog and by picture-decode
// --imaging: the GIF and TIFF LZW decoders plugged in, ".sys" files (logos) read as bitmaps, any
// other extension through the I/O component's table, and an extension without a reader refused.
#include <string>

#include "imaging/io_params.h"
#include "imaging/velmora_io.h"

// True for the extensions LoadPicture reads (compared without regard to case).
bool HasPictureReader(const std::string& FileName);
// Loads the file into IO's attached image with the decoders plugged in. The reader's
// EInvalidGraphic passes through; an extension without a reader raises EInvalidGraphic
// "unrecognized file type". Without a working bitmap nothing is read.
void LoadPicture(TVelmoraIO& IO, const std::string& FileName);
