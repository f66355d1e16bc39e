#include "ticks.h"

#include <atomic>

namespace ticks {
namespace {

// Worker threads read the clock too; zero means the machine's clock.
std::atomic<Clock::rep> gDrivenSinceEpoch{0};

}  // namespace

Clock::time_point Now() {
  const Clock::rep driven = gDrivenSinceEpoch.load();
  return driven ? Clock::time_point(Clock::duration(driven)) : Clock::now();
}

bool Driven() { return gDrivenSinceEpoch.load() != 0; }

void Drive() { gDrivenSinceEpoch.store(Clock::now().time_since_epoch().count()); }

void Advance(Clock::duration by) { gDrivenSinceEpoch.fetch_add(by.count()); }

void Release() { gDrivenSinceEpoch.store(0); }

}  // namespace ticks
