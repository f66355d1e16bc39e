#pragma once
// The two logo texts: measured and drawn word-wrapped and centred in the box from column 20 to
// 620 that ends at row 380, so nothing reaches the animation bar.
#include <string>

#include "graphics/pixel_graphic.h"
#include "vcl/graphics.h"

enum TTextEffect { teNothing = 0, teShadow = 1, te3D = 2 };

struct TTextStyle {
  std::string FontName = "Arial";
  int Size = 24;
  bool Bold = false;
  bool Italic = false;
  TColor Color = clYellow;
  int Effect = teNothing;  // the effect radio group's item index
  TColor ShadowColor = clBlack;
};

int MeasureText(TPixelGraphic* Image, const TTextStyle& Style, const std::string& Text);
void DrawTextWithEffect(TPixelGraphic* Image, const TTextStyle& Style, int Top, const std::string& Text);
