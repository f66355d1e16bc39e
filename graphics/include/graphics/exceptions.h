#pragma once
// The library's exceptions; each is raised with a finished message text.
#include "vcl/sysutils.h"

class EPixelGraphic : public Exception {
  using Exception::Exception;
};

class EPGNoPalette : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGInvalidPaletteIndex : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGInvalidBitCountNum : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGInvalidSize : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGEmpty : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};

// Format registry.
class EPGCanWriteResolutionsEmpty : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGCannotWriteColorRes : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGFileFormatWritersEmpty : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGUnknownExtension : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGUnknownFileFormat : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGUnknownClipboardFormat : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};

// Codecs; their messages begin with the format's prefix ("BMP: " ...).
class EPGBMPFileFormatReader : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGJPGFileFormatReaderWriter : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGPNGFileFormatReaderWriter : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGPCXFileFormatReader : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGPxMFileFormatReader : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGPxMFileFormatWriter : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGTGAFileFormatReader : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGTIFFileFormatReader : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
class EPGTIFFileFormatWriter : public EPixelGraphic {
  using EPixelGraphic::EPixelGraphic;
};
