// TTimer over the USER layer's thread timers: the timer's id leads back to the component.
#include "vcl/timers.h"

#include <map>

#include "vcl/forms.h"

namespace {

// Timers fire on the thread that set them, so each thread keeps its own table.
thread_local std::map<UINT_PTR, TTimer*> timers;

}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {}

TTimer::~TTimer() {
  enabled_ = false;
  UpdateTimer();
}

void TTimer::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned Value) {
  if (interval_ == Value) return;
  interval_ = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  onTimer_ = std::move(Value);
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (id_) {
    KillTimer(nullptr, id_);
    timers.erase(id_);
    id_ = 0;
  }
  if (!enabled_ || interval_ == 0 || !onTimer_) return;
  id_ = SetTimer(nullptr, 0, interval_, TimerProc);
  if (!id_) throw EOutOfResources("Not enough timers available");
  timers[id_] = this;
}

void TTimer::TimerProc(HWND, UINT, UINT_PTR Id, DWORD) {
  auto it = timers.find(Id);
  if (it == timers.end()) return;
  try {
    it->second->Timer();
  } catch (...) {
    Application->HandleException(it->second);
  }
}

void TTimer::Timer() {
  if (onTimer_) onTimer_(this);
}

const TClassInfo& TTimer::StaticClassInfo() {
  using C = TTimer;
  static const TClassInfo info("TTimer", &TComponent::StaticClassInfo(),
                               {OrdProperty<C>("Enabled", TypeInfo_Boolean, &C::Enabled, &C::SetEnabled, true),
                                OrdProperty<C>("Interval", TypeInfo_Integer, &C::Interval, &C::SetInterval, 1000),
                                EventProperty<C>("OnTimer", TypeInfo_TNotifyEvent, &C::SetOnTimer)},
                               {}, CreateComponent<TTimer>);
  return info;
}

[[maybe_unused]] static const bool timerClassRegistered = (RegisterClass(TTimer::StaticClassInfo()), true);
