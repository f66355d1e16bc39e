#pragma once
// The machine's monotonic clock, which GetTickCount, timers, waits and the double-click count
// read. A test may drive it instead (win32/testing/driven_clock.h): time then passes only when the
// test says so.
#include <chrono>

namespace ticks {

using Clock = std::chrono::steady_clock;

Clock::time_point Now();
bool Driven();

// For the driven clock: start it at the machine's now, move it on, or give the machine's back.
void Drive();
void Advance(Clock::duration by);
void Release();

}  // namespace ticks
