#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "forms_fixture.h"
#include "vcl/timers.h"

namespace {

using Clock = std::chrono::steady_clock;

long Elapsed(Clock::time_point since) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count());
}

}  // namespace

TEST_F(FormsTest, TimerFiresWhileEnabledAndOnlyWithAHandler) {
  TTimer timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  timer.SetInterval(10);
  int ticks = 0;
  TObject* sender = nullptr;
  timer.SetOnTimer([&](TObject* s) {
    ++ticks;
    sender = s;
  });
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_EQ(sender, &timer);

  timer.SetEnabled(false);
  int stopped = ticks;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  Application->ProcessMessages();
  EXPECT_EQ(ticks, stopped);

  // An interval of 0 stops it as well.
  timer.SetEnabled(true);
  timer.SetInterval(0);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  Application->ProcessMessages();
  EXPECT_EQ(ticks, stopped);
}

TEST_F(FormsTest, ReenablingATimerRestartsItsInterval) {
  TTimer timer(nullptr);
  timer.SetInterval(80);
  Clock::time_point fired{};
  timer.SetOnTimer([&](TObject*) {
    if (fired == Clock::time_point{}) fired = Clock::now();
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  // Without the restart it would fire 20 ms from here.
  Clock::time_point restarted = Clock::now();
  timer.SetEnabled(false);
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return fired != Clock::time_point{}; }));
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(fired - restarted).count(), 79);
  // Changing the interval restarts it too.
  fired = {};
  Clock::time_point changed = Clock::now();
  timer.SetInterval(40);
  ASSERT_TRUE(PumpUntil([&] { return fired != Clock::time_point{}; }));
  EXPECT_GE(std::chrono::duration_cast<std::chrono::milliseconds>(fired - changed).count(), 39);
  EXPECT_LT(Elapsed(changed), 2000);
}

TEST_F(FormsTest, TimerFromAFormDescriptionProperty) {
  TTimer timer(nullptr);
  const TPropInfo* interval = GetPropInfo(timer, "Interval");
  ASSERT_NE(interval, nullptr);
  SetOrdProp(timer, *interval, 250);
  EXPECT_EQ(timer.Interval(), 250u);
  EXPECT_NE(GetClass("TTimer"), nullptr);
}
