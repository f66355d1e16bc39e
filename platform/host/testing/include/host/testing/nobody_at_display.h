#pragma once
// For a death test's child: the display as a program started with nobody at it finds it, with no
// desktop in the environment (or headless forced by STARTLOGO_DISPLAY=headless) and no test
// driving it.
#include <cstdlib>

#include "host/display.h"

inline void NobodyAtTheDisplay(bool forcedHeadless) {
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  if (forcedHeadless) ::setenv("STARTLOGO_DISPLAY", "headless", 1);
  else
    ::unsetenv("STARTLOGO_DISPLAY");
  host::SetHeadlessDriven(false);
}
