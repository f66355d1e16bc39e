#pragma once
#include "window.h"

namespace user {

// A WM_PAINT for a window of the current thread that needs painting (parents first).
bool NextPaintMessage(HWND filter, MSG& out);
// Shows on the display what the current thread's top-level windows drew since last time.
void PresentDrawnWindows();
// Region to invalidate in client coordinates; children follow as RedrawWindow's flags say.
void Invalidate(HWND window, const gdi::Region& region, bool erase, bool withChildren);
// A window appeared, moved or went away: what it covers and what it uncovered is repainted.
void RepaintArea(HWND parent, const RECT& areaInParentClient);
// A top-level window's surface at its current size (kept pixels where they overlap).
void SizeSurface(Window& topLevel);
// Draws the frame and caption of a window in its whole-window DC.
void PaintFrame(HWND window);
// Draws the window's shown scroll bars (and the corner between two) into its whole-window DC.
void PaintScrollBars(HWND window, HDC windowDC);
// The default procedure's press on a bar (HTHSCROLL / HTVSCROLL at a screen point).
void StartScrollBarTracking(HWND window, LRESULT hit, POINT screen);
// While a bar is tracked, the mouse and the repeat timer of its window go to the tracking; true
// when the message was taken.
bool ScrollBarTrackingMessage(const MSG& msg);
// Fills the update area of a client DC with the class background brush; false without one.
bool EraseBackground(HWND window, HDC dc);

}  // namespace user

namespace user {

// Opens, shows, hides and places the display surface of a top-level window as its state says.
void SyncDisplaySurface(Window& topLevel);
// The desktop put the top-level window's surface at a screen point (the user or the window
// manager moved it): the window follows, as a move with SetWindowPos.
void FollowDisplayMove(host::SurfaceId surface, POINT at);
// Gives the display the icons the top-level window shows on the desktop.
void GiveIconsToDisplay(const Window& topLevel);

}  // namespace user
