#pragma once
// What the system's drop-down list and the class library's combo box list share: a pop-up that
// never takes the activation from the window it serves, below its control or above it when the
// screen has no room below.
#include "win32/user.h"

namespace dropdown {

// A framed pop-up above the other windows and out of the task list. Its procedure answers
// WM_MOUSEACTIVATE with MA_NOACTIVATE and it is shown with SW_SHOWNA, so the dialog or form keeps
// the activation and its control the keyboard.
constexpr DWORD kStyle = WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// The screen rectangle of a list `width` by `height` for the control at `anchor` (screen
// coordinates): below it, or above it when only there it fits on the work area; moved in from the
// work area's sides.
RECT Placement(const RECT& anchor, int width, int height);

}  // namespace dropdown
