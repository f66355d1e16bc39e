#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/display.h"

namespace host {
namespace {

std::atomic<bool> gDriven{false};

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool ForcedHeadless() { return Environment("STARTLOGO_DISPLAY") == "headless"; }

// The desktop named by the environment, as "DISPLAY=:0"; empty when none is.
std::string DesktopNamed() {
  if (ForcedHeadless()) return "";
  if (const std::string x = Environment("DISPLAY"); !x.empty()) return "DISPLAY=" + x;
  if (const std::string wayland = Environment("WAYLAND_DISPLAY"); !wayland.empty()) return "WAYLAND_DISPLAY=" + wayland;
  return "";
}

struct Chosen {
  std::unique_ptr<Display> display;
  std::string noDesktopReason;
};

Chosen& TheChosen() {
  static Chosen chosen = [] {
    Chosen c;
    const std::string named = DesktopNamed();
    if (!named.empty()) c.display = MakeSdlDisplay();
    if (c.display) return c;
    c.display = MakeHeadlessDisplay();
    if (ForcedHeadless()) c.noDesktopReason = "STARTLOGO_DISPLAY=headless";
    else if (named.empty())
      c.noDesktopReason = "DISPLAY and WAYLAND_DISPLAY are not set";
    else
      c.noDesktopReason = "the desktop at " + named + " could not be opened";
    return c;
  }();
  return chosen;
}

}  // namespace

Display& TheDisplay() { return *TheChosen().display; }

bool Unattended() { return !gDriven && std::strcmp(TheDisplay().Name(), "headless") == 0; }

void SetHeadlessDriven(bool driven) { gDriven = driven; }

std::string NoDesktopReason() { return TheChosen().noDesktopReason; }

}  // namespace host
