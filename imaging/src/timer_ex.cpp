#include "imaging/timer_ex.h"

#include <algorithm>
#include <chrono>

#include "vcl/forms.h"
#include "vcl/utilwindow.h"
#include "win32/user.h"

namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr unsigned kShortestInterval = 10;  // as the system's window timers

void HandToApplication(TObject* Sender) {
  if (Application) Application->HandleException(Sender);
}

}  // namespace

// ---- Worker ----------------------------------------------------------------------------------

TTimerThread::~TTimerThread() {
  Stop();
  if (!Suspended()) WaitFor();
}

void TTimerThread::Stop() {
  {
    std::lock_guard lock(timer_->mutex_);
    stop_ = true;
  }
  timer_->changed_.notify_all();
}

// Ticks keep their cadence from the last (re)start: the time the main thread takes to run one does
// not push the next one back. A change of the timer starts a full interval afresh.
void TTimerThread::Execute() {
  using Clock = std::chrono::steady_clock;
  SetPriority(timer_->ThreadPriority());
  const auto interval = [this] {
    return std::chrono::milliseconds(std::max(timer_->interval_.load(), kShortestInterval));
  };
  std::unique_lock lock(timer_->mutex_);
  unsigned generation = timer_->generation_ - 1;  // differs: the first round starts an interval
  Clock::time_point deadline;
  while (!stop_) {
    timer_->changed_.wait(lock, [this] { return stop_ || timer_->Active(); });
    if (stop_) break;
    if (generation != timer_->generation_) {
      generation = timer_->generation_;
      deadline = Clock::now() + interval();
    }
    if (timer_->changed_.wait_until(lock, deadline, [&] { return stop_ || timer_->generation_ != generation; }))
      continue;
    lock.unlock();
    Fire();
    lock.lock();
    deadline += interval();
    if (deadline <= Clock::now()) deadline = Clock::now() + interval();  // fell behind: no burst of ticks
  }
}

void TTimerThread::Fire() {
  if (stop_) return;
  if (timer_->threadSafe_) {
    try {
      timer_->FireTimer();  // a descendant's own, too
    } catch (...) {
      std::exception_ptr error = std::current_exception();
      Synchronize([this, error] {
        if (stop_) return;
        try {
          std::rethrow_exception(error);
        } catch (...) {
          HandToApplication(timer_);
        }
      });
    }
    return;
  }
  // The stop flag is read again on the main thread: the timer may be on its way out by then.
  Synchronize([this] {
    if (!stop_) timer_->FireGuarded();
  });
}

// ---- Timer -----------------------------------------------------------------------------------

TTimerEx::TTimerEx(TComponent* AOwner) : TComponent(AOwner) {
  thread_ = new TTimerThread(this);
  thread_->Resume();
}

TTimerEx::~TTimerEx() {
  enabled_ = false;
  UpdateTimer();
  StopThread();
  if (window_) DeallocateHWnd(window_);
  window_ = nullptr;
}

void TTimerEx::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  UpdateTimer();
}

void TTimerEx::SetInterval(unsigned Value) {
  if (interval_ == Value) return;
  interval_ = Value;
  UpdateTimer();
}

void TTimerEx::SetThreaded(bool Value) {
  if (threaded_ == Value) return;
  threaded_ = Value;
  UpdateTimer();
}

void TTimerEx::SetThreadPriority(TThreadPriority Value) {
  if (priority_ == Value) return;
  priority_ = Value;
  if (threaded_) UpdateTimer();
}

TNotifyEvent TTimerEx::OnTimer() const {
  std::lock_guard lock(mutex_);
  return onTimer_;
}

void TTimerEx::SetOnTimer(TNotifyEvent Value) {
  {
    std::lock_guard lock(mutex_);
    onTimer_ = std::move(Value);
  }
  UpdateTimer();
}

bool TTimerEx::Active() const { return enabled_ && interval_ > 0 && static_cast<bool>(onTimer_); }

void TTimerEx::FireTimer() {
  if (!enabled_) return;
  TNotifyEvent event = OnTimer();
  if (event) event(this);
}

void TTimerEx::FireGuarded() {
  try {
    FireTimer();
  } catch (...) {
    HandToApplication(this);
  }
}

void TTimerEx::StopThread() {
  if (!thread_) return;
  TTimerThread* thread = thread_;
  thread_ = nullptr;
  thread->Stop();
  thread->WaitFor();
  delete thread;
}

void TTimerEx::UpdateTimer() {
  if (window_) KillTimer(window_, kTimerId);
  if (threaded_) {
    if (window_) DeallocateHWnd(window_);
    window_ = nullptr;
    if (!thread_) {
      thread_ = new TTimerThread(this);
      thread_->Resume();
    }
  } else {
    StopThread();
    if (!window_) window_ = AllocateHWnd([this](TMessage& Message) { WindowMethod(Message); });
  }
  if (threaded_) {
    thread_->SetPriority(priority_);
    {
      std::lock_guard lock(mutex_);
      ++generation_;
    }
    changed_.notify_all();
    return;
  }
  bool active;
  {
    std::lock_guard lock(mutex_);
    active = Active();
  }
  if (!active) return;
  if (!SetTimer(window_, kTimerId, interval_, nullptr)) throw EOutOfResources("No More Timers Available");
}

void TTimerEx::WindowMethod(TMessage& Message) {
  if (Message.Msg == WM_TIMER) {
    FireGuarded();
    Message.Result = 0;
    return;
  }
  Message.Result = DefWindowProcA(window_, Message.Msg, Message.WParam, Message.LParam);
}

const TClassInfo& TTimerEx::StaticClassInfo() {
  using C = TTimerEx;
  static const TClassInfo info(
      "TTimerEx", &TComponent::StaticClassInfo(),
      {OrdProperty<C>("Enabled", TypeInfo_Boolean, &C::Enabled, &C::SetEnabled, true),
       OrdProperty<C>("Interval", TypeInfo_Integer, &C::Interval, &C::SetInterval, 1000),
       OrdProperty<C>("Threaded", TypeInfo_Boolean, &C::Threaded, &C::SetThreaded, true),
       OrdProperty<C>("ThreadPriority", TypeInfo_TThreadPriority, &C::ThreadPriority, &C::SetThreadPriority, tpNormal),
       OrdProperty<C>("ThreadSafe", TypeInfo_Boolean, &C::ThreadSafe, &C::SetThreadSafe, false),
       EventProperty<C>("OnTimer", TypeInfo_TNotifyEvent, &C::SetOnTimer)},
      {}, CreateComponent<TTimerEx>);
  return info;
}

[[maybe_unused]] static const bool timerExRegistered = (RegisterClass(TTimerEx::StaticClassInfo()), true);
