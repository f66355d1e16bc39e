#pragma once
#include "host/display.h"

// The X server's own pixels of a screen area (0xRRGGBB); empty when the display cannot be opened.
host::Image XScreenShot(int x, int y, int width, int height);
