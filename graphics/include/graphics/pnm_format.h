#pragma once
// The portable bitmap family: bi-level, grey and colour pictures in their ASCII ("P1".."P3") and
// binary ("P4".."P6") forms. Every reader reads all six; a writer writes the kind its extension
// names.
// Limits: pictures up to the DIB section's 1 GiB. A file that ends early is "PBM, PGM, PPM:
// Unexpected end of file" (the rows read stay), raised before sizing when it cannot hold the pixels.
#include "graphics/file_formats.h"

// Writers produce the binary forms; set-up leaves it off and nothing changes it.
extern bool PGPxMWriteBinary;

class TPxMFileFormatReader : public TFileFormatReader {
 public:
  VCL_CLASS_INFO
  TPxMFileFormatReader() { HasSignature = true; }
  void Read(TStream* Stream, TPixelGraphic* Graphic, int Index) override;
  void GetInfo(TStream* Stream, int Index, TPGImageInfo& Info) override;
};

class TPBMFileFormatReader : public TPxMFileFormatReader {
 public:
  VCL_CLASS_INFO
  TPBMFileFormatReader();
  // "P1" or "P4".
  bool CheckHeader(const std::uint8_t* Header) override;
};

class TPGMFileFormatReader : public TPxMFileFormatReader {
 public:
  VCL_CLASS_INFO
  TPGMFileFormatReader();
  // "P2" or "P5".
  bool CheckHeader(const std::uint8_t* Header) override;
};

class TPPMFileFormatReader : public TPxMFileFormatReader {
 public:
  VCL_CLASS_INFO
  TPPMFileFormatReader();
  // "P3" or "P6".
  bool CheckHeader(const std::uint8_t* Header) override;
};

class TPXMFileFormatWriter : public TFileFormatWriter {
 public:
  VCL_CLASS_INFO
  void Write(TStream* Stream, TPixelGraphic* Graphic) override;
};

class TPBMFileFormatWriter : public TPXMFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TPBMFileFormatWriter();
};

class TPGMFileFormatWriter : public TPXMFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TPGMFileFormatWriter();
};

class TPPMFileFormatWriter : public TPXMFileFormatWriter {
 public:
  VCL_CLASS_INFO
  TPPMFileFormatWriter();
};
