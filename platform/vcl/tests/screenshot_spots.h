#pragma once
// Points of a screenshot and the colours expected there, for the desktop back end's tests.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "host/display.h"
#include "vcl/graphics.h"

// A colour as the X server's pixels hold it (0xRRGGBB).
inline std::uint32_t Rgb(TColor c) {
  COLORREF v = ColorToRGB(c);
  return (GetRValue(v) << 16) | (GetGValue(v) << 8) | GetBValue(v);
}

struct TSpot {
  int x, y;
  TColor colour;
  std::string what;
};

// One line for each spot whose pixel is not its colour; empty when all are.
inline std::string MismatchedSpots(const host::Image& shot, const std::vector<TSpot>& spots) {
  auto hex = [](std::uint32_t v) {
    char s[16];
    std::snprintf(s, sizeof s, "%06X", v);
    return std::string(s);
  };
  std::string faults;
  for (const TSpot& s : spots) {
    const bool inside = s.x >= 0 && s.y >= 0 && s.x < shot.width && s.y < shot.height;
    if (inside && shot.At(s.x, s.y) == Rgb(s.colour)) continue;
    faults += s.what + " at " + std::to_string(s.x) + "," + std::to_string(s.y) + " is " +
              (inside ? hex(shot.At(s.x, s.y)) : "outside the picture") + ", not " + hex(Rgb(s.colour)) + "\n";
  }
  return faults;
}
