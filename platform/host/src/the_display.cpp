#include <cstdlib>
#include <cstring>

#include "host/display.h"

namespace host {
namespace {

bool ForcedHeadless() {
  const char* forced = std::getenv("STARTLOGO_DISPLAY");
  return forced && std::strcmp(forced, "headless") == 0;
}

bool HasDesktop() {
  if (ForcedHeadless()) return false;
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wayland && *wayland);
}

}  // namespace

Display& TheDisplay() {
  static std::unique_ptr<Display> display = [] {
    std::unique_ptr<Display> d;
    if (HasDesktop()) d = MakeSdlDisplay();
    if (!d) d = MakeHeadlessDisplay();
    return d;
  }();
  return *display;
}

bool Unattended() { return !ForcedHeadless() && std::strcmp(TheDisplay().Name(), "headless") == 0; }

}  // namespace host
