#pragma once
// What the About box says of the screen, read once when it is created.
#include <string>

// "%d bits, %d x %d" of the bits per pixel and the resolution.
std::string AboutResolutionText(int BitsPerPixel, int Width, int Height);
// The praise for more than 15 bits per pixel, else the advice to use at least 16.
std::string AboutWarningText(int BitsPerPixel);
