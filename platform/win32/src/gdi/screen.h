#pragma once
// The screen: one process-wide memory surface, 32 bits unless STARTLOGO_SCREEN_BITS (1, 4, 8, 16,
// 24) lowers it; its size is STARTLOGO_SCREEN_SIZE=WxH, else the desktop's, else 1024x768. On a
// paletted screen the surface's colour table is the system palette.
#include <memory>

#include "surface.h"

namespace gdi {

std::shared_ptr<Surface> ScreenSurface();
int ScreenBits();
bool IsScreen(const Surface* s);
// The system palette (256 entries: the static colours at 0-9 and 246-255), also kept on a
// true-colour screen.
std::vector<RGBQUAD>& SystemPalette();

}  // namespace gdi
