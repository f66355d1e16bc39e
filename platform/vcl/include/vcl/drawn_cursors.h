#pragma once
// Cursors drawn by code, for the libraries' own pointers: a 32 x 32 shape in black with a white
// rim one pixel wide, the rest of the square leaving the screen as it is.
#include "win32/types.h"

// Which pixels of the 32 x 32 square the shape covers.
using TCursorPixels = bool (*)(int x, int y);

HCURSOR CreateRimmedCursor(TCursorPixels Shape, int HotX, int HotY);
