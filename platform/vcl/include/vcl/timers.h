#pragma once
// TTimer: OnTimer every Interval milliseconds while Enabled, on the thread that made the timer,
// from its message loop.
#include "vcl/components.h"
#include "win32/user.h"

class TTimer : public TComponent {
 public:
  VCL_CLASS_INFO
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  // Enabling (again) starts a full interval.
  void SetEnabled(bool Value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned Value);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent Value);

 protected:
  virtual void Timer();

 private:
  static void TimerProc(HWND Window, UINT Msg, UINT_PTR Id, DWORD Time);
  void UpdateTimer();

  bool enabled_ = true;
  unsigned interval_ = 1000;
  TNotifyEvent onTimer_;
  UINT_PTR id_ = 0;
};
