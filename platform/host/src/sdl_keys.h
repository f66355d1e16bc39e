#pragma once
#include <SDL.h>

namespace host {

// The PC virtual-key number of an SDL key, 0 for keys without one.
int VirtualKeyOf(SDL_Keycode key);

}  // namespace host
