#include "win32/testing/driven_clock.h"

#include "kernel/ticks.h"
#include "queue.h"

DrivenClock::DrivenClock() { ticks::Drive(); }

DrivenClock::~DrivenClock() {
  ticks::Release();
  user::WakeAllQueues();
}

void DrivenClock::Advance(unsigned milliseconds) {
  ticks::Advance(std::chrono::milliseconds(milliseconds));
  user::WakeAllQueues();
}
