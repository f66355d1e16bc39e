// The threaded timer: its two modes, the ticks' rate and thread, prompt stopping and freeing, and
// exceptions from the event.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>

#include "imaging/timer_ex.h"
#include "window_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

class TimerExTest : public WindowTest {};

TEST_F(TimerExTest, StartsThreadedAndSwitchesBetweenThreadAndWindow) {
  TTimerEx timer(nullptr);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_TRUE(timer.Threaded());
  EXPECT_EQ(timer.ThreadPriority(), tpNormal);
  EXPECT_NE(timer.Thread(), nullptr);
  EXPECT_EQ(timer.WindowHandle(), nullptr);
  timer.SetThreaded(false);
  EXPECT_EQ(timer.Thread(), nullptr);
  EXPECT_NE(timer.WindowHandle(), nullptr);
  timer.SetThreadPriority(tpHigher);  // stored only while not threaded
  EXPECT_EQ(timer.Thread(), nullptr);
  timer.SetThreaded(true);
  EXPECT_NE(timer.Thread(), nullptr);
  EXPECT_EQ(timer.WindowHandle(), nullptr);
  EXPECT_EQ(timer.Thread()->Priority(), tpHigher);
}

TEST_F(TimerExTest, NothingTicksWithoutIntervalEnabledOrEvent) {
  for (bool threaded : {true, false}) {
    TTimerEx timer(nullptr);
    timer.SetThreaded(threaded);
    int ticks = 0;
    timer.SetInterval(0);
    timer.SetOnTimer([&](TObject*) { ++ticks; });
    PumpFor(80);
    timer.SetInterval(10);
    timer.SetEnabled(false);
    PumpFor(80);
    EXPECT_EQ(ticks, 0) << threaded;
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; })) << threaded;
  }
}

TEST_F(TimerExTest, ThreadedTicksRunOnTheMainThreadAtTheirRate) {
  TTimerEx timer(nullptr);
  timer.SetInterval(50);
  std::atomic<int> ticks{0};
  std::atomic<bool> otherThread{false};
  const auto main = std::this_thread::get_id();
  timer.SetOnTimer([&](TObject* sender) {
    EXPECT_EQ(sender, &timer);
    if (std::this_thread::get_id() != main) otherThread = true;
    ++ticks;
  });
  PumpFor(1000);
  timer.SetEnabled(false);
  EXPECT_GE(ticks, 18);
  EXPECT_LE(ticks, 22);
  EXPECT_FALSE(otherThread);
}

TEST_F(TimerExTest, ThreadSafeTicksRunInTheWorker) {
  TTimerEx timer(nullptr);
  timer.SetThreadSafe(true);
  timer.SetInterval(10);
  std::atomic<int> ticks{0};
  std::atomic<bool> onMain{false};
  const auto main = std::this_thread::get_id();
  timer.SetOnTimer([&](TObject*) {
    if (std::this_thread::get_id() == main) onMain = true;
    ++ticks;
  });
  const auto end = Clock::now() + std::chrono::seconds(2);
  while (ticks < 3 && Clock::now() < end) std::this_thread::sleep_for(std::chrono::milliseconds(5));  // no pumping
  EXPECT_GE(ticks, 3);
  EXPECT_FALSE(onMain);
}

// A descendant's FireTimer is what every tick calls, in the worker as on the main thread.
TEST_F(TimerExTest, EveryTickGoesThroughFireTimer) {
  class CountingTimer : public TTimerEx {
   public:
    using TTimerEx::TTimerEx;
    std::atomic<int> fired{0};

   protected:
    void FireTimer() override {
      ++fired;
      TTimerEx::FireTimer();
    }
  };
  for (bool threadSafe : {false, true}) {
    CountingTimer timer(nullptr);
    timer.SetThreadSafe(threadSafe);
    timer.SetInterval(10);
    std::atomic<int> ticks{0};
    timer.SetOnTimer([&](TObject*) { ++ticks; });
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; })) << threadSafe;
    const int seen = ticks;
    EXPECT_GE(timer.fired, seen) << threadSafe;
    timer.SetThreaded(false);  // the worker ends before the descendant does
  }
}

TEST_F(TimerExTest, WindowTimerTicks) {
  TTimerEx timer(nullptr);
  timer.SetThreaded(false);
  timer.SetInterval(20);
  int ticks = 0;
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
}

TEST_F(TimerExTest, FreeingALongTimerIsPrompt) {
  auto timer = std::make_unique<TTimerEx>(nullptr);
  timer->SetInterval(10000);
  timer->SetOnTimer([](TObject*) {});
  PumpFor(20);
  const auto start = Clock::now();
  timer.reset();
  EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(50));
}

TEST_F(TimerExTest, ExceptionsGoToTheApplicationAndTheTimerGoesOn) {
  for (bool threaded : {true, false}) {
    for (bool threadSafe : {false, true}) {
      if (!threaded && threadSafe) continue;
      int handled = 0;
      std::string message;
      Application->OnException = [&](TObject*, Exception& e) {
        ++handled;
        message = e.Message;
      };
      TTimerEx timer(nullptr);
      timer.SetThreaded(threaded);
      timer.SetThreadSafe(threadSafe);
      timer.SetInterval(10);
      std::atomic<int> ticks{0};
      timer.SetOnTimer([&](TObject*) {
        ++ticks;
        throw Exception("tick failed");
      });
      EXPECT_TRUE(PumpUntil([&] { return handled >= 3; })) << threaded << threadSafe;
      EXPECT_EQ(message, "tick failed");
      timer.SetEnabled(false);
      Application->OnException = nullptr;
    }
  }
}

// Freed with ticks in flight, no event runs for a timer that is gone (the sanitizers watch).
TEST_F(TimerExTest, ThousandCreateAndFreeCyclesWithTicksInFlight) {
  auto ticks = std::make_shared<std::atomic<int>>(0);
  for (int i = 0; i < 1000; ++i) {
    auto timer = std::make_unique<TTimerEx>(nullptr);
    auto alive = std::make_shared<std::atomic<bool>>(true);
    timer->SetThreadSafe(i % 3 == 0);
    timer->SetInterval(1);
    timer->SetOnTimer([ticks, alive](TObject*) {
      EXPECT_TRUE(*alive);
      ++*ticks;
    });
    if (i % 10 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(11));
    if (i % 8 == 0) CheckSynchronize();
    timer.reset();
    *alive = false;
  }
  PumpFor(30);
  EXPECT_GT(*ticks, 0);
}

}  // namespace
