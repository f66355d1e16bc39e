// Linked into every test program: its tests give the headless display its input (injected events,
// the message-box hook), so windows and message boxes wait for them instead of answering alone.
#include "host/display.h"

namespace {

[[maybe_unused]] const bool kDriven = [] {
  host::SetHeadlessDriven(true);
  return true;
}();

}  // namespace
