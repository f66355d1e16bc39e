#pragma once
// What the composer window's controls hold for the composition and the save, named after those
// controls and starting at their design values; the window writes it before each call.
#include <string>

#include "composer/text_style.h"
#include "vcl/graphics.h"

enum TBackgroundKind { bkSingle = 0, bkDegraded = 1, bkBitmap = 2 };

struct TLogoState {
  std::string laJokeFile;  // full path of the chosen joke file, or empty
  std::string edFirst = "This is the default question";
  std::string edLast = "This is the default answer";

  int rgBackground = bkSingle;
  TColor cbSingleColor = clBlue;
  TColor cbFromColor = clBlue;
  TColor cbToColor = clBlack;
  std::string btBitmap;  // full path of the background picture, or empty
  bool cbTiled = false;

  TTextStyle
      First;  // FirstFont, seFirst, cbFirstBold, cbFirstItalic, FirstFontColor, rgFirstEffect, cbFirstShadowColor
  TTextStyle Last{"Arial", 16, false, false, clRed, teNothing, clBlack};

  int seAnimation = 4;  // colours of the bar, 4..32
  int seSections = 4;  // sections of the bar, 4..64
  TColor StartColor = clBlue;
  TColor EndColor = clNavy;
};
