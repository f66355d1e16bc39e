#pragma once
// The registry of format readers and writers. Readers are found by the first bytes of a stream,
// then by extension; writers by extension. The lists are kept sorted by extension.
#include <string>

#include "graphics/pixel_graphic.h"
#include "vcl/sets.h"
#include "vcl/streams.h"

class TFileFormatReaderWriter : public TObject {
 public:
  VCL_CLASS_INFO
  // Whether the open dialog lists the extension in its combined filter.
  bool InFilter = true;
  // Lower case, without the dot.
  std::string Extension;
  // The format's name for users.
  std::string Description;
};

// The outputs of GetInfo.
struct TPGImageInfo {
  std::string SubFormatText;
  std::string DetailsText;
  int Width = 0;
  int Height = 0;
  std::string ColorsText;
  int BitsPerPixel = 0;
  int ImageCount = 0;
};

class TFileFormatReader : public TFileFormatReaderWriter {
 public:
  VCL_CLASS_INFO
  // True when CheckHeader can recognise the format.
  bool HasSignature = false;

  // The first kPGSignatureSize bytes of the stream, zero past its end.
  virtual bool CheckHeader(const std::uint8_t* /*Header*/) { return false; }
  // Decodes image Index of the stream into Graphic.
  virtual void Read(TStream* Stream, TPixelGraphic* Graphic, int Index);
  // Describes image Index without decoding it.
  virtual void GetInfo(TStream* Stream, int Index, TPGImageInfo& Info);
};

constexpr int kPGSignatureSize = 17;

enum TPGColorResolution {
  pgcrBlackWhite,
  pgcr2Colors,
  pgcr16Grays,
  pgcrSys16,
  pgcr16Colors,
  pgcr256Grays,
  pgcr256Colors,
  pgcrTrueColor
};
using TPGColorResolutions = TSet<TPGColorResolution>;

class TFileFormatWriter : public TFileFormatReaderWriter {
 public:
  VCL_CLASS_INFO
  // Set and read by the TIFF writer only.
  bool TIFFOption = false;
  TPGColorResolutions CanWriteResolutions;

  virtual void Write(TStream* Stream, TPixelGraphic* Graphic);
  // Hooks for writers of several images in one file.
  virtual void WriteHeader(TStream* Stream);
  virtual void WriteImage(TStream* Stream, TPixelGraphic* Graphic);
  virtual void WriteTrailer(TStream* Stream);
};

// -1, 0 or 1 by the lower-case extensions.
int CompareFileFormatExtensions(const TFileFormatReaderWriter* A, const TFileFormatReaderWriter* B);
void SortFileFormatReaders();
void SortFileFormatWriters();
// Lower case, without the leading dot.
std::string ExtractFileFormatExt(const std::string& FileName);

// A reader whose signature accepts the stream's first bytes, else one without a signature for
// the extension; none when neither. The stream position is kept.
TFileFormatReader* FindFileFormatReader(TStream* Stream, std::string Ext);
// False when no reader takes the stream or describing it fails; the position is kept.
bool GetStreamInfo(TStream* Stream, const std::string& Ext, int Index, std::string& Description, TPGImageInfo& Info);
bool GetFileInfo(const std::string& FileName, int Index, std::string& Description, TPGImageInfo& Info);

// The resolution an image is in, by its format and palette kind.
TPGColorResolution ColorResolutionOf(TPixelGraphic& Image);
// The resolution a writer stores an image of resolution R in; false when it can store none.
bool ResolutionWritten(TPGColorResolution R, TPGColorResolutions CanWrite, TPGColorResolution& Written);
