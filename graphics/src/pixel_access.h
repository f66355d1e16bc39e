#pragma once
// Reads source colours as red, green and blue: the bytes of 24-bit images, the palette entry of
// palette images.
#include "graphics/palettes.h"

class TSourcePixels {
 public:
  explicit TSourcePixels(TPixelGraphic& image) : image_(image), trueColor_(image.GetBitCount() == pgbc24) {}

  void Read(int X, int Y, int& R, int& G, int& B) {
    if (trueColor_) {
      const std::uint8_t* p = image_.ScanLine(Y) + 3 * X;
      B = p[0], G = p[1], R = p[2];
      return;
    }
    TColor c = image_.GetPixelColor(X, Y);
    R = RedOf(c), G = GreenOf(c), B = BlueOf(c);
  }

 private:
  TPixelGraphic& image_;
  bool trueColor_;
};
