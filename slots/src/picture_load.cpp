#include "slots/picture_load.h"

#include <algorithm>
#include <iterator>

#include "imaging/gif_lzw.h"
#include "imaging/tiff_lzw.h"
#include "vcl/graphics_images.h"
#include "vcl/sysutils.h"

namespace {

// The extensions of the I/O component's own table; ".sys" is added here.
const char* const kReadByComponent[] = {".jpg", ".jpeg", ".tif", ".tiff", ".pcx", ".gif",
                                        ".wmf", ".emf",  ".bmp", ".cur",  ".ico"};
const char kLogoExtension[] = ".sys";

std::string ExtensionOf(const std::string& FileName) { return LowerCase(ExtractFileExt(FileName)); }

// Sets the record's GIF and TIFF LZW decoder routines.
void PlugLzwDecoders(TVelmoraIOParams& Params) {
  Params.GifLzwDecoder = GifLzwDecode;
  Params.TiffLzwDecoder = TiffLzwDecode;
}

}  // namespace

bool HasPictureReader(const std::string& FileName) {
  const std::string extension = ExtensionOf(FileName);
  return extension == kLogoExtension ||
         std::find(std::begin(kReadByComponent), std::end(kReadByComponent), extension) != std::end(kReadByComponent);
}

void LoadPicture(TVelmoraIO& IO, const std::string& FileName) {
  if (!IO.WorkBitmap()) return;
  if (!HasPictureReader(FileName)) throw EInvalidGraphic("unrecognized file type");
  PlugLzwDecoders(IO.Params());
  if (ExtensionOf(FileName) == kLogoExtension) IO.LoadBMPFile(FileName);
  else
    IO.LoadFromFile(FileName);
}
