#include "graphics/messages.h"

#include "graphics/exceptions.h"
#include "vcl/sysutils.h"

TPGLanguage PGLanguage = pglEnglish;

// Only the English column is ever selected, so only it is filled.
const TPGLangStrEntry PGLangStrEntries[PGLangStrCount] = {
    {0, {""}},
    {1, {"X, Y index out of range"}},
    {2, {"No palette"}},
    {3, {"Invalid palette index"}},
    {4, {"Unknown clipboard format"}},
    {5, {"Invalid temporary file"}},
    {6, {"Unknown file format"}},
    {7, {"%S1 invalid"}},
    {8, {"black and white"}},
    {9, {"2 colors"}},
    {10, {"16 shades of gray"}},
    {11, {"16 system colors"}},
    {12, {"16 colors"}},
    {13, {"256 shades of gray"}},
    {14, {"256 colors"}},
    {15, {"16.7 million colors"}},
    {16, {"%S1 is empty"}},
    {17,
     {"The graphic cannot be saved to a %S1 file with the current color resolution (%S2).\r\rThe graphic will be "
      "saved with a different color resolution (%S3)."}},
    {18, {"The graphic cannot be saved with to a %S1 file with the current color resolution (%S2)"}},
    {19, {"Unknown file extension \"%S1\""}},
    {20, {"Invalid value for %S1"}},
    {21, {"Negative height"}},
    {22, {"Negative width"}},
    {23, {"Cannot apply this filter to a source that is identical to the target"}},
    {24, {"bit"}},
    {25, {"Image files"}},
    {26, {"All files"}},
    {27, {"Invalid size of %S1"}},
    {28, {"Warning"}},
    {29, {"Operation aborted on user request"}},
    {30, {"Not supported subformat"}},
    {31, {"%S1 failed"}},
    {32, {"Unexpected end of file"}},
    {33, {"Unknown subformat"}},
    {34, {"Not a %S1 file"}},
    {35, {"Width = 0 or Height = 0"}},
    {36, {"Invalid color resolution"}},
    {37, {"Unsupported field type %S1"}},
    {38, {"Invalid count of bytes in row %S1"}},
    {39, {"Unsupported Compression"}},
    {40, {"Saturation=0 and Hue defined"}},
    {41, {"%S1 out of range"}},
    {42, {"OK"}},
    {43, {"Cancel"}},
    {44, {"RGB Filter"}},
    {45, {"R"}},
    {46, {"G"}},
    {47, {"B"}},
    {48, {"CMY Filter"}},
    {49, {"C"}},
    {50, {"M"}},
    {51, {"Y"}},
    {52, {"YCbCr Filter"}},
    {53, {"Y"}},
    {54, {"Cb"}},
    {55, {"Cr"}},
    {56, {"HLS Filter"}},
    {57, {"H"}},
    {58, {"L"}},
    {59, {"S"}},
    {60, {"HSV Filter"}},
    {61, {"V"}},
    {62, {"Negative Filter"}},
    {63, {"Gamma"}},
    {64, {"RGB"}},
    {65, {"Y"}},
    {66, {"Brightness"}},
    {67, {"Contrast"}},
    {68, {"Apply on"}},
    {69, {"Brightness, Contrast, Gamma Filter"}},
    {70, {"Grayscale Filter"}},
    {71, {"RGB weighting"}},
    {72, {"Std. deviation"}},
    {73, {"Strength"}},
    {74, {"Sharpen"}},
    {75, {"Detail"}},
    {76, {"Smooth"}},
    {77, {"Radius"}},
    {78, {"Blur"}},
    {79, {"Contour"}},
    {80, {"White"}},
    {81, {"Black"}},
    {82, {"\xB1"}},  // plus-minus sign in the ANSI code page
    {83, {"\xB0"}},  // degree sign
    {84, {""}},
};

std::string PGLangStr(int Id) {
  if (Id < 0 || Id >= PGLangStrCount) return "";
  const char* text = PGLangStrEntries[Id].Texts[PGLanguage];
  return text ? text : "";
}

namespace {

std::string ReplaceFirst(std::string text, const char* placeholder, const std::string& value) {
  std::size_t at = text.find(placeholder);
  if (at != std::string::npos) text.replace(at, 3, value);
  return text;
}

}  // namespace

std::string PGLangStrS1(int Id, const std::string& S1) { return ReplaceFirst(PGLangStr(Id), "%S1", S1); }

std::string PGLangStrS2(int Id, const std::string& S1, const std::string& S2) {
  return ReplaceFirst(PGLangStrS1(Id, S1), "%S2", S2);
}

std::string PGLangStrS3(int Id, const std::string& S1, const std::string& S2, const std::string& S3) {
  return ReplaceFirst(PGLangStrS2(Id, S1, S2), "%S3", S3);
}

void CheckPGLangStrOrder(const TPGLangStrEntry* Entries, int Count) {
  for (int i = 0; i < Count; ++i)
    if (Entries[i].Id != i)
      throw EPixelGraphic("PGLangStrEntries order wrong " + IntToStr(i) + " and " + IntToStr(Entries[i].Id) +
                          " are not identical");
}
