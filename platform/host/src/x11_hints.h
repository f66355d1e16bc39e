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

}  // namespace host
