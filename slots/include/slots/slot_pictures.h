#pragma once
// Corvane's own pictures, drawn in code and stored as GIF files by the build (the generator
// corvane-pictures) for the forms' data: the three header animations, the three backup badges,
// the 427 x 400 About picture and the button glyphs (two states side by side).
#include <cstdint>
#include <string>
#include <vector>

struct TSlotPicture {
  std::string Name;  // the file name, "about.gif"
  int Width = 0, Height = 0, Frames = 0;
  std::vector<std::uint8_t> Gif;
  // The button glyphs also as 8-bit bitmap files (the buttons' Glyph.Data); empty for the others.
  std::vector<std::uint8_t> Bmp;
};

std::vector<TSlotPicture> CorvanePictures();
