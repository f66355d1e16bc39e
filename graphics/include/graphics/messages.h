#pragma once
// The library's user-visible texts: one table with a column per language. Templates hold up to
// three placeholders "%S1", "%S2", "%S3"; only the first occurrence of each is filled.
#include <string>

enum TPGLanguage { pglEnglish, pglGerman, pglFrench, pglDutch, pglSpanish, pglSpare };
constexpr int PGLanguageCount = 6;

struct TPGLangStrEntry {
  int Id;
  const char* Texts[PGLanguageCount];
};

// The ids of the table's rows, by what each says.
enum TPGLangStrId {
  pgsNone = 0,
  pgsIndexOutOfRange = 1,  // "X, Y index out of range"
  pgsNoPalette = 2,  // "No palette"
  pgsInvalidPaletteIndex = 3,  // "Invalid palette index"
  pgsUnknownClipboardFormat = 4,  // "Unknown clipboard format"
  pgsInvalidTemporaryFile = 5,  // "Invalid temporary file"
  pgsUnknownFileFormat = 6,  // "Unknown file format"
  pgsInvalid = 7,  // "%S1 invalid"
  pgsBlackAndWhite = 8,  // "black and white"
  pgsTwoColors = 9,  // "2 colors"
  pgsGray16 = 10,  // "16 shades of gray"
  pgsSystem16 = 11,  // "16 system colors"
  pgsColors16 = 12,  // "16 colors"
  pgsGray256 = 13,  // "256 shades of gray"
  pgsColors256 = 14,  // "256 colors"
  pgsTrueColor = 15,  // "16.7 million colors"
  pgsIsEmpty = 16,  // "%S1 is empty"
  pgsSavedWithOtherResolution = 17,  // "The graphic cannot be saved to a %S1 file with the curren..."
  pgsCannotSaveResolution = 18,  // "The graphic cannot be saved with to a %S1 file with the c..."
  pgsUnknownExtension = 19,  // "Unknown file extension \"%S1\""
  pgsInvalidValue = 20,  // "Invalid value for %S1"
  pgsNegativeHeight = 21,  // "Negative height"
  pgsNegativeWidth = 22,  // "Negative width"
  pgsSourceIsTarget = 23,  // "Cannot apply this filter to a source that is identical to..."
  pgsBit = 24,  // "bit"
  pgsImageFiles = 25,  // "Image files"
  pgsAllFiles = 26,  // "All files"
  pgsInvalidSizeOf = 27,  // "Invalid size of %S1"
  pgsWarning = 28,  // "Warning"
  pgsAborted = 29,  // "Operation aborted on user request"
  pgsNotSupportedSubformat = 30,  // "Not supported subformat"
  pgsFailed = 31,  // "%S1 failed"
  pgsUnexpectedEndOfFile = 32,  // "Unexpected end of file"
  pgsUnknownSubformat = 33,  // "Unknown subformat"
  pgsNotAFile = 34,  // "Not a %S1 file"
  pgsZeroSize = 35,  // "Width = 0 or Height = 0"
  pgsInvalidColorResolution = 36,  // "Invalid color resolution"
  pgsUnsupportedFieldType = 37,  // "Unsupported field type %S1"
  pgsInvalidRowByteCount = 38,  // "Invalid count of bytes in row %S1"
  pgsUnsupportedCompression = 39,  // "Unsupported Compression"
  pgsSaturationZeroAndHue = 40,  // "Saturation=0 and Hue defined"
  pgsOutOfRange = 41,  // "%S1 out of range"
  pgsOK = 42,  // "OK"
  pgsCancel = 43,  // "Cancel"
  pgsRGBFilter = 44,  // "RGB Filter"
  pgsR = 45,  // "R"
  pgsG = 46,  // "G"
  pgsB = 47,  // "B"
  pgsCMYFilter = 48,  // "CMY Filter"
  pgsC = 49,  // "C"
  pgsM = 50,  // "M"
  pgsYellow = 51,  // "Y"
  pgsYCbCrFilter = 52,  // "YCbCr Filter"
  pgsLuma = 53,  // "Y"
  pgsCb = 54,  // "Cb"
  pgsCr = 55,  // "Cr"
  pgsHLSFilter = 56,  // "HLS Filter"
  pgsH = 57,  // "H"
  pgsL = 58,  // "L"
  pgsS = 59,  // "S"
  pgsHSVFilter = 60,  // "HSV Filter"
  pgsV = 61,  // "V"
  pgsNegativeFilter = 62,  // "Negative Filter"
  pgsGamma = 63,  // "Gamma"
  pgsRGB = 64,  // "RGB"
  pgsGammaY = 65,  // "Y"
  pgsBrightness = 66,  // "Brightness"
  pgsContrast = 67,  // "Contrast"
  pgsApplyOn = 68,  // "Apply on"
  pgsBCGFilter = 69,  // "Brightness, Contrast, Gamma Filter"
  pgsGrayscaleFilter = 70,  // "Grayscale Filter"
  pgsRGBWeighting = 71,  // "RGB weighting"
  pgsStdDeviation = 72,  // "Std. deviation"
  pgsStrength = 73,  // "Strength"
  pgsSharpen = 74,  // "Sharpen"
  pgsDetail = 75,  // "Detail"
  pgsSmooth = 76,  // "Smooth"
  pgsRadius = 77,  // "Radius"
  pgsBlur = 78,  // "Blur"
  pgsContour = 79,  // "Contour"
  pgsWhite = 80,  // "White"
  pgsBlack = 81,  // "Black"
  pgsPlusMinus = 82,  // "\xB1"
  pgsDegree = 83,  // "\xB0"
  pgsSpare = 84,
};
constexpr int PGLangStrCount = 85;
extern const TPGLangStrEntry PGLangStrEntries[PGLangStrCount];

// Set to English by the library set-up; nothing changes it.
extern TPGLanguage PGLanguage;

std::string PGLangStr(int Id);
std::string PGLangStrS1(int Id, const std::string& S1);
std::string PGLangStrS2(int Id, const std::string& S1, const std::string& S2);
std::string PGLangStrS3(int Id, const std::string& S1, const std::string& S2, const std::string& S3);

// Raises EPixelGraphic when a row's id is not its position.
void CheckPGLangStrOrder(const TPGLangStrEntry* Entries, int Count);
