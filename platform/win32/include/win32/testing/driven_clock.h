#pragma once
// A clock the test drives: while one lives, GetTickCount, timers, waits and double clicks go by it,
// and time passes only by Advance, so a test of a timer or a double click never depends on how
// busy the machine is.
class DrivenClock {
 public:
  DrivenClock();
  ~DrivenClock();
  DrivenClock(const DrivenClock&) = delete;
  DrivenClock& operator=(const DrivenClock&) = delete;

  // Moves time on and wakes every waiting message queue, so the timers now due fire.
  void Advance(unsigned milliseconds);
};
