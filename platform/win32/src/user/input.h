#pragma once
#include "window.h"

namespace user {

// Reads the display's input and turns it into messages for the windows under the mouse, with the
// capture or with the keyboard focus.
void PumpInput();
// An input message was read: GetKeyState now answers as of it.
void NoteInputRead(const MSG& msg);
// A window is going away: the focus, activation and capture it holds are given up.
void ForgetInputWindow(HWND window);
// The window under a screen point, with hit testing through WM_NCHITTEST; `hit` gets the result.
HWND WindowAt(POINT screen, LRESULT* hit, bool skipDisabled);
// The top-level window shown on the display as `surface`.
HWND TopLevelOfSurface(host::SurfaceId surface);
// The default WM_ACTIVATE: focus to the window unless it already holds it.
void DefaultActivate(HWND window, WPARAM state);
// SetActiveWindow; `raiseOnDesktop` false when the desktop activated the window itself.
HWND Activate(HWND window, bool raiseOnDesktop);
// Activation moves on when a top-level window is hidden or destroyed.
void ActivateAnotherThan(HWND window);

}  // namespace user
