#pragma once
// TIFF's numbers by name: the tags, field types, compressions and photometric interpretations
// that the pixel graphics library's reader and writer and the imaging library's reader use.
#include <cstdint>

namespace tiff {

enum Tag : std::uint16_t {
  kNewSubfileType = 254,
  kImageWidth = 256,
  kImageLength = 257,
  kBitsPerSample = 258,
  kCompression = 259,
  kPhotometric = 262,
  kFillOrder = 266,
  kDocumentName = 269,
  kImageDescription = 270,
  kStripOffsets = 273,
  kSamplesPerPixel = 277,
  kRowsPerStrip = 278,
  kStripByteCounts = 279,
  kXResolution = 282,
  kYResolution = 283,
  kPlanarConfiguration = 284,
  kPageName = 285,
  kXPosition = 286,
  kYPosition = 287,
  kT4Options = 292,
  kResolutionUnit = 296,
  kPageNumber = 297,
  kPredictor = 317,
  kColorMap = 320,
  kTileWidth = 322,
  kTileLength = 323,
  kTileOffsets = 324,
  kTileByteCounts = 325,
};

enum FieldType : std::uint16_t {
  kByte = 1,
  kAscii = 2,
  kShort = 3,
  kLong = 4,
  kRational = 5,
  kSByte = 6,
  kUndefined = 7,
  kSShort = 8,
  kSLong = 9,
  kSRational = 10,
  kFloat = 11,
  kDouble = 12,
};

enum Compression : std::uint16_t {
  kUncompressed = 1,
  kCcittRle = 2,  // "CCITT 1D", modified Huffman rows
  kCcittFax3 = 3,
  kCcittFax4 = 4,
  kLzw = 5,
  kOldJpeg = 6,
  kJpeg = 7,
  kPackBits = 32773,
};

enum Photometric : std::uint16_t {
  kWhiteIsZero = 0,
  kBlackIsZero = 1,
  kRgb = 2,
  kPalette = 3,
  kSeparated = 5,  // CMYK
};

}  // namespace tiff
