#pragma once
#include "window.h"

namespace user {

// A DC over the window's part of its top-level surface: client area or whole window, clipped to
// what of the window shows, optionally to its children's absence and to `clip` (DC coordinates).
HDC MakeWindowDC(HWND window, bool wholeWindow, bool clipChildren, const gdi::Region* clip);

}  // namespace user
