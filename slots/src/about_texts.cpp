#include "slots/about_texts.h"

#include "vcl/sysutils.h"

std::string AboutResolutionText(int BitsPerPixel, int Width, int Height) {
  return Format("%d bits, %d x %d", {BitsPerPixel, Width, Height});
}

std::string AboutWarningText(int BitsPerPixel) {
  return BitsPerPixel > 15 ? "Perfect! You're running this program in an optimal grafical environment."
                           : "Remember: this program looks and works best in at least 16 bit colors !";
}
