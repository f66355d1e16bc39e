#include <cstdlib>
#include <cstring>

#include "host/display.h"

namespace host {
namespace {

bool HasDesktop() {
  const char* forced = std::getenv("STARTLOGO_DISPLAY");
  if (forced && std::strcmp(forced, "headless") == 0) return false;
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

}  // namespace host
