#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/display.h"
#include "x11_probe.h"

namespace host {
namespace {

std::atomic<bool> gDriven{false};

// How long an X server may take to answer before the program goes on without it.
constexpr std::chrono::seconds kDesktopPatience{3};

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

// Why the named desktop cannot be used, "" when it can.
std::string Unreachable(const std::string& named) {
  const std::string x = Environment("DISPLAY");
  if (x.empty() || named != "DISPLAY=" + x) return "";
  switch (ProbeXServer(x, kDesktopPatience)) {
    case XServerState::Answers: return "";
    case XServerState::Refuses: return "the desktop at " + named + " could not be opened";
    case XServerState::Silent:
      return "the desktop at " + named + " did not answer within " + std::to_string(kDesktopPatience.count()) + " s";
  }
  return "";
}

Chosen& TheChosen() {
  static Chosen chosen = [] {
    Chosen c;
    const std::string named = DesktopNamed();
    if (!named.empty()) c.noDesktopReason = Unreachable(named);
    if (!named.empty() && c.noDesktopReason.empty()) c.display = MakeSdlDisplay();
    if (c.display) return c;
    c.display = MakeHeadlessDisplay();
    if (ForcedHeadless()) c.noDesktopReason = "STARTLOGO_DISPLAY=headless";
    else if (named.empty())
      c.noDesktopReason = "DISPLAY and WAYLAND_DISPLAY are not set";
    else if (c.noDesktopReason.empty())
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
