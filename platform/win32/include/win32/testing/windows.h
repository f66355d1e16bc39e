#pragma once
// Test aids for the USER layer: a window's pixels, and input given to the display as the user's.
#include <cstdint>

#include "host/display.h"
#include "win32/user.h"

// The pixels of a window's top-level surface (the whole window, frame included), 0x00RRGGBB.
host::Image CaptureWindow(HWND window);
// The pixels of its client area alone, for a child window too.
host::Image CaptureClient(HWND window);
// An icon drawn alone over the face colour of dialogs (COLOR_BTNFACE) in the screen's format, to
// compare with what a window shows.
host::Image IconOverButtonFace(HICON icon);

// The display surface a window's top-level window shows on (0 while it shows on none).
host::SurfaceId DisplaySurfaceOf(HWND window);

// Input at a screen position, read by the thread's next PeekMessage/GetMessage.
void InjectMouseMove(int screenX, int screenY);
// button: host::InputEvent::Left, Middle or Right.
void InjectMouseButton(int button, bool down, int screenX, int screenY);
// Notches of the wheel, positive away from the user, with the pointer at a screen position.
void InjectWheel(int notches, int screenX, int screenY);
void InjectKey(int virtualKey, bool down);
void InjectClose(HWND topLevel);
// The desktop gave the keyboard of the window to another program.
void InjectFocusToOtherProgram(HWND topLevel);
// Handles everything waiting in the thread's queue (sent, posted, input, paint; timers that are due).
void PumpMessages();
