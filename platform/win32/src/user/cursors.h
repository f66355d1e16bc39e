#pragma once
#include "window.h"

namespace user {

// The default cursor handling of WM_SETCURSOR.
LRESULT DefaultSetCursor(HWND window, WPARAM cursorWindow, LPARAM hitAndMessage);

}  // namespace user
