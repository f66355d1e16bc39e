#pragma once
// What SDL has no call for, told to the window manager as X window properties through SDL's
// window information. On other video drivers these do nothing (and report it).
#include <SDL.h>

#include <vector>

#include "host/display.h"

namespace host {

// Before the window is first shown: the actions it allows (moving and closing, minimising when
// the surface may be minimised; never resizing or maximising) and, for a modal one, its state.
void SetAllowedActions(SDL_Window* window, const SurfaceDesc& desc);
// The icons in all their sizes; false when the window is no X window.
bool SetIconProperty(SDL_Window* window, const std::vector<Image>& icons);
// Before the window is first shown: the window manager is to put the window's own pixels where
// they are asked for and its frame around them (static gravity), when it maps the window and
// whenever it is moved. Without this the frame goes where the window was asked to be, and a
// window placed where it was last seen comes back lower by the frame's height.
void KeepWhereAsked(SDL_Window* window);
// Puts the window's pixels at a screen point with a size it keeps, its frame around them; false
// when the window is no X window. SDL's own calls are not used for this: they move the window by
// the frame from where SDL last saw it.
bool PlaceWhereAsked(SDL_Window* window, int x, int y, int width, int height);
// The X bell; false when the window is no X window.
bool RingBell(SDL_Window* window);
// Whether the X keyboard focus is on one of the windows (or inside one); true when they are no X
// windows, as nothing can tell otherwise there.
bool KeyboardFocusAmong(const std::vector<SDL_Window*>& windows);
// From now on a lost X connection (the server ended, the user logged out) ends the process at
// once with kDesktopLostStatus and one line on standard error. Xlib's own handler calls exit(),
// whose destructors then wait on the dead connection for ever.
void EndWhenDesktopLost();

}  // namespace host
