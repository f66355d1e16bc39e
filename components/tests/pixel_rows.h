#pragma once
// Small pictures as rows of characters, one a colour, for tables of expected pixels.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "vcl/graphics_images.h"

// '.' is the background the picture starts with (lime, which nothing of ours draws).
inline const std::map<char, TColor>& PixelNames() {
  // Colours that the classic scheme shares go by one name: black is 'k' (button text, window
  // frame), silver 'f' (button face), white 'h' (highlight), grey 's' (shadow).
  static const std::map<char, TColor> names = {{'.', clLime},  {'s', clBtnShadow}, {'h', clBtnHighlight},
                                               {'k', clBlack}, {'f', clBtnFace},   {'r', clRed},
                                               {'b', clBlue},  {'y', clYellow},    {'n', clNavy}};
  return names;
}

inline std::unique_ptr<TBitmap> Background(int w, int h) {
  auto b = std::make_unique<TBitmap>();
  b->SetPixelFormat(pf24bit);
  b->SetWidth(w);
  b->SetHeight(h);
  b->Canvas()->Brush()->SetColor(clLime);
  b->Canvas()->FillRect({0, 0, w, h});
  return b;
}

// Each pixel as the first name whose colour it has, '?' for none.
inline std::vector<std::string> Rows(TCanvas* Canvas, int X, int Y, int W, int H) {
  std::vector<std::string> rows;
  for (int y = Y; y < Y + H; ++y) {
    std::string row;
    for (int x = X; x < X + W; ++x) {
      const COLORREF c = ColorToRGB(Canvas->Pixels(x, y));
      char name = '?';
      for (const auto& [ch, colour] : PixelNames())
        if (ColorToRGB(colour) == c) {
          name = ch;
          break;
        }
      row += name;
    }
    rows.push_back(row);
  }
  return rows;
}
