#pragma once
// TTimerEx: a timer component that calls OnTimer every Interval milliseconds, either from a
// worker thread (Threaded, the default) or from a window timer on a hidden window. The worker
// waits on a condition variable for the timer to become active and for each interval, so
// changing, stopping and freeing the timer take effect at once. Without ThreadSafe the event runs
// on the main thread through Synchronize; with it, in the worker. Intervals below 10 ms tick
// every 10 ms. An exception from OnTimer goes to the application's handler and the timer goes on.
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "vcl/components.h"
#include "vcl/messages.h"
#include "vcl/threads.h"

class TTimerEx;

class TTimerThread : public TThread {
 public:
  // Made suspended; the timer resumes it once it is set up.
  explicit TTimerThread(TTimerEx* Timer) : TThread(true), timer_(Timer) {}
  ~TTimerThread() override;
  // Ends the worker: a tick already under way no longer fires.
  void Stop();

 protected:
  void Execute() override;

 private:
  void Fire();

  TTimerEx* timer_;
  std::atomic<bool> stop_{false};
};

class TTimerEx : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TTimerEx(TComponent* AOwner);
  ~TTimerEx() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned Value);
  bool Threaded() const { return threaded_; }
  void SetThreaded(bool Value);
  TThreadPriority ThreadPriority() const { return priority_; }
  void SetThreadPriority(TThreadPriority Value);
  bool ThreadSafe() const { return threadSafe_; }
  void SetThreadSafe(bool Value) { threadSafe_ = Value; }
  TNotifyEvent OnTimer() const;
  void SetOnTimer(TNotifyEvent Value);

  // The worker thread and the hidden window, each present only in its mode.
  TTimerThread* Thread() const { return thread_; }
  HWND WindowHandle() const { return window_; }
  // Enabled, a non-zero Interval and an OnTimer: the timer ticks.
  bool Active() const;

 protected:
  // Calls OnTimer when Enabled and assigned.
  virtual void FireTimer();

 private:
  friend class TTimerThread;
  void UpdateTimer();
  void StopThread();
  void WindowMethod(TMessage& Message);
  // FireTimer with an exception handed to the application.
  void FireGuarded();

  std::atomic<bool> enabled_{true};
  std::atomic<unsigned> interval_{1000};
  bool threaded_ = true;
  std::atomic<TThreadPriority> priority_{tpNormal};
  std::atomic<bool> threadSafe_{false};
  TNotifyEvent onTimer_;
  mutable std::mutex mutex_;  // onTimer_ against the worker's copy, and the worker's waits
  std::condition_variable changed_;
  unsigned generation_ = 0;  // every update restarts the worker's wait
  TTimerThread* thread_ = nullptr;
  HWND window_ = nullptr;
};
